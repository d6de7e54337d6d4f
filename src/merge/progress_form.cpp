#include "merge/progress_form.hpp"

#include "host/boundary_strings.hpp"

#include <stdexcept>

namespace orvdb::merge {

TProgressForm::TProgressForm(std::shared_ptr<host::ProgressReporter> reporter)
    : reporter_(std::move(reporter)) {
    if (!reporter_) {
        throw std::invalid_argument("a progress window needs the host's progress service");
    }
}

OrvHResult TProgressForm::Set_Max(uint8_t bar, int32_t maxValue) {
    return host::guarded([&] { reporter_->setMax(bar, maxValue); });
}

OrvHResult TProgressForm::Step(uint8_t bar) {
    return host::guarded([&] { reporter_->step(bar); });
}

OrvHResult TProgressForm::SetPosition(uint8_t bar, int32_t value) {
    return host::guarded([&] { reporter_->setPosition(bar, value); });
}

OrvHResult TProgressForm::Set_Message(uint8_t bar, OrvHostString message) {
    return host::guarded(
        [&] { reporter_->setMessage(bar, host::toUtf8(host::hostStringView(message))); });
}

OrvHResult TProgressForm::Set_Title(uint8_t bar, OrvHostString title) {
    return host::guarded(
        [&] { reporter_->setTitle(bar, host::toUtf8(host::hostStringView(title))); });
}

void TProgressForm::Show() {
    reporter_->show();
    shown_ = true;
}

void TProgressForm::Close() {
    if (shown_) {
        reporter_->finish();
        shown_ = false;
    }
}

}  // namespace orvdb::merge

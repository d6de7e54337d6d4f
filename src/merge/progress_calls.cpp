#include "merge/progress_calls.hpp"

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::merge {

using host::throwIfFailed;

void ProgressCalls::setMax(uint8_t bar, int32_t maxValue) const {
    if (form_) {
        throwIfFailed(form_->Set_Max(bar, maxValue), "IProgressForm.Set_Max");
    }
}

void ProgressCalls::step(uint8_t bar) const {
    if (form_) {
        throwIfFailed(form_->Step(bar), "IProgressForm.Step");
    }
}

void ProgressCalls::setPosition(uint8_t bar, int32_t value) const {
    if (form_) {
        throwIfFailed(form_->SetPosition(bar, value), "IProgressForm.SetPosition");
    }
}

void ProgressCalls::setMessage(uint8_t bar, std::string_view message) const {
    if (form_) {
        host::HostString text = host::HostString::fromUtf8(message);
        throwIfFailed(form_->Set_Message(bar, text.get()), "IProgressForm.Set_Message");
    }
}

void ProgressCalls::setTitle(uint8_t bar, std::string_view title) const {
    if (form_) {
        host::HostString text = host::HostString::fromUtf8(title);
        throwIfFailed(form_->Set_Title(bar, text.get()), "IProgressForm.Set_Title");
    }
}

}  // namespace orvdb::merge

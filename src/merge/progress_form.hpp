// TProgressForm: the merge's progress window as the host's IProgressForm,
// drawn by the host's progress service (a GTK window, the terminal, or
// nothing). Show before the run, Close after it.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <memory>

#include "host/interfaced_object.hpp"
#include "host/progress.hpp"

namespace orvdb::merge {

class TProgressForm : public host::TInterfacedObjectEx<IProgressForm> {
public:
    explicit TProgressForm(std::shared_ptr<host::ProgressReporter> reporter);

    OrvHResult Set_Max(uint8_t bar, int32_t maxValue) override;
    OrvHResult Step(uint8_t bar) override;
    OrvHResult SetPosition(uint8_t bar, int32_t value) override;
    OrvHResult Set_Message(uint8_t bar, OrvHostString message) override;
    OrvHResult Set_Title(uint8_t bar, OrvHostString title) override;

    void Show();
    void Close();

private:
    std::shared_ptr<host::ProgressReporter> reporter_;
    bool shown_ = false;
};

}  // namespace orvdb::merge

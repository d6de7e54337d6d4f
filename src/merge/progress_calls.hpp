// The merge's calls of its progress window: nothing happens when the run has
// no window; a failure status of the window raises.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <string_view>

namespace orvdb::merge {

class ProgressCalls {
public:
    explicit ProgressCalls(ComPtr<IProgressForm> form = {}) : form_(std::move(form)) {}

    bool present() const { return static_cast<bool>(form_); }
    void setMax(uint8_t bar, int32_t maxValue) const;
    void step(uint8_t bar) const;
    void setPosition(uint8_t bar, int32_t value) const;
    void setMessage(uint8_t bar, std::string_view message) const;
    void setTitle(uint8_t bar, std::string_view title) const;

private:
    ComPtr<IProgressForm> form_;
};

}  // namespace orvdb::merge

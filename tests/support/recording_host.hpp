// Host services that record what the driver hands the host.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/debug_output.hpp"
#include "host/dialogs.hpp"
#include "host/reporting.hpp"

namespace orvdb::test_support {

struct HostRecorder {
    std::vector<std::string> handedExceptions;
    std::vector<std::string> messages;
    std::vector<std::string> messageBoxes;
    std::vector<std::string> debugLines;
};

class RecordingExceptions : public host::ExceptionHandler {
public:
    explicit RecordingExceptions(std::shared_ptr<HostRecorder> recorder)
        : recorder_(std::move(recorder)) {}
    void handleException(const std::exception& error) override {
        recorder_->handedExceptions.emplace_back(error.what());
    }

private:
    std::shared_ptr<HostRecorder> recorder_;
};

class RecordingMessages : public host::MessageManager {
public:
    explicit RecordingMessages(std::shared_ptr<HostRecorder> recorder)
        : recorder_(std::move(recorder)) {}
    void showMessage(std::string_view text) override { recorder_->messages.emplace_back(text); }

private:
    std::shared_ptr<HostRecorder> recorder_;
};

class RecordingDialogs : public host::Dialogs {
public:
    explicit RecordingDialogs(std::shared_ptr<HostRecorder> recorder)
        : recorder_(std::move(recorder)) {}
    int messageBox(std::string_view text, std::string_view, int, int) override {
        recorder_->messageBoxes.emplace_back(text);
        return host::IDOK;
    }

private:
    std::shared_ptr<HostRecorder> recorder_;
};

// The debug channel, traces off, into the recorder for as long as it lives.
inline void recordDebugChannel(const std::shared_ptr<HostRecorder>& recorder) {
    std::weak_ptr<HostRecorder> weak = recorder;
    host::setDebugSink([weak](std::string_view text) {
        if (auto held = weak.lock()) {
            held->debugLines.emplace_back(text);
        }
    });
    host::setDebugTrace(false);
}

}  // namespace orvdb::test_support

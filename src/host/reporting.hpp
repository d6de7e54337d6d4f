// Reporting: the message manager (shows one text to the user) and the
// exception hand-off (HandleException), which may return; callers go on when
// it does.
#pragma once

#include <exception>
#include <string_view>

namespace orvdb::host {

class MessageManager {
public:
    virtual ~MessageManager() = default;
    virtual void showMessage(std::string_view text) = 0;
};

class ExceptionHandler {
public:
    virtual ~ExceptionHandler() = default;
    virtual void handleException(const std::exception& error) = 0;
};

// Defaults: one line on stderr ("orvdb: message: ..." / "orvdb: error: ...").
class LoggingMessageManager : public MessageManager {
public:
    void showMessage(std::string_view text) override;
};

class LoggingExceptionHandler : public ExceptionHandler {
public:
    void handleException(const std::exception& error) override;
};

// Through the installed services.
void showMessage(std::string_view text);
void HandleException(const std::exception& error);

}  // namespace orvdb::host

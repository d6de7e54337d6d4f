#include "host/reporting.hpp"

#include "host/host_log.hpp"
#include "host/host_services.hpp"

namespace orvdb::host {

void LoggingMessageManager::showMessage(std::string_view text) {
    logToStderr("message", text);
}

void LoggingExceptionHandler::handleException(const std::exception& error) {
    logToStderr("error", error.what());
}

void showMessage(std::string_view text) {
    messages()->showMessage(text);
}

void HandleException(const std::exception& error) {
    exceptionHandler()->handleException(error);
}

}  // namespace orvdb::host

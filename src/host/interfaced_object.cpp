#include "host/interfaced_object.hpp"

#include <cstdio>

namespace orvdb::host {

namespace {
thread_local std::string tlsLastError;
}

const std::string& lastErrorMessage() {
    return tlsLastError;
}

void setLastErrorMessage(std::string message) {
    tlsLastError = std::move(message);
}

void throwIfFailed(OrvHResult status, const char* operation) {
    if (ORV_SUCCEEDED(status)) {
        return;
    }
    std::string message = tlsLastError;
    if (message.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
        message = std::string(operation) + " failed with status " + code;
    }
    throw StatusError(status, message);
}

}  // namespace orvdb::host

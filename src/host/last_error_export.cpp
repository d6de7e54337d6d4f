// The IErrorInfo-like hand-over of the message behind a failure status.
#include <orvdb/strings.h>

#include <string>

#include "host/interfaced_object.hpp"
#include "host/utf16.hpp"

OrvBstr OrvGetLastErrorMessage(void) {
    try {
        const std::string& message = orvdb::host::lastErrorMessage();
        if (message.empty()) {
            return nullptr;
        }
        const std::u16string units = orvdb::host::toUtf16(message);
        return OrvBstrAlloc(units.data(), static_cast<uint32_t>(units.size()));
    } catch (...) {
        return nullptr;
    }
}

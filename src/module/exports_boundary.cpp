#include "module/exports_boundary.hpp"

#include "host/boundary_strings.hpp"

namespace orvdb::module {

OrvHResult exportFailed(const char* exportName, std::exception_ptr error) noexcept {
    OrvHResult status = ORV_E_FAIL;
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const host::StatusError& e) {
        status = e.status();
        message = e.what();
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "unknown exception";
    }
    try {
        host::setLastErrorMessage(std::string(exportName) + ": " + message);
    } catch (...) {
        // Out of memory for the message: the status still tells.
    }
    return status;
}

void assignResult(OrvHostString* variable, std::u16string_view text) {
    if (!variable) {
        return;
    }
    *variable = nullptr;
    *variable = host::HostString(text).release();
}

}  // namespace orvdb::module

// What every exported function does at the C boundary: no exception leaves
// it, a failure becomes a status plus the last error message, and the C views
// of the interfaces turn into the C++ ones.
#pragma once

#include <orvdb/exports.h>
#include <orvdb/interfaces.hpp>

#include <exception>
#include <string>
#include <utility>

#include "host/interfaced_object.hpp"

namespace orvdb::module {

// Keeps "<export>: <message>" for OrvGetLastErrorMessage and gives the status
// the export returns: the one a StatusError carries, ORV_E_FAIL otherwise.
OrvHResult exportFailed(const char* exportName, std::exception_ptr error) noexcept;

// Runs the body of an export that returns a status. A body that succeeds
// clears the last error message, which failures the body tolerated (a
// rejected statement of a schema change) may have set.
template <class Body>
OrvHResult runExport(const char* exportName, Body&& body) noexcept {
    try {
        host::setLastErrorMessage({});
        OrvHResult status = std::forward<Body>(body)();
        host::setLastErrorMessage({});
        return status;
    } catch (...) {
        return exportFailed(exportName, std::current_exception());
    }
}

// The same for an export without a result.
template <class Body>
void runVoidExport(const char* exportName, Body&& body) noexcept {
    runExport(exportName, [&] {
        std::forward<Body>(body)();
        return ORV_S_OK;
    });
}

// A required interface argument; a null pointer fails with ORV_E_POINTER.
template <class T>
T& required(T* pointer, const char* what) {
    if (!pointer) {
        throw host::StatusError(ORV_E_POINTER, std::string(what) + " is a null pointer");
    }
    return *pointer;
}

// An out argument: written, never read, so that the caller may pass an
// uninitialised variable. It holds NULL until the export stores its result,
// also when the export fails. A null address fails with ORV_E_POINTER.
template <class T>
T*& clearedOut(T** pointer, const char* what) {
    T*& out = required(pointer, what);
    out = nullptr;
    return out;
}

// The C view of an interface and the C++ one address the same object.
inline iDatabase* fromC(OrvIDatabase* database) {
    return reinterpret_cast<iDatabase*>(database);
}
inline OrvIDatabase* toC(iDatabase* database) {
    return reinterpret_cast<OrvIDatabase*>(database);
}
inline IServerInfo* fromC(OrvIServerInfo* info) {
    return reinterpret_cast<IServerInfo*>(info);
}
inline IFileService* fromC(OrvIFileService* service) {
    return reinterpret_cast<IFileService*>(service);
}
inline OrvIFileService* toC(IFileService* service) {
    return reinterpret_cast<OrvIFileService*>(service);
}

// Stores text in a host string result variable, which is written, never
// read: what it held is not released (a null address is ignored).
void assignResult(OrvHostString* variable, std::u16string_view text);

}  // namespace orvdb::module

// The host's exception classes that the driver raises or hands to
// HandleException. Each is built from one message text.
#pragma once

#include <stdexcept>
#include <string>

namespace orvdb::host {

class EORV_Exception : public std::runtime_error {
public:
    explicit EORV_Exception(const std::string& message) : std::runtime_error(message) {}
};

// A database could not be found or opened.
class EORV_DATABASECONNEXION : public EORV_Exception {
public:
    using EORV_Exception::EORV_Exception;
};

// A database cannot be brought to the current schema.
class EORV_DATABASEUPDATE : public EORV_Exception {
public:
    using EORV_Exception::EORV_Exception;
};

}  // namespace orvdb::host

#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

void throwError(std::string_view file, std::string_view reason) {
    std::string message(file);
    message += ": ";
    message += reason;
    throw JetError(message);
}

void throwCorrupt(std::string_view file, std::string_view reason) {
    std::string message(file);
    message += ": the file is damaged (";
    message += reason;
    message += ")";
    throw JetError(message);
}

}  // namespace orvdb::jet

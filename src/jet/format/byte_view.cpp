#include "jet/format/byte_view.hpp"

namespace orvdb::jet {

void ByteView::outOfRange(size_t offset, size_t length) const {
    static const std::string unnamed = "(unnamed)";
    throwCorrupt(file_ ? *file_ : unnamed, "a structure of " + std::to_string(length) +
                                               " bytes at offset " + std::to_string(offset) +
                                               " runs past its " + std::to_string(bytes_.size()) +
                                               "-byte block");
}

}  // namespace orvdb::jet

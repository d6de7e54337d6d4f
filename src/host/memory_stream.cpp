#include "host/memory_stream.hpp"

#include "host/paths.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace orvdb::host {

size_t MemoryStream::read(std::span<uint8_t> out) {
    if (position_ >= bytes_.size()) {
        return 0;
    }
    size_t n = std::min(out.size(), bytes_.size() - position_);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), n, out.begin());
    position_ += n;
    return n;
}

void MemoryStream::write(std::span<const uint8_t> bytes) {
    if (position_ + bytes.size() > bytes_.size()) {
        bytes_.resize(position_ + bytes.size());
    }
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
    position_ += bytes.size();
}

void MemoryStream::clear() {
    bytes_.clear();
    position_ = 0;
}

void MemoryStream::saveToFile(std::string_view fileName) const {
    const std::string path = resolvePath(fileName);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot create '" + path + "': " + std::strerror(errno));
    }
    file.write(reinterpret_cast<const char*>(bytes_.data()),
               static_cast<std::streamsize>(bytes_.size()));
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write '" + path + "'");
    }
}

void MemoryStream::loadFromFile(std::string_view fileName) {
    const std::string path = resolvePath(fileName);
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open '" + path + "': " + std::strerror(errno));
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (file.bad()) {
        throw std::runtime_error("cannot read '" + path + "'");
    }
    bytes_ = std::move(bytes);
    position_ = 0;
}

}  // namespace orvdb::host

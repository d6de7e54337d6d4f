#include "host/text_file_writer.hpp"

#include "host/paths.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orvdb::host {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what, int error) {
    throw std::runtime_error("WriteSL: cannot " + what + " '" + path +
                             "': " + std::strerror(error));
}

void writeAll(int fd, const std::string& data, const std::string& path) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(path, "write", errno);
        }
        done += static_cast<size_t>(n);
    }
}

}  // namespace

void WriteSL(std::string_view fileName, const std::vector<std::string>& lines, int encoding) {
    const std::string path = resolvePath(fileName);
    if (encoding != kEncodingUtf8 && encoding != kEncodingUtf8WithBom) {
        throw std::invalid_argument("WriteSL: unknown encoding code " + std::to_string(encoding) +
                                    " for '" + path + "'");
    }
    if (path.empty() || path.back() == '/') {
        throw std::invalid_argument("WriteSL: '" + std::string(fileName) + "' is not a file name");
    }

    std::string content = encoding == kEncodingUtf8WithBom ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines) {
        content.append(line).append("\r\n");
    }

    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        fail(path, "create a temporary file beside", errno);
    }
    try {
        // Keep the mode of the file being replaced; a new file gets rw-r--r--.
        struct stat existing {};
        mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
        if (::fchmod(fd, mode) != 0) {
            fail(path, "set the mode of the temporary file for", errno);
        }
        writeAll(fd, content, path);
        if (::fsync(fd) != 0) {
            fail(path, "flush", errno);
        }
        int fdToClose = fd;
        fd = -1;
        if (::close(fdToClose) != 0) {
            fail(path, "close", errno);
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            fail(path, "replace", errno);
        }
    } catch (...) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temporary.c_str());
        throw;
    }
}

}  // namespace orvdb::host

#include "data/query_trace.hpp"

#include "data/messages.hpp"
#include "host/paths.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

namespace orvdb::data {

void traceSelect(std::string_view sql) {
    if (!host::fileExists(kQueryTraceCheckedFile)) {
        return;
    }
    const std::string path = host::resolvePath(kQueryTraceFile);
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (file) {
        file.write(sql.data(), static_cast<std::streamsize>(sql.size())) << "\r\n";
    }
    file.close();
    if (!file) {
        throw std::runtime_error(msg::traceNotWritable(path, std::strerror(errno)));
    }
}

}  // namespace orvdb::data

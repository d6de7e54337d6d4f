#include "host/host_log.hpp"

#include <cstdio>
#include <mutex>
#include <string>

namespace orvdb::host {

void logToStderr(std::string_view category, std::string_view text) {
    static std::mutex mutex;
    std::string line = "orvdb: ";
    line.append(category).append(": ").append(text);
    if (line.empty() || line.back() != '\n') {
        line.push_back('\n');
    }
    std::lock_guard lock(mutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace orvdb::host

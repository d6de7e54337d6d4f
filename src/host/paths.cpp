#include "host/paths.hpp"

#include "base/names.hpp"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace orvdb::host {

namespace {

std::vector<std::string_view> splitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool entryExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// The name under which `component` exists in `directory`, if any.
std::optional<std::string> findComponent(const fs::path& directory, std::string_view component) {
    if (component == "." || component == "..") {
        if (entryExists(directory / component)) {
            return std::string(component);
        }
        return std::nullopt;
    }
    if (entryExists(directory / component)) {
        return std::string(component);
    }
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec) {
        return std::nullopt;
    }
    const std::string wanted = base::foldName(component);
    std::optional<std::string> best;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            break;
        }
        std::string name = it->path().filename().string();
        if (base::foldName(name) == wanted && (!best || name < *best)) {
            best = std::move(name);
        }
    }
    return best;
}

}  // namespace

std::string resolvePath(std::string_view suitePath) {
    std::string path(suitePath);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) {
        return path;
    }

    const bool absolute = path.front() == '/';
    const bool trailingSeparator = path.back() == '/';
    fs::path directory = absolute ? fs::path("/") : fs::path(".");
    std::string result = absolute ? "/" : "";
    bool matching = true;

    for (std::string_view component : splitComponents(path)) {
        std::string name(component);
        if (matching) {
            if (auto found = findComponent(directory, component)) {
                name = std::move(*found);
                directory /= name;
            } else {
                matching = false;
            }
        }
        if (!result.empty() && result.back() != '/') {
            result.push_back('/');
        }
        result += name;
    }
    if (trailingSeparator && !result.empty() && result.back() != '/') {
        result.push_back('/');
    }
    return result;
}

bool fileExists(std::string_view suitePath) {
    std::error_code ec;
    return fs::is_regular_file(resolvePath(suitePath), ec);
}

bool directoryExists(std::string_view suitePath) {
    std::error_code ec;
    return fs::is_directory(resolvePath(suitePath), ec);
}

}  // namespace orvdb::host

#include "host/file_utils.hpp"

#include "base/names.hpp"
#include "host/paths.hpp"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace orvdb::host {

namespace {

[[noreturn]] void fail(std::string_view operation, const std::string& what,
                       const std::string& reason) {
    throw std::runtime_error(std::string(operation) + ": " + what + ": " + reason);
}

// Regular files directly inside a folder: folded name -> name as spelt.
std::map<std::string, std::string> filesIn(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fail("Get_CommonFiles", "folder '" + folder + "'", "no such folder");
    }
    std::map<std::string, std::string> files;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        files.emplace(base::foldName(name), name);
    }
    if (ec) {
        fail("Get_CommonFiles", "cannot list folder '" + folder + "'", ec.message());
    }
    return files;
}

bool endsWithSeparator(std::string_view path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

bool isInside(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    fs::path a = fs::weakly_canonical(inner, ec);
    if (ec) {
        return false;
    }
    fs::path b = fs::weakly_canonical(outer, ec);
    if (ec) {
        return false;
    }
    auto [endOuter, endInner] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return endOuter == b.end() || (std::next(endOuter) == b.end() && endOuter->empty());
}

}  // namespace

bool Get_CommonFiles(std::string_view folder1, std::string_view folder2,
                     std::vector<std::string>& names) {
    auto first = filesIn(resolvePath(folder1));
    auto second = filesIn(resolvePath(folder2));
    std::vector<std::string> common;
    for (const auto& [folded, name] : first) {
        if (second.count(folded)) {
            common.push_back(name);
        }
    }
    std::sort(common.begin(), common.end());
    names.insert(names.end(), common.begin(), common.end());
    return !common.empty();
}

void SilentCopyDir(std::string_view source, std::string_view destination, bool overwrite) {
    const std::string from = resolvePath(source);
    std::error_code ec;
    if (!fs::is_directory(from, ec)) {
        fail("SilentCopyDir", "source folder '" + from + "'", "no such folder");
    }

    std::string to = resolvePath(destination);
    if (endsWithSeparator(destination) && fs::is_directory(to, ec)) {
        fs::path sourcePath(from);
        if (!sourcePath.has_filename()) {
            sourcePath = sourcePath.parent_path();
        }
        to = resolvePath(to + "/" + sourcePath.filename().string());
    }
    if (isInside(to, from)) {
        fail("SilentCopyDir", "cannot copy '" + from + "' to '" + to + "'",
             "the destination lies inside the source");
    }

    fs::create_directories(to, ec);
    if (ec) {
        fail("SilentCopyDir", "cannot create folder '" + to + "'", ec.message());
    }
    fs::copy(from, to,
             fs::copy_options::recursive | (overwrite ? fs::copy_options::overwrite_existing
                                                      : fs::copy_options::skip_existing),
             ec);
    if (ec) {
        fail("SilentCopyDir", "cannot copy '" + from + "' to '" + to + "'", ec.message());
    }
}

void DelDir(std::string_view folder) {
    if (folder.empty()) {
        throw std::invalid_argument("DelDir: empty folder path");
    }
    const std::string path = resolvePath(folder);
    std::error_code ec;
    if (fs::weakly_canonical(path, ec) == fs::path("/")) {
        fail("DelDir", "folder '" + path + "'", "refusing to delete the root folder");
    }
    auto status = fs::symlink_status(path, ec);
    if (!fs::exists(status)) {
        return;
    }
    if (!fs::is_directory(status)) {
        fail("DelDir", "'" + path + "'", "not a folder");
    }
    fs::remove_all(path, ec);
    if (ec) {
        fail("DelDir", "cannot delete folder '" + path + "'", ec.message());
    }
}

}  // namespace orvdb::host

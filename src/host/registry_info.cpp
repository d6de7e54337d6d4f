#include "host/registry_info.hpp"

#include <algorithm>
#include <stdexcept>

namespace orvdb::host {

namespace {

void checkEntry(int entry) {
    if (entry < 0 || entry >= kRegistryEntryCount) {
        throw std::out_of_range("registry information has no entry " + std::to_string(entry) +
                                " (entries are 0 to " + std::to_string(kRegistryEntryCount - 1) +
                                ")");
    }
}

}  // namespace

bool isRegistryFolderEntry(int entry) {
    using namespace registry_entry;
    switch (entry) {
        case kParametersFolder:
        case kLibraryFolder:
        case kTemplateFolder:
        case kDataRoot:
        case kWorkshopFolder:
        case kManagerParamFolder:
        case kLanguageFolder:
            return true;
        default:
            return false;
    }
}

std::string normaliseFolderText(std::string_view text) {
    std::string folder(text);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    if (!folder.empty() && folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

std::string MemoryRegistryInfo::get(int entry) const {
    checkEntry(entry);
    std::lock_guard lock(mutex_);
    return entries_[entry];
}

void MemoryRegistryInfo::set(int entry, std::string_view text) {
    checkEntry(entry);
    std::string value =
        isRegistryFolderEntry(entry) ? normaliseFolderText(text) : std::string(text);
    std::lock_guard lock(mutex_);
    entries_[entry] = std::move(value);
}

int MemoryRegistryInfo::languageId() const {
    std::lock_guard lock(mutex_);
    return languageId_;
}

void MemoryRegistryInfo::setLanguageId(int id) {
    std::lock_guard lock(mutex_);
    languageId_ = id;
}

}  // namespace orvdb::host

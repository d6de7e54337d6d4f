// Registry information: the host's table of texts indexed by entry number.
// Folder entries always end with '/', so callers append file names directly;
// suite paths ending with '\' keep their meaning because '\' becomes '/'.
#pragma once

#include <array>
#include <mutex>
#include <string>
#include <string_view>

namespace orvdb::host {

// Entry numbers the driver uses.
namespace registry_entry {
constexpr int kProviderName = 4;         // current provider, written by the provider fallback
constexpr int kParametersFolder = 9;     // holds Velmardix_Params.dat
constexpr int kLibraryFolder = 28;       // holds XLib.Mdb
constexpr int kTemplateFolder = 29;      // holds Data/DataModel.Dat
constexpr int kDataRoot = 30;            // holds Providers/
constexpr int kWorkshopFolder = 57;      // holds Xmandata.mdb
constexpr int kManagerParamFolder = 63;  // holds XManParam.Mdb
constexpr int kLanguageFolder = 64;      // holds XLng.mdb
}  // namespace registry_entry

constexpr int kRegistryEntryCount = 80;

// True for the entries that name folders.
bool isRegistryFolderEntry(int entry);

// '\' becomes '/' and a non-empty text gets a trailing '/'. An empty text
// stays empty (the entry is unset).
std::string normaliseFolderText(std::string_view text);

class RegistryInfo {
public:
    virtual ~RegistryInfo() = default;

    // Entry text; "" when unset. Throws std::out_of_range for a number outside
    // 0..kRegistryEntryCount-1.
    virtual std::string get(int entry) const = 0;
    // SetRegistryInfoString. Folder entries are stored normalised.
    virtual void set(int entry, std::string_view text) = 0;

    // The language identifier field of the registry record (not an entry).
    virtual int languageId() const = 0;
    virtual void setLanguageId(int id) = 0;
};

// Default: the texts kept in memory, filled by loadRegistry() or by the
// embedding program.
class MemoryRegistryInfo : public RegistryInfo {
public:
    std::string get(int entry) const override;
    void set(int entry, std::string_view text) override;
    int languageId() const override;
    void setLanguageId(int id) override;

private:
    mutable std::mutex mutex_;
    std::array<std::string, kRegistryEntryCount> entries_;
    int languageId_ = 0;
};

}  // namespace orvdb::host

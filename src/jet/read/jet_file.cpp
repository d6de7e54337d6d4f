#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

namespace {

// The header, the global usage map and the catalog definition.
constexpr uint32_t kMinimumPages = kCatalogPage + 1;

}  // namespace

JetFile JetFile::open(const std::filesystem::path& path,
                      const std::optional<std::string>& password) {
    return JetFile(openPageFile(path), password);
}

JetFile JetFile::openMemory(std::span<const uint8_t> bytes, std::string name,
                            const std::optional<std::string>& password) {
    return JetFile(openPageMemory(bytes, std::move(name)), password);
}

JetFile::JetFile(std::shared_ptr<PageSource> source, const std::optional<std::string>& password)
    : source_(std::move(source)) {
    const std::string& file = source_->name();
    if (source_->sizeInBytes() == 0) {
        throwError(file, "is empty, not an Access database");
    }
    header_ = decodeHeader(source_->readPrefix(kPageSize), file);
    if (source_->sizeInBytes() % kPageSize != 0) {
        throwCorrupt(file, "its size of " + std::to_string(source_->sizeInBytes()) +
                               " bytes is not a whole number of 4096-byte pages; the file is "
                               "truncated");
    }
    if (source_->pageCount() < kMinimumPages) {
        throwCorrupt(file, "it has only " + std::to_string(source_->pageCount()) +
                               " pages; the file is truncated");
    }
    verifyPassword(header_, password, file);
    if (header_.encryptionKey != 0) {
        throwError(file,
                   "is encrypted (encoded) by Jet; decrypt it in Access (Tools > Security > "
                   "Encode/Decode Database) before opening it here");
    }
    try {
        catalog_ = Catalog::read(source_);
    } catch (const JetError& error) {
        throw DamagedCatalog(std::string(error.what()) + " while reading the system catalog");
    }
}

std::vector<std::string> JetFile::tableNames(bool includeSystem) const {
    std::vector<std::string> names;
    for (const CatalogObject* object : catalog_.tables(includeSystem)) {
        names.push_back(object->name);
    }
    return names;
}

std::shared_ptr<const TableDefinition> JetFile::table(std::string_view name) const {
    const CatalogObject* object = catalog_.findTable(name);
    if (!object) {
        throwError(source_->name(), "has no table named '" + std::string(name) + "'");
    }
    uint32_t page = object->tablePage();
    auto found = definitions_.find(page);
    if (found != definitions_.end()) {
        return found->second;
    }
    TableDefinition definition;
    try {
        definition = readTableDefinition(*source_, page);
    } catch (const JetError& error) {
        throw JetError(std::string(error.what()) + " while reading the definition of table '" +
                       object->name + "'");
    }
    definition.name = object->name;
    auto shared = std::make_shared<const TableDefinition>(std::move(definition));
    definitions_.emplace(page, shared);
    return shared;
}

ObjectProperties JetFile::objectProperties(const CatalogObject& object) const {
    return decodeProperties(object.lvProp, source_->name(), object.name);
}

ObjectProperties JetFile::tableProperties(std::string_view name) const {
    const CatalogObject* object = catalog_.findTable(name);
    if (!object) {
        throwError(source_->name(), "has no table named '" + std::string(name) + "'");
    }
    return objectProperties(*object);
}

ObjectProperties JetFile::databaseProperties() const {
    const CatalogObject* object = catalog_.findById(kDatabaseObjectId);
    return object ? objectProperties(*object) : ObjectProperties{};
}

TableReader JetFile::readTable(std::string_view name) const {
    return TableReader(source_, table(name));
}

}  // namespace orvdb::jet

// The system catalog: the rows of MSysObjects, whose definition is always on
// page 2. Every table, query, relationship and container is one object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

inline constexpr uint32_t kCatalogPage = 2;
inline constexpr int32_t kContainersId = 0x0F000000;
inline constexpr int32_t kTablesContainerId = 0x0F000001;
inline constexpr int32_t kDatabasesContainerId = 0x0F000002;
inline constexpr int32_t kRelationshipsContainerId = 0x0F000003;
inline constexpr int32_t kDatabaseObjectId = 0x10000000;  // MSysDb

enum class ObjectType : int16_t {
    Table = 1,
    Database = 2,
    Container = 3,
    LinkedOdbcTable = 4,
    Query = 5,
    LinkedTable = 6,
    Relationship = 8,
};

struct CatalogObject {
    // Flags that mark Jet's and Access's own tables.
    static constexpr uint32_t kSystemFlags = 0x80000002;
    static constexpr uint32_t kHiddenFlag = 0x00000008;

    int32_t id = 0;
    int32_t parentId = 0;
    std::string name;
    int16_t type = 0;
    uint32_t flags = 0;
    std::optional<double> dateCreate;
    std::optional<double> dateUpdate;
    std::string database;     // linked tables: the source database
    std::string foreignName;  // linked tables: the name in the source
    std::string connect;      // linked tables: the connect string
    Bytes lvProp;             // the property blocks ("MR2")

    // Tables: the first page of the table definition.
    uint32_t tablePage() const { return static_cast<uint32_t>(id) & 0xFFFFFF; }
    bool isTable() const {
        return type == static_cast<int16_t>(ObjectType::Table) && parentId == kTablesContainerId;
    }
    bool isSystemTable() const { return isTable() && (flags & kSystemFlags) != 0; }
    bool isUserTable() const { return isTable() && (flags & kSystemFlags) == 0; }
    bool isQuery() const { return type == static_cast<int16_t>(ObjectType::Query); }
    bool isLinkedTable() const {
        return type == static_cast<int16_t>(ObjectType::LinkedTable) ||
               type == static_cast<int16_t>(ObjectType::LinkedOdbcTable);
    }
    bool isHidden() const { return (flags & kHiddenFlag) != 0; }
};

class Catalog {
public:
    static Catalog read(std::shared_ptr<PageSource> source);

    const std::vector<CatalogObject>& objects() const { return objects_; }
    // Local tables (type 1 under the Tables container), ASCII case-insensitive.
    const CatalogObject* findTable(std::string_view name) const;
    const CatalogObject* findById(int32_t id) const;
    const CatalogObject* find(std::string_view name, ObjectType type) const;
    // Tables in catalog order; system tables only when asked for.
    std::vector<const CatalogObject*> tables(bool includeSystem = false) const;
    std::vector<const CatalogObject*> queries() const;

private:
    std::vector<CatalogObject> objects_;
};

}  // namespace orvdb::jet

// The system catalog: the rows of MSysObjects, whose definition is always on
// page 2. Every table, query, relationship and container is one object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/codes.hpp"
#include "jet/format/page.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

struct CatalogObject {
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
    uint32_t tablePage() const { return static_cast<uint32_t>(id) & kLastPageNumber; }
    bool isTable() const {
        return type == typeCode(ObjectType::Table) && parentId == kTablesContainerId;
    }
    bool isSystemTable() const { return isTable() && (flags & kSystemObjectFlags) != 0; }
    bool isUserTable() const { return isTable() && (flags & kSystemObjectFlags) == 0; }
    bool isQuery() const { return type == typeCode(ObjectType::Query); }
    bool isLinkedTable() const {
        return type == typeCode(ObjectType::LinkedTable) ||
               type == typeCode(ObjectType::LinkedOdbcTable);
    }
    bool isHidden() const { return (flags & kHiddenObjectFlag) != 0; }
};

class Catalog {
public:
    static Catalog read(std::shared_ptr<PageSource> source);

    const std::vector<CatalogObject>& objects() const { return objects_; }
    // Local tables (type 1 under the Tables container), case-insensitive.
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

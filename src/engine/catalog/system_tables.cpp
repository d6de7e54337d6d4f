#include "engine/catalog/system_tables.hpp"

#include "engine/catalog/saved_query_rows.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/store/sqlite_util.hpp"

#include <map>

namespace orvdb::engine {

void writeQueryRows(Catalog& catalog, sqlite3* db, int64_t objectId,
                    const std::vector<SavedQueryRow>& rows) {
    if (!catalog.findTableInfo("MSysQueries")) {
        return;
    }
    Stmt s(db,
           "INSERT INTO MSysQueries (ObjectId, Attribute, Expression, Flag, Name1, Name2, "
           "[Order]) VALUES (?, ?, ?, ?, ?, ?, ?)");
    // Rows of one attribute are numbered 1, 2, ... (four bytes, big-endian):
    // (ObjectId, Attribute, Order) is the table's unique primary key.
    std::map<int, uint32_t> numbers;
    auto bindText = [&](int index, const std::optional<std::string>& value) {
        if (value) {
            s.bind(index, std::string_view(*value));
        } else {
            s.bindNull(index);
        }
    };
    for (const SavedQueryRow& row : rows) {
        s.reset();
        s.bind(1, objectId).bind(2, int64_t{row.attribute});
        bindText(3, row.expression);
        if (row.flag) {
            s.bind(4, int64_t{*row.flag});
        } else {
            s.bindNull(4);
        }
        bindText(5, row.name1);
        bindText(6, row.name2);
        uint32_t number = ++numbers[row.attribute];
        const uint8_t order[4] = {static_cast<uint8_t>(number >> 24),
                                  static_cast<uint8_t>(number >> 16),
                                  static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
        s.bindBlob(7, order, sizeof order);
        s.run();
    }
}

}  // namespace orvdb::engine

#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {

DatabaseImage imageFromFile(const JetFile& file) {
    DatabaseImage image;
    PageRef header = file.pages().page(0);
    image.headerPage.assign(header->bytes.begin(), header->bytes.end());
    for (const std::string& name : file.tableNames(true)) {
        TableImage table;
        table.definition = *file.table(name);
        table.objectId = table.definition.page;
        table.preferredPage = table.definition.page;
        TableReader reader = file.readTable(name);
        while (std::optional<Row> row = reader.next()) {
            table.rows.push_back(std::move(row->values));
        }
        image.tables.push_back(std::move(table));
    }
    return image;
}

}  // namespace orvdb::jet

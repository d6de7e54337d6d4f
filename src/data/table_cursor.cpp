#include "data/table_cursor.hpp"

#include "data/boundary_values.hpp"
#include "data/serialized_objects.hpp"
#include "host/dialogs.hpp"

namespace orvdb::data {

using host::guarded;

torvc_Table::torvc_Table(std::shared_ptr<engine::Connection> connection)
    : connection_(connection), table_(std::make_unique<engine::TableDataset>(*connection)) {}

torvc_Table::torvc_Table(std::shared_ptr<void> keepAlive,
                         std::unique_ptr<engine::TableDataset> table)
    : connection_(std::move(keepAlive)), table_(std::move(table)) {}

torvc_Table::~torvc_Table() {
    try {
        setOpened(false);
    } catch (...) {
        // Closing drops an unposted row; nothing to report from a destructor.
    }
}

void torvc_Table::openData() {
    table_->open();
}

void torvc_Table::closeData() {
    table_->close();
}

void torvc_Table::postRecord() {
    table_->post();
}

std::string torvc_Table::creationKey(std::string_view field) const {
    return creationKeyFor(host::toUtf8(tableName_), field);
}

void torvc_Table::setTableName(std::u16string_view name) {
    noteOutcome([&] {
        if (table_->isOpen()) {
            table_->close();
        }
        table_->setTableName(host::toUtf8(name));
        tableName_ = name;
        setOpened(true);
    });
}

void torvc_Table::edit() {
    noteOutcome([&] {
        // Editing an empty table starts its first row, as the host's datasets do.
        if (table_->isOpen() && table_->recordCount() == 0) {
            table_->append();
        } else {
            table_->edit();
        }
    });
}

void torvc_Table::append() {
    noteOutcome([&] { table_->append(); });
}

void torvc_Table::last() {
    noteOutcome([&] { table_->last(); });
}

void torvc_Table::setRefRow(std::string_view field, std::optional<std::string_view> value) {
    noteOutcome([&] {
        if (value && !value->empty()) {
            // No match leaves the current row current, and that one is edited.
            table_->locate(field, engine::SqlValue(std::string(*value)));
            edit();
        } else {
            edit();
            table_->append();
        }
    });
}

void torvc_Table::gotoKey(std::string_view field, std::string_view indexName,
                          std::string_view value) {
    noteOutcome([&] {
        table_->close();
        table_->selectIndex(std::string(indexName));
        table_->open();
        edit();
        table_->setText(fieldIndex(field), value);
    });
}

void torvc_Table::post() {
    noteOutcome([&] {
        try {
            table_->post();
            table_->last();
            int id = table_->findField("Id");
            std::string key = id < 0 ? "0" : table_->getText(id);
            idRow_ = host::toUtf16(key);
        } catch (const std::exception& e) {
            noteQuietFailure(e.what());
            host::MessageBox(e.what(), "", host::MB_OK, 0);
        }
    });
}

OrvHResult torvc_Table::Get_IdRow(OrvBstr* id) {
    host::clearOut(id);
    return guarded([&] { setOut(id, idRow_, "Get_IdRow"); });
}

OrvHResult torvc_Table::Set_IdRow(OrvBstr id) {
    return guarded([&] {
        std::string key = utf8(id);
        if (key == "0") {
            setRefRow("Id", std::nullopt);
        } else {
            setRefRow("Id", key);
        }
    });
}

OrvHResult torvc_Table::Get_Tablename(OrvBstr* name) {
    host::clearOut(name);
    return guarded([&] { setOut(name, tableName_, "Get_Tablename"); });
}

OrvHResult torvc_Table::Set_Tablename(OrvBstr name) {
    return guarded([&] { setTableName(host::bstrView(name)); });
}

OrvHResult torvc_Table::Post() {
    return guarded([&] { post(); });
}

OrvHResult torvc_Table::Edit() {
    return guarded([&] { edit(); });
}

OrvHResult torvc_Table::Append() {
    return guarded([&] { append(); });
}

OrvHResult torvc_Table::Last() {
    return guarded([&] { last(); });
}

OrvHResult torvc_Table::GotoKey(OrvBstr field, OrvBstr indexName, OrvBstr value) {
    return guarded([&] { gotoKey(utf8(field), utf8(indexName), utf8(value)); });
}

}  // namespace orvdb::data

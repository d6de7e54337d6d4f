// The operations of torvc_Database on the database as a whole: empty every
// table, list the tables, copy one table into another database, empty one
// table, and read a column's stored definition. Each works through the
// cursor stacks and, when it succeeds, leaves them as it found them.
#include "data/boundary_values.hpp"
#include "data/database.hpp"
#include "data/field_codes.hpp"
#include "data/messages.hpp"
#include "data/query_cursor.hpp"
#include "data/system_object.hpp"
#include "host/cursor_calls.hpp"
#include "host/database_connector.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"

namespace orvdb::data {

namespace calls = host::calls;
using host::guarded;

namespace {

std::u16string sqlTextLiteral(std::u16string_view text) {
    std::u16string out = u"'";
    for (char16_t c : text) {
        if (c == u'\'') {
            out += u'\'';
        }
        out += c;
    }
    return out + u"'";
}

std::u16string u16(std::string_view utf8) {
    return host::toUtf16(utf8);
}

}  // namespace

void torvc_Database::emptyAllTables() {
    ComPtr<iQueryDatabase> tables = calls::pushQuery(*this);
    calls::openSql(*tables.get(), backend_->userTablesQuery());
    while (calls::opened(*tables.get())) {
        std::u16string name = calls::getString(*tables.get(), u"Name");
        try {
            // Unbracketed on purpose: a name that needs brackets keeps its rows.
            ComPtr<iQueryDatabase> remover = calls::pushQuery(*this);
            host::throwIfFailed(remover->Set_TypeRequete(1), "Set_TypeRequete");
            calls::openSql(*remover.get(), u"DELETE FROM " + name);
        } catch (const std::exception&) {
            // One table that cannot be emptied does not stop the others.
        }
        calls::popQuery(*this);
        host::throwIfFailed(tables->Next(), "Next");
    }
    calls::popQuery(*this);
}

void torvc_Database::listTables(IInterfaceList& list) {
    // One object serves every entry; a list that keeps references therefore
    // shows the last name everywhere, which is the host's affair.
    ComPtr<ISystemObject> entry(new TSystemObject);
    ComPtr<iQueryDatabase> tables = calls::pushQuery(*this);
    calls::openSql(*tables.get(), backend_->userTablesQuery());
    while (calls::opened(*tables.get())) {
        host::Bstr name(calls::getString(*tables.get(), u"Name"));
        host::throwIfFailed(entry->Set_Name(name.get()), "Set_Name");
        host::throwIfFailed(list.Add(entry.get()), "Add");
        host::throwIfFailed(tables->Next(), "Next");
    }
    calls::popQuery(*this);
}

void torvc_Database::exportTable(ISystemObject& tableObject, iDatabase& target) {
    host::Bstr nameText;
    std::u16string name =
        calls::bstrResult(tableObject.Get_Name(nameText.put()), nameText, "Get_Name");
    auto connector = host::databaseConnector();

    // The definition, with the column types the target gives for each kind.
    host::throwIfFailed(PushTable(), "PushTable");
    ComPtr<iTableDatabase> source;
    host::throwIfFailed(Get_ActiveTable(source.put()), "Get_ActiveTable");
    std::u16string create = u"CREATE TABLE `" + name + u"` (";
    host::Bstr tableName(name);
    host::throwIfFailed(source->Set_Tablename(tableName.get()), "Set_Tablename");
    host::throwIfFailed(source->Set_Opened(ORV_WTRUE), "Set_Opened");
    int32_t fieldCount = 0;
    host::throwIfFailed(source->FieldCount(&fieldCount), "FieldCount");
    for (int32_t i = 0; i < fieldCount; ++i) {
        host::Bstr fieldName;
        int32_t kind = 0;
        int32_t size = 0;
        host::throwIfFailed(source->GetFieldInternalTypeStructure(i, fieldName.put(), &kind, &size),
                            "GetFieldInternalTypeStructure");
        host::Bstr typeWord;
        host::throwIfFailed(target.Get_FieldTypeText(kind, size, typeWord.put()),
                            "Get_FieldTypeText");
        if (i > 0) {
            create += u", ";
        }
        create +=
            u"`" + std::u16string(fieldName.view()) + u"`  " + std::u16string(typeWord.view());
    }
    create += u");";

    {
        // A failing DROP or CREATE is dropped by the target's own query.
        ComPtr<iQueryDatabase> ddl = calls::pushQuery(target);
        host::throwIfFailed(ddl->Set_TypeRequete(1), "Set_TypeRequete");
        calls::openSql(*ddl.get(), u"DROP TABLE IF EXISTS `" + name + u"`");
        calls::openSql(*ddl.get(), create);
        calls::popQuery(target);
    }
    source.reset();
    host::throwIfFailed(PopTable(), "PopTable");
    connector->tableCreated(&target, host::toUtf8(name));

    // A target of ours may write its own date literals.
    auto* ownTarget = dynamic_cast<torvc_Database*>(&target);
    auto dateLiteral = [&](double days) {
        std::optional<std::string> own =
            ownTarget ? ownTarget->backend().dateTimeLiteral(days) : std::nullopt;
        return own ? *own : connector->renderDateTimeLiteral(days);
    };

    // The rows, one INSERT each.
    ComPtr<iQueryDatabase> rows = calls::pushQuery(*this);
    calls::pushQuery(target);
    host::throwIfFailed(rows->Set_TypeRequete(0), "Set_TypeRequete");
    calls::openSql(*rows.get(), backend_->selectAllText(name));
    // The cursor is our own: blobs and nulls need access the interface lacks.
    auto& row = static_cast<TORVC_Data<iQueryDatabase>&>(*rows.get());
    while (calls::opened(*rows.get())) {
        std::u16string insert = u"INSERT INTO `" + name + u"` VALUES (";
        host::throwIfFailed(rows->FieldCount(&fieldCount), "FieldCount");
        for (int32_t i = 0; i < fieldCount; ++i) {
            if (i > 0) {
                insert += u", ";
            }
            host::Bstr fieldNameText;
            int32_t kind = 0;
            int32_t size = 0;
            host::throwIfFailed(
                rows->GetFieldInternalTypeStructure(i, fieldNameText.put(), &kind, &size),
                "GetFieldInternalTypeStructure");
            std::string field = fieldNameText.utf8();
            switch (kind) {
                case kKindBoolean:
                    insert +=
                        row.dataset().getBool(row.dataset().fieldIndex(field)) ? u"'-1'" : u"'0'";
                    break;
                case kKindBlob:
                    insert += row.isNull(field)
                                  ? u"NULL"
                                  : u16(connector->renderBlobLiteral(row.getBlobBytes(field)));
                    break;
                case kKindTimestamp:
                case kKindDateTime:
                    insert += row.isNull(field) ? u"NULL"
                                                : u16(dateLiteral(row.dataset().getDateTime(
                                                      row.dataset().fieldIndex(field))));
                    break;
                default: {
                    std::u16string text = calls::getString(*rows.get(), fieldNameText.view());
                    bool zeroWhenEmpty = kind == kKindLong || kind == kKindFloat ||
                                         kind == kKindText || kind == kKindShort ||
                                         kind == kKindAutoIncrement || kind == kKindMemo;
                    if (zeroWhenEmpty && text.empty()) {
                        text = u"0";
                    }
                    insert += sqlTextLiteral(text);
                    break;
                }
            }
        }
        insert += u");";
        // Run as the fresh query comes (a select): the engine executes the
        // insert and then reports that it returned no rows, quietly.
        ComPtr<iQueryDatabase> inserter = calls::pushQuery(target);
        calls::openSql(*inserter.get(), insert);
        calls::popQuery(target);
        host::throwIfFailed(rows->Next(), "Next");
    }
    calls::popQuery(target);
    rows.reset();
    calls::popQuery(*this);
    connector->rowsCopied(&target, host::toUtf8(name));
}

void torvc_Database::emptyTable(std::u16string_view table) {
    ComPtr<iQueryDatabase> remover = calls::pushQuery(*this);
    host::throwIfFailed(remover->Set_TypeRequete(1), "Set_TypeRequete");
    calls::openSql(*remover.get(), u"DELETE FROM " + std::u16string(table));
    remover.reset();
    calls::popQuery(*this);
}

FieldDef torvc_Database::fieldDef(std::u16string_view table, std::u16string_view field) const {
    return backend_->fieldDef(path_, table, field);
}

OrvHResult torvc_Database::Empty() {
    return guarded([&] { emptyAllTables(); });
}

OrvHResult torvc_Database::Get_TableList(void*, IInterfaceList* list) {
    return guarded([&] {
        if (!list) {
            throw host::StatusError(ORV_E_POINTER, msg::nullArgument("Get_TableList", "the list"));
        }
        listTables(*list);
    });
}

OrvHResult torvc_Database::ExportTable(ISystemObject* table, iDatabase* target) {
    return guarded([&] {
        if (!table || !target) {
            throw host::StatusError(
                ORV_E_POINTER,
                msg::nullArgument("ExportTable", "the table object or the target database"));
        }
        exportTable(*table, *target);
    });
}

OrvHResult torvc_Database::EmptyTable(OrvBstr table) {
    return guarded([&] { emptyTable(host::bstrView(table)); });
}

OrvHResult torvc_Database::Get_FieldDef(OrvBstr table, OrvBstr field, FieldDef* definition) {
    return guarded([&] {
        FieldDef& out = outArgument(definition, "Get_FieldDef");
        out = fieldDef(host::bstrView(table), host::bstrView(field));
    });
}

}  // namespace orvdb::data

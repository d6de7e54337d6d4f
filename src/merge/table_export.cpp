#include "merge/table_export.hpp"

#include "data/serialized_objects.hpp"
#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"
#include "host/memory_stream.hpp"
#include "merge/merge_paths.hpp"
#include "merge/upper_case.hpp"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace orvdb::merge {

namespace {

const std::string kCommentRule(32, '-');

bool isBinary(const std::string& typeWord) {
    return typeWord == "LONGBINARY" || typeWord == "LONGBLOB";
}

bool isInteger(const std::string& typeWord) {
    return typeWord == "LONG" || typeWord == "AUTOINCREMENT";
}

// Integer addition as the suite's 32-bit arithmetic does it: wrapping, so a
// shift past the largest value comes out negative and is then refused.
int32_t wrappingSum(int32_t value, int32_t offset) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(offset));
}

}  // namespace

std::string quoteText(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    for (char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted;
}

std::string shiftedFloatLiteral(float value, int32_t offset) {
    // Fifteen significant digits: the float's own noise beyond them (0.1f is
    // 0.100000001490116...) does not reach the literal.
    double shifted = static_cast<double>(value) + offset;
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, shifted, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

bool TableExport::run(const std::string& table, bool resave) {
    lists_.script.push_back(kCommentRule);
    lists_.script.push_back("-- Table: " + table);
    lists_.script.push_back(kCommentRule);
    lists_.script.push_back("");

    ComPtr<iDatabase> staging = currentDatabase(settings_.container);
    QueryCalls query = pushQuery(*staging);
    query.open("SELECT * FROM " + table);
    if (query.opened()) {
        if (settings_.progress.present()) {
            int32_t count = query.recordCount();
            if (count > 0) {
                settings_.progress.setMax(1, count);
                settings_.progress.setPosition(1, 0);
            }
        }
        const int32_t columns = query.fieldCount();
        for (int32_t i = 0; i < columns; ++i) {
            std::string name;
            std::string typeWord;
            query.fieldStructure(i, name, typeWord);
            if (isBinary(typeWord)) {
                lists_.script.push_back("ALTER TABLE " + table + " ADD COLUMN " + name +
                                        "_BIN LONG");
            }
        }
    }

    bool resaved = false;
    while (query.opened()) {
        std::string rowKey = rowKeyCondition(table, query);
        if (settings_.factory && resave) {
            resaveRow(table, query, resaved);
        }
        if (!resaved) {
            lists_.script.push_back(insertStatement(table, query, rowKey));
        }
        settings_.progress.step(1);
        query.next();
    }
    popQuery(*staging);
    return resaved;
}

std::string TableExport::rowKeyCondition(const std::string& table, const QueryCalls& row) const {
    std::string condition;
    for (const std::string& field : settings_.configuration.primaryFields(table)) {
        if (!condition.empty()) {
            condition += " AND ";
        }
        condition += " " + field + "=" + row.text(field);
    }
    return condition;
}

void TableExport::resaveRow(const std::string& table, const QueryCalls& row, bool& resaved) {
    ComPtr<IInterface> created = settings_.factory->createObject(upperCased(table));
    ComPtr<IDbObject> object = created.as<IDbObject>();
    if (!object) {
        return;
    }
    resaved = true;
    int step = 0;
    const int32_t id = row.integer("ID");
    host::Bstr databaseName(u"GAMMISTE");
    host::throwIfFailed(object->Load(id, &settings_.container, databaseName.get()),
                        "IDbObject.Load");
    try {
        OrvWordBool valid = ORV_WFALSE;
        host::throwIfFailed(object->Validate(&valid), "IDbObject.Validate");
        step = 1;
        ComPtr<IIdOffset> shifter = object.as<IIdOffset>();
        if (!shifter) {
            throw std::runtime_error("the object of table " + table + " cannot shift its ids");
        }
        host::throwIfFailed(shifter->OffsetIds(settings_.offset), "IIdOffset.OffsetIds");
        step = 2;
        host::throwIfFailed(object->Save(), "IDbObject.Save");
        step = 3;
    } catch (const std::exception&) {
        int32_t objectId = 0;
        object->Get_ID(&objectId);
        char line[512];
        std::snprintf(line, sizeof line, "BUG IN RESAVE %s FOR OBJECT %d", table.c_str(), objectId);
        lists_.log.push_back(line);
        lists_.log.push_back(std::to_string(step));
    }
}

std::string TableExport::insertStatement(const std::string& table, const QueryCalls& row,
                                         const std::string& rowKey) {
    std::string columnPart = " (";
    std::string valuePart = " VALUES (";
    const int32_t columns = row.fieldCount();
    for (int32_t i = 0; i < columns; ++i) {
        std::string name;
        std::string typeWord;
        row.fieldStructure(i, name, typeWord);
        if (i > 0) {
            columnPart += ", ";
            valuePart += ", ";
        }
        if (isBinary(typeWord)) {
            lists_.blobs.emplace_back(table, name);
            const size_t number = lists_.blobEntryCount();
            columnPart += name + "_BIN";
            valuePart += std::to_string(number);
            stageBinaryValue(table, name, row, number);
            continue;
        }
        columnPart += name;
        try {
            valuePart += valueLiteral(table, name, typeWord, rowKey, row);
        } catch (const std::exception&) {
            lists_.log.push_back("Error");
            lists_.log.push_back(table);
            lists_.log.push_back(name);
            lists_.log.push_back(std::to_string(lists_.script.size()));
        }
    }
    return "INSERT INTO " + table + columnPart + ")" + valuePart + ")";
}

std::string TableExport::valueLiteral(const std::string& table, const std::string& column,
                                      const std::string& typeWord, const std::string& rowKey,
                                      const QueryCalls& row) {
    const std::string text = row.text(column);
    if (text.empty()) {
        return "NULL";
    }
    const bool numeric = isInteger(typeWord) || typeWord == "NUMERIC";
    if (!numeric) {
        return "'" + quoteText(text) + "'";
    }
    if (!settings_.configuration.isKeyField(table, column, rowKey, [this](const std::string& sql) {
            return conditionHolds(sql);
        })) {
        return text;
    }
    const int32_t offset = settings_.offset;
    if (isInteger(typeWord)) {
        const int32_t value = row.integer(column);
        if (value <= 0) {
            return text;
        }
        const int32_t shifted = wrappingSum(value, offset);
        return std::to_string(shifted > 0 ? shifted : value);
    }
    lists_.log.push_back("CHECK FLOAT \"" + column + "\" IN TABLE \"" + table + "\"");
    const float value = row.single(column);
    if (value <= 0) {
        return text;
    }
    const int32_t whole = row.integer(column);
    if (wrappingSum(whole, offset) > 0) {
        return shiftedFloatLiteral(value, offset);
    }
    return std::to_string(whole);
}

void TableExport::stageBinaryValue(const std::string& table, const std::string& column,
                                   const QueryCalls& row, size_t fileNumber) {
    const std::string file = blobFilePath(fileNumber);
    // A file of an earlier run under the same number must not be imported
    // for this row.
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    ComPtr<iSerializable> object;
    if (settings_.factory) {
        object =
            settings_.factory->createObject(upperCased(table + "_" + column)).as<iSerializable>();
    }
    if (!object) {
        if (!row.text(column).empty()) {
            ++lists_.uncarriedBinaryValues;
        }
        return;
    }
    row.getSerializable(column, *object);
    host::MemoryStream stream;
    auto bytes = data::serializeContent(*object);
    stream.write(bytes);
    stream.saveToFile(file);
}

bool TableExport::conditionHolds(const std::string& sql) {
    ComPtr<iDatabase> staging = currentDatabase(settings_.container);
    QueryCalls probe = pushQuery(*staging);
    bool found = probe.open(sql);
    popQuery(*staging);
    return found;
}

}  // namespace orvdb::merge

#include "data/mariadb/session.hpp"

#include "base/names.hpp"

#include <mysql.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "engine/jet_datetime.hpp"

namespace orvdb::data::mariadb {

namespace {

bool isBinary(const MYSQL_FIELD& field) {
    return field.charsetnr == 63;
}

int maxBytesPerCharacter(const MYSQL_FIELD& field) {
    const MARIADB_CHARSET_INFO* charset = mariadb_get_charset_by_nr(field.charsetnr);
    return charset && charset->char_maxlen > 0 ? static_cast<int>(charset->char_maxlen) : 1;
}

engine::FieldInfo fieldInfoOf(const MYSQL_FIELD& field) {
    using engine::FieldType;
    using engine::JetType;
    engine::FieldInfo info;
    info.name = field.name;
    auto set = [&](FieldType type, std::optional<JetType> jetType, int size) {
        info.type = type;
        info.jetType = jetType;
        info.size = size;
    };
    bool autoIncrement = (field.flags & AUTO_INCREMENT_FLAG) != 0;
    switch (field.type) {
        case MYSQL_TYPE_TINY:
            if (field.length == 1) {
                set(FieldType::Boolean, JetType::Boolean, 2);
            } else {
                set(FieldType::Word, JetType::Byte, 1);
            }
            break;
        case MYSQL_TYPE_SHORT:
        case MYSQL_TYPE_YEAR:
            set(FieldType::SmallInt, JetType::Integer, 2);
            break;
        case MYSQL_TYPE_LONG:
        case MYSQL_TYPE_INT24:
        case MYSQL_TYPE_LONGLONG:
        case MYSQL_TYPE_BIT:
            set(autoIncrement ? FieldType::AutoInc : FieldType::Integer, JetType::Long, 4);
            break;
        case MYSQL_TYPE_FLOAT:
        case MYSQL_TYPE_DOUBLE:
        case MYSQL_TYPE_DECIMAL:
        case MYSQL_TYPE_NEWDECIMAL:
            set(FieldType::Float, JetType::Double, 8);
            break;
        case MYSQL_TYPE_DATE:
        case MYSQL_TYPE_DATETIME:
        case MYSQL_TYPE_TIMESTAMP:
        case MYSQL_TYPE_TIME:
        case MYSQL_TYPE_NEWDATE:
            set(FieldType::DateTime, JetType::DateTime, 8);
            break;
        case MYSQL_TYPE_TINY_BLOB:
        case MYSQL_TYPE_MEDIUM_BLOB:
        case MYSQL_TYPE_LONG_BLOB:
        case MYSQL_TYPE_BLOB:
        case MYSQL_TYPE_GEOMETRY:
            if (isBinary(field)) {
                set(FieldType::Blob, JetType::OLE, 0);
            } else {
                set(FieldType::Memo, JetType::Memo, 0);
            }
            break;
        default: {
            // CHAR, VARCHAR, BINARY, VARBINARY, ENUM, SET, JSON.
            int characters = static_cast<int>(field.length) / maxBytesPerCharacter(field);
            if (isBinary(field)) {
                set(FieldType::Blob, JetType::Binary, characters);
            } else {
                set(FieldType::Text, JetType::Text, characters + 1);
                info.declaredSize = characters;
            }
            break;
        }
    }
    return info;
}

template <class Number>
std::optional<Number> parse(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The server's date and time texts: "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS[.f]", "HH:MM:SS".
engine::SqlValue dateValue(std::string_view text) {
    engine::DateParts parts;
    int fields = 0;
    std::string copy(text);
    if (copy.size() >= 10 && copy[4] == '-') {
        fields = std::sscanf(copy.c_str(), "%d-%d-%d %d:%d:%d", &parts.year, &parts.month,
                             &parts.day, &parts.hour, &parts.minute, &parts.second);
        if (fields < 3) {
            return copy;
        }
    } else if (std::sscanf(copy.c_str(), "%d:%d:%d", &parts.hour, &parts.minute, &parts.second) !=
               3) {
        return copy;
    }
    if (auto date = engine::jetDateFromParts(parts)) {
        return *date;
    }
    // 0000-00-00 and other dates outside the calendar read as no date.
    return std::monostate{};
}

engine::SqlValue valueOf(const engine::FieldInfo& info, const char* data, unsigned long length) {
    using engine::FieldType;
    if (!data) {
        return std::monostate{};
    }
    std::string_view text(data, length);
    switch (info.type) {
        case FieldType::Boolean:
        case FieldType::Word:
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::AutoInc:
            if (auto number = parse<int64_t>(text)) {
                return *number;
            }
            if (auto real = parse<double>(text)) {
                return *real;
            }
            return std::string(text);
        case FieldType::Float:
            if (auto real = parse<double>(text)) {
                return *real;
            }
            return std::string(text);
        case FieldType::DateTime:
            return dateValue(text);
        case FieldType::Blob:
            return std::vector<uint8_t>(data, data + length);
        default:
            return std::string(text);
    }
}

}  // namespace

Session::Session(Settings settings) : settings_(std::move(settings)) {}

Session::~Session() {
    close();
}

void Session::open() {
    close();
    MYSQL* handle = mysql_init(nullptr);
    if (!handle) {
        throw SessionError("MariaDB: out of memory making a connection", 0);
    }
    mysql_optionsv(handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    unsigned allowLocal = 1;
    mysql_optionsv(handle, MYSQL_OPT_LOCAL_INFILE, &allowLocal);
    unsigned timeout = 10;
    mysql_optionsv(handle, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    const char* host = settings_.socket.empty() ? settings_.host.c_str() : nullptr;
    const char* socket = settings_.socket.empty() ? nullptr : settings_.socket.c_str();
    const char* database = settings_.database.empty() ? nullptr : settings_.database.c_str();
    if (!mysql_real_connect(handle, host, settings_.user.c_str(), settings_.password.c_str(),
                            database, settings_.port, socket, 0)) {
        std::string message =
            "cannot connect to MariaDB at " + describe(settings_) + ": " + mysql_error(handle);
        unsigned code = mysql_errno(handle);
        mysql_close(handle);
        throw SessionError(message, code);
    }
    handle_ = handle;
    tableNamesRead_ = false;
    // Texts written in statements compare and join (UNION) with the
    // columns of the tables orvdb makes, which use this collation.
    execute("SET collation_connection = utf8mb4_uca1400_nopad_as_ci");
}

void Session::retarget(Settings settings) {
    if (handle_) {
        throw SessionError("MariaDB database " + describe(settings_) +
                               " is open: close it before it changes database",
                           0);
    }
    settings_ = std::move(settings);
}

void Session::close() {
    if (handle_) {
        mysql_close(handle_);
        handle_ = nullptr;
    }
}

MYSQL* Session::connected() const {
    if (!handle_) {
        throw SessionError("MariaDB database " + describe(settings_) + " is not open", 0);
    }
    return handle_;
}

void Session::fail(std::string_view what) const {
    throw SessionError("MariaDB " + describe(settings_) + ": " + mysql_error(handle_) + " [" +
                           std::string(what.substr(0, 300)) + "]",
                       mysql_errno(handle_));
}

bool changesSchema(std::string_view sql) {
    size_t start = sql.find_first_not_of(" \t\r\n(");
    std::string_view word =
        start == std::string_view::npos ? std::string_view() : sql.substr(start);
    for (std::string_view reader : {"SELECT", "INSERT", "UPDATE", "DELETE", "SHOW", "SET"}) {
        if (word.size() >= reader.size() && base::sameName(word.substr(0, reader.size()), reader)) {
            return false;
        }
    }
    return true;
}

void Session::noteStatement(std::string_view sql) {
    if (changesSchema(sql)) {
        tableNamesRead_ = false;
    }
}

const std::map<std::string, Session::TableName>& Session::tableNames() {
    if (!tableNamesRead_) {
        engine::QueryResult result = query(
            "SELECT TABLE_NAME, TABLE_TYPE FROM information_schema.TABLES WHERE "
            "TABLE_SCHEMA=DATABASE()");
        tableNames_.clear();
        for (const engine::Row& row : result.rows) {
            std::string name = engine::valueToText(row[0]);
            TableName entry{name, engine::valueToText(row[1]) == "VIEW"};
            // Of two names differing only in case, the first listed is found.
            tableNames_.emplace(base::foldName(name), std::move(entry));
        }
        tableNamesRead_ = true;
    }
    return tableNames_;
}

engine::QueryResult Session::query(std::string_view sql) {
    noteStatement(sql);
    MYSQL* handle = connected();
    if (mysql_real_query(handle, sql.data(), sql.size()) != 0) {
        fail(sql);
    }
    MYSQL_RES* result = mysql_store_result(handle);
    if (!result) {
        if (mysql_field_count(handle) != 0) {
            fail(sql);
        }
        throw SessionError(
            "the statement returns no rows [" + std::string(sql.substr(0, 300)) + "]", 0);
    }
    engine::QueryResult out;
    unsigned columns = mysql_num_fields(result);
    MYSQL_FIELD* fields = mysql_fetch_fields(result);
    out.fields.reserve(columns);
    for (unsigned i = 0; i < columns; ++i) {
        out.fields.push_back(fieldInfoOf(fields[i]));
    }
    out.rows.reserve(mysql_num_rows(result));
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        unsigned long* lengths = mysql_fetch_lengths(result);
        engine::Row values;
        values.reserve(columns);
        for (unsigned i = 0; i < columns; ++i) {
            values.push_back(valueOf(out.fields[i], row[i], lengths[i]));
        }
        out.rows.push_back(std::move(values));
    }
    mysql_free_result(result);
    return out;
}

int64_t Session::execute(std::string_view sql) {
    noteStatement(sql);
    MYSQL* handle = connected();
    if (mysql_real_query(handle, sql.data(), sql.size()) != 0) {
        fail(sql);
    }
    if (MYSQL_RES* result = mysql_store_result(handle)) {
        int64_t rows = static_cast<int64_t>(mysql_num_rows(result));
        mysql_free_result(result);
        return rows;
    }
    if (mysql_field_count(handle) != 0) {
        fail(sql);
    }
    return static_cast<int64_t>(mysql_affected_rows(handle));
}

namespace {

// What the LOCAL INFILE callbacks share: the producer and what is left of
// its last piece.
struct LoadStream {
    const std::function<bool(std::string&)>* next = nullptr;
    std::string piece;
    size_t offset = 0;
    std::string error;
};

int loadInit(void** state, const char*, void* userdata) {
    *state = userdata;
    return 0;
}

int loadRead(void* state, char* buffer, unsigned int length) {
    auto& stream = *static_cast<LoadStream*>(state);
    try {
        while (stream.offset >= stream.piece.size()) {
            stream.piece.clear();
            stream.offset = 0;
            if (!(*stream.next)(stream.piece)) {
                return 0;
            }
        }
        size_t count = std::min<size_t>(length, stream.piece.size() - stream.offset);
        std::memcpy(buffer, stream.piece.data() + stream.offset, count);
        stream.offset += count;
        return static_cast<int>(count);
    } catch (const std::exception& e) {
        stream.error = e.what();
        return -1;
    }
}

void loadEnd(void*) {}

int loadError(void* state, char* buffer, unsigned int length) {
    auto& stream = *static_cast<LoadStream*>(state);
    std::snprintf(buffer, length, "%s", stream.error.c_str());
    return 1;
}

}  // namespace

void Session::loadData(std::string_view table, const std::vector<std::string>& columns,
                       int64_t expectedRows, const std::function<bool(std::string&)>& next) {
    MYSQL* handle = connected();
    LoadStream stream;
    stream.next = &next;
    mysql_set_local_infile_handler(handle, loadInit, loadRead, loadEnd, loadError, &stream);
    std::string list;
    for (const std::string& column : columns) {
        list += (list.empty() ? "" : ", ") + quoteName(column);
    }
    std::string sql = "LOAD DATA LOCAL INFILE 'orvdb-rows' INTO TABLE " +
                      quoteName(std::string(table)) + " CHARACTER SET binary (" + list + ")";
    int failed = mysql_real_query(handle, sql.data(), sql.size());
    mysql_set_local_infile_default(handle);
    if (failed != 0) {
        fail(sql);
    }
    auto loaded = static_cast<int64_t>(mysql_affected_rows(handle));
    unsigned warnings = mysql_warning_count(handle);
    if (loaded != expectedRows || warnings != 0) {
        std::string why;
        if (warnings != 0) {
            engine::QueryResult shown = query("SHOW WARNINGS LIMIT 3");
            for (const engine::Row& row : shown.rows) {
                why += "; " + engine::valueToText(row.back());
            }
        }
        throw SessionError("MariaDB " + describe(settings_) + ": table '" + std::string(table) +
                               "' took " + std::to_string(loaded) + " of " +
                               std::to_string(expectedRows) + " rows with " +
                               std::to_string(warnings) + " warnings" + why,
                           0);
    }
}

void appendLoadText(std::string& stream, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\t':
                stream += "\\t";
                break;
            case '\n':
                stream += "\\n";
                break;
            case '\r':
                stream += "\\r";
                break;
            case '\\':
                stream += "\\\\";
                break;
            case '\0':
                stream += "\\0";
                break;
            default:
                stream += c;
        }
    }
}

std::string Session::scalar(std::string_view sql) {
    engine::QueryResult result = query(sql);
    if (result.rows.empty() || result.rows.front().empty()) {
        return {};
    }
    return engine::valueToText(result.rows.front().front());
}

uint64_t Session::lastInsertId() const {
    return mysql_insert_id(connected());
}

std::string Session::quoteText(std::string_view text) const {
    std::string out(text.size() * 2 + 3, '\0');
    out[0] = '\'';
    unsigned long written = mysql_real_escape_string(connected(), out.data() + 1, text.data(),
                                                     static_cast<unsigned long>(text.size()));
    out.resize(written + 1);
    out += '\'';
    return out;
}

std::string quoteName(std::string_view name) {
    std::string out = "`";
    for (char c : name) {
        if (c == '`') {
            out += '`';
        }
        out += c;
    }
    return out + "`";
}

std::string hexLiteral(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "X'";
    out.reserve(bytes.size() * 2 + 3);
    for (uint8_t byte : bytes) {
        out += digits[byte >> 4];
        out += digits[byte & 0xF];
    }
    return out + "'";
}

std::string dateTimeLiteral(double jetDate) {
    engine::DateParts parts = engine::jetDateToParts(jetDate);
    char text[40];
    std::snprintf(text, sizeof text, "'%04d-%02d-%02d %02d:%02d:%02d'", parts.year, parts.month,
                  parts.day, parts.hour, parts.minute, parts.second);
    return text;
}

}  // namespace orvdb::data::mariadb

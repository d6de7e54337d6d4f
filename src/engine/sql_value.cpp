#include "engine/sql_value.hpp"

#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

namespace orvdb::engine {

namespace {

struct TextVisitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(int64_t value) const { return std::to_string(value); }
    std::string operator()(double value) const { return formatJetNumber(value); }
    std::string operator()(const std::string& value) const { return value; }
    std::string operator()(const std::vector<uint8_t>& value) const {
        return std::string(value.begin(), value.end());
    }
};

std::optional<double> numericValue(const SqlValue& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return static_cast<double>(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return *d;
    }
    return std::nullopt;
}

}  // namespace

std::string valueToText(const SqlValue& value) {
    return std::visit(TextVisitor{}, value);
}

std::string valueToText(const SqlValue& value, JetType type) {
    const std::optional<double> number = numericValue(value);
    if (number) {
        switch (type) {
            case JetType::DateTime:
                return formatJetDate(*number);
            case JetType::Boolean:
                return *number != 0 ? "True" : "False";
            case JetType::Single:
                return formatJetSingle(static_cast<float>(*number));
            default:
                break;
        }
    }
    return valueToText(value);
}

SqlValue readColumnValue(sqlite3_stmt* statement, int i) {
    switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER:
            return int64_t{sqlite3_column_int64(statement, i)};
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, i);
        case SQLITE_TEXT: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            return std::string(p, static_cast<size_t>(sqlite3_column_bytes(statement, i)));
        }
        case SQLITE_BLOB: {
            const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(statement, i));
            return std::vector<uint8_t>(p, p + sqlite3_column_bytes(statement, i));
        }
        default:
            return std::monostate{};
    }
}

}  // namespace orvdb::engine

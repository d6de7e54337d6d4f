#include "jet_table_rows.hpp"

#include "engine/catalog/jet_definition_mapping.hpp"
#include "engine/sql_value.hpp"

#include <cmath>

namespace orvdb::cli {

namespace {

// The value as the working store would hold it; only called for the kinds
// whose text depends on the column type (numbers, dates, Booleans).
engine::SqlValue storedNumber(const jet::Value& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return int64_t{*b ? -1 : 0};
    }
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return *d;
    }
    if (const auto* c = std::get_if<jet::Currency>(&value)) {
        return static_cast<double>(c->scaled) / 10000.0;
    }
    if (const auto* t = std::get_if<jet::DateTime>(&value)) {
        return t->days;
    }
    return std::monostate{};
}

}  // namespace

JetTableRows::JetTableRows(const jet::JetFile& file, const std::string& table)
    : reader_(file.readTable(table)) {
    for (const jet::Column& column : reader_.definition().columns) {
        fields_.push_back(engine::fieldInfoFor(column.name, engine::columnDefOf(column, nullptr)));
    }
}

bool JetTableRows::isNull(int index) const {
    const jet::Value& value = row_.values[static_cast<size_t>(index)];
    if (jet::isNull(value)) {
        return true;
    }
    // The store keeps no NaN: SQLite turns it into Null.
    if (const auto* d = std::get_if<double>(&value)) {
        return std::isnan(*d);
    }
    if (const auto* t = std::get_if<jet::DateTime>(&value)) {
        return std::isnan(t->days);
    }
    return false;
}

std::string_view JetTableRows::text(int index, std::string& scratch) const {
    const jet::Value& value = row_.values[static_cast<size_t>(index)];
    if (const auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    if (const auto* b = std::get_if<jet::Bytes>(&value)) {
        return std::string_view(reinterpret_cast<const char*>(b->data()), b->size());
    }
    if (const auto* d = std::get_if<jet::Decimal>(&value)) {
        return d->text;
    }
    if (const auto* g = std::get_if<jet::Guid>(&value)) {
        scratch = g->toString();
        return scratch;
    }
    const engine::FieldInfo& field = fields_[static_cast<size_t>(index)];
    engine::SqlValue stored = storedNumber(value);
    scratch =
        field.jetType ? engine::valueToText(stored, *field.jetType) : engine::valueToText(stored);
    return scratch;
}

bool JetTableRows::boolean(int index) const {
    engine::SqlValue stored = storedNumber(row_.values[static_cast<size_t>(index)]);
    if (const auto* i = std::get_if<int64_t>(&stored)) {
        return *i != 0;
    }
    if (const auto* d = std::get_if<double>(&stored)) {
        return *d != 0;
    }
    return false;
}

}  // namespace orvdb::cli

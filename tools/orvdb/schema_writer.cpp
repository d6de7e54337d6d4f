#include "schema_writer.hpp"

#include "engine/sql/translate/type_words.hpp"

namespace orvdb::cli {

namespace {

std::string bracket(const std::string& name) {
    return "[" + name + "]";
}

}  // namespace

void writeSchema(std::ostream& out, const engine::Catalog& catalog) {
    for (const auto* t : catalog.tables()) {
        if (t->system) {
            continue;
        }
        out << "CREATE TABLE " << bracket(t->name) << " (";
        for (size_t i = 0; i < t->columns.size(); ++i) {
            const engine::ColumnDef& c = t->columns[i];
            out << (i ? ",\n    " : "\n    ") << bracket(c.name) << " "
                << engine::sql::declarationOf(c);
            if (c.required) {
                out << " NOT NULL";
            }
            if (c.defaultValue) {
                // Access takes "=No" and "No" alike as a default; DDL only the latter.
                std::string_view value = *c.defaultValue;
                if (value.starts_with('=')) {
                    value.remove_prefix(1);
                }
                out << " DEFAULT " << value;
            }
        }
        out << "\n);\n";
        for (const auto& ix : t->indexes) {
            if (ix.foreignKey) {
                continue;  // made by the relationship below
            }
            out << "CREATE " << (ix.unique && !ix.primary ? "UNIQUE " : "") << "INDEX "
                << bracket(ix.name) << " ON " << bracket(t->name) << " (";
            for (size_t i = 0; i < ix.columns.size(); ++i) {
                out << (i ? ", " : "") << bracket(ix.columns[i].column)
                    << (ix.columns[i].descending ? " DESC" : "");
            }
            out << ")";
            if (ix.primary) {
                out << " WITH PRIMARY";
            } else if (ix.required) {
                out << " WITH DISALLOW NULL";
            } else if (ix.ignoreNulls) {
                out << " WITH IGNORE NULL";
            }
            out << ";\n";
        }
    }
    for (const auto& r : catalog.relationships()) {
        // Access's own tables relate among themselves; they are not recreated.
        const auto* child = catalog.findTableInfo(r.foreignTable);
        const auto* parent = catalog.findTableInfo(r.primaryTable);
        if (!child || !parent || child->system || parent->system) {
            continue;
        }
        auto list = [](const std::vector<std::string>& cols) {
            std::string s;
            for (size_t i = 0; i < cols.size(); ++i) {
                s += (i ? ", " : "") + bracket(cols[i]);
            }
            return s;
        };
        out << "ALTER TABLE " << bracket(r.foreignTable) << " ADD CONSTRAINT " << bracket(r.name)
            << " FOREIGN KEY (" << list(r.foreignColumns) << ") REFERENCES "
            << bracket(r.primaryTable) << " (" << list(r.primaryColumns) << ")";
        if (r.grbit & engine::relationship_flags::kCascadeUpdates) {
            out << " ON UPDATE CASCADE";
        }
        if (r.grbit & engine::relationship_flags::kCascadeDeletes) {
            out << " ON DELETE CASCADE";
        }
        if (r.grbit & engine::relationship_flags::kCascadeSetNull) {
            out << " ON DELETE SET NULL";
        }
        out << ";\n";
    }
    for (const auto* v : catalog.views()) {
        std::string sql = v->sql;
        while (!sql.empty() && (sql.back() == ';' || sql.back() == '\n' || sql.back() == '\r')) {
            sql.pop_back();
        }
        // Selects are views; action and parameter queries are procedures in Jet's DDL.
        bool view = v->isSelect() && sql.rfind("PARAMETERS", 0) != 0;
        out << (view ? "CREATE VIEW " : "CREATE PROCEDURE ") << bracket(v->name) << " AS " << sql
            << ";\n";
    }
}

}  // namespace orvdb::cli

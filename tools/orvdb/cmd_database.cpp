// Commands on one database file: create, sql, tables, schema. Except for
// create, they work the way the suite's host does: a connection object from
// the factory, a query level pushed for each statement, OpenSQL, the fields
// read by name, Next, and the level popped again.
#include "cli_context.hpp"
#include "result_writer.hpp"
#include "schema_writer.hpp"

#include <orvdb/strings.h>
#include <orvdb/orvdb.hpp>

#include <iostream>
#include <stdexcept>

#include "data/database.hpp"
#include "data/user_tables_query.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/store/working_store.hpp"

namespace orvdb::cli {

namespace {

// Runs one statement on a query. The cursor keeps a failing statement quiet
// (a select finds no row, an action statement changes nothing); its
// lastError() tells a failure from an empty result, and the CLI reports it.
bool runStatement(Query& query, std::string_view sql, bool select) {
    const bool found = select ? query.select(sql) : query.execute(sql);
    if (!found) {
        const std::string error = query.lastError();
        if (!error.empty()) {
            throw std::runtime_error(error);
        }
    }
    return found;
}

engine::FieldType fieldTypeOfKind(int32_t kindCode) {
    switch (kindCode) {
        case 0:
            return engine::FieldType::Integer;
        case 1:
            return engine::FieldType::Float;
        case 6:
            return engine::FieldType::SmallInt;
        case 8:
            return engine::FieldType::AutoInc;
        case 13:
            return engine::FieldType::Boolean;
        default:
            return engine::FieldType::Text;
    }
}

// The result of a select, read through the query cursor into a dataset for
// the result writer: the texts Getstring gives, NULL kept apart, and the
// field kind deciding which columns JSON writes as numbers or booleans.
class CursorRows : public engine::Dataset {
public:
    explicit CursorRows(Query& query) {
        const int count = query.fieldCount();
        for (int i = 0; i < count; ++i) {
            engine::FieldInfo field;
            field.name = query.fieldName(i);
            field.type = fieldTypeOfKind(kindCode(query, i));
            fields_.push_back(std::move(field));
        }
        for (bool row = query.opened(); row; row = query.next()) {
            engine::Row values;
            for (const engine::FieldInfo& field : fields_) {
                values.push_back(query.isNull(field.name)
                                     ? engine::SqlValue{}
                                     : engine::SqlValue{query.getString(field.name)});
            }
            rows_.push_back(std::move(values));
        }
        open_ = true;
        description_ = "the query result";
    }

private:
    // Types outside the driver's kinds (currency, GUID, ...) print as text.
    static int32_t kindCode(Query& query, int index) {
        OrvBstr name = nullptr;
        int32_t kind = -1;
        int32_t size = 0;
        const OrvHResult status =
            query.get()->GetFieldInternalTypeStructure(index, &name, &kind, &size);
        OrvBstrFree(name);
        return ORV_SUCCEEDED(status) ? kind : -1;
    }
};

// Statements from stdin: one per line; a line ending in '\' continues.
std::vector<std::string> readStatements(std::istream& in) {
    std::vector<std::string> out;
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.back() == '\\') {
            current += line.substr(0, line.size() - 1) + "\n";
            continue;
        }
        current += line;
        if (current.find_first_not_of(" \t") != std::string::npos) {
            out.push_back(current);
        }
        current.clear();
    }
    if (current.find_first_not_of(" \t\n") != std::string::npos) {
        out.push_back(current);
    }
    return out;
}

// A select that returns rows; SELECT ... INTO and everything else are action
// statements. A statement that does not parse fails here with the engine's
// message.
bool returnsRows(const std::string& sql) {
    engine::sql::Statement parsed = engine::sql::parseStatement(sql);
    return parsed.isSelect() &&
           std::get<engine::sql::SelectStatement>(parsed.body).intoTable.empty();
}

struct SqlOptions {
    std::string file;
    std::vector<std::string> statements;
    std::string format = "tsv";
    bool create = false;
};

void runSql(const SqlOptions& o) {
    OutputFormat format = parseOutputFormat(o.format);
    if (o.create && engine::detectFileFormat(o.file) == engine::FileFormat::Missing) {
        engine::WorkingStore::createDatabase(o.file);
    }
    Database db = Database::openFile(o.file);
    std::vector<std::string> statements = o.statements;
    if (statements.empty()) {
        statements = readStatements(std::cin);
    }
    for (const auto& sql : statements) {
        const bool select = returnsRows(sql);
        QueryScope query(db);
        runStatement(*query, sql, select);
        if (select) {
            CursorRows rows(*query);
            writeResult(std::cout, rows, format);
        }
    }
    // Written back now, so that a failure reaches the exit status.
    dynamic_cast<data::torvc_Database&>(*db.get()).connection().flush();
}

void listTables(const std::string& file) {
    Database db = Database::openFile(file);
    QueryScope query(db);
    for (bool row = runStatement(*query, data::userTablesQuery(), true); row; row = query->next()) {
        std::cout << query->getString("Name") << '\n';
    }
}

void printSchema(const std::string& file) {
    Database db = Database::openFile(file);
    // The definitions of indexes and relationships are the engine's; the
    // connection object opened the file and owns the connection to it.
    auto& database = dynamic_cast<data::torvc_Database&>(*db.get());
    writeSchema(std::cout, database.connection().store().catalog());
}

}  // namespace

void addDatabaseCommands(CLI::App& app) {
    static std::string createFile;
    auto* create = app.add_subcommand("create", "Create a new empty database");
    create->add_option("FILE", createFile, "The database file to create")->required();
    create->callback([] { engine::WorkingStore::createDatabase(createFile); });

    static SqlOptions sql;
    auto* sqlCmd = app.add_subcommand(
        "sql", "Run Access SQL statements (from the arguments, or one per line from stdin)");
    sqlCmd->add_option("FILE", sql.file, "The database file")->required();
    sqlCmd->add_option("STATEMENT", sql.statements, "Statements, run in order");
    sqlCmd->add_option("--format", sql.format, "Output of selects: tsv, csv, json or table")
        ->check(CLI::IsMember({"tsv", "csv", "json", "table"}));
    sqlCmd->add_flag("--create", sql.create, "Create the database first when it does not exist");
    sqlCmd->callback([] { runSql(sql); });

    static std::string tablesFile;
    auto* tables = app.add_subcommand("tables", "List the user tables of a database");
    tables->add_option("FILE", tablesFile, "The database file")->required();
    tables->callback([] { listTables(tablesFile); });

    static std::string schemaFile;
    auto* schema = app.add_subcommand(
        "schema", "Print Access SQL that recreates the tables, indexes and relationships");
    schema->add_option("FILE", schemaFile, "The database file")->required();
    schema->callback([] { printSchema(schemaFile); });
}

}  // namespace orvdb::cli

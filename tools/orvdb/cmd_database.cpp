// Commands on one database file: create, sql, tables, schema.
#include "cli_context.hpp"
#include "result_writer.hpp"
#include "schema_writer.hpp"

#include "data/engine/connection.hpp"
#include "data/engine/query_dataset.hpp"
#include "data/engine/sql/front_end.hpp"

#include <iostream>
#include <memory>

namespace orvdb::cli {

namespace {

std::unique_ptr<engine::Connection> openDatabase(const std::string& file) {
    auto conn = std::make_unique<engine::Connection>();
    conn->setConnectionString("Data Source=" + file + ";");
    conn->open();
    return conn;
}

// Statements from stdin: one per line; a line ending in '\' continues.
std::vector<std::string> readStatements(std::istream& in) {
    std::vector<std::string> out;
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.back() == '\\') {
            current += line.substr(0, line.size() - 1) + "\n";
            continue;
        }
        current += line;
        if (current.find_first_not_of(" \t") != std::string::npos) out.push_back(current);
        current.clear();
    }
    if (current.find_first_not_of(" \t\n") != std::string::npos) out.push_back(current);
    return out;
}

struct SqlOptions {
    std::string file;
    std::vector<std::string> statements;
    std::string format = "tsv";
    bool create = false;
};

void runSql(const SqlOptions& o) {
    OutputFormat format = parseOutputFormat(o.format);
    if (o.create && engine::detectFileFormat(o.file) == engine::FileFormat::Missing)
        engine::WorkingStore::createDatabase(o.file);
    auto conn = openDatabase(o.file);
    std::vector<std::string> statements = o.statements;
    if (statements.empty()) statements = readStatements(std::cin);
    for (const auto& sql : statements) {
        engine::sql::Statement parsed = engine::sql::parseStatement(sql);
        if (parsed.isSelect() && std::get<engine::sql::SelectStatement>(parsed.body).intoTable.empty()) {
            engine::QueryDataset q(*conn);
            q.setSql(sql);
            q.open();
            writeResult(std::cout, q, format);
        } else {
            conn->execute(sql);
        }
    }
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
    tables->callback([] {
        auto conn = openDatabase(tablesFile);
        for (const auto& name : conn->userTableNames()) std::cout << name << '\n';
    });

    static std::string schemaFile;
    auto* schema = app.add_subcommand(
        "schema", "Print Access SQL that recreates the tables, indexes and relationships");
    schema->add_option("FILE", schemaFile, "The database file")->required();
    schema->callback([] {
        auto conn = openDatabase(schemaFile);
        writeSchema(std::cout, conn->store().catalog());
    });
}

}  // namespace orvdb::cli

// Commands that describe or export a whole database file: info, export.
#include "cli_context.hpp"
#include "jet_table_rows.hpp"
#include "result_writer.hpp"

#include "engine/dataset/connection.hpp"
#include "engine/dataset/query_dataset.hpp"
#include "jet/read/database_info.hpp"
#include "jet/read/jet_file.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>

namespace orvdb::cli {

namespace {

// The global --password reaches the engine as its default password.
std::string connectionStringFor(const std::string& file) {
    return "Data Source=" + file + ";";
}

struct InfoOptions {
    std::string file;
    const std::string* password = nullptr;
};

void runInfo(const InfoOptions& o) {
    if (engine::detectFileFormat(o.file) == engine::FileFormat::Jet4) {
        std::optional<std::string> pw;
        if (o.password && !o.password->empty()) {
            pw = *o.password;
        }
        jet::JetFile file = jet::JetFile::open(o.file, pw);
        std::cout << jet::formatDatabaseInfo(jet::describeDatabase(file));
        return;
    }
    engine::Connection conn;
    conn.setConnectionString(connectionStringFor(o.file));
    conn.open();
    std::cout << "format: orvdb working store (SQLite)\n";
    for (const auto& name : conn.userTableNames()) {
        engine::QueryDataset q(conn);
        q.setSql("SELECT Count(*) FROM [" + name + "]");
        q.open();
        std::cout << "table: " << name << " (" << q.getText(0) << " rows)\n";
    }
}

struct ExportOptions {
    std::string file;
    std::vector<std::string> tables;
    std::string format = "csv";
    std::string outDir;
    bool throughEngine = false;
    const std::string* password = nullptr;
};

// Writes one table, prepared (table found, rows opened) before its file is made.
using TableWriter = std::function<void(std::ostream&)>;

// Writes each table where the options say: all to stdout (each after a
// "-- name" line when there are several), or one file per table.
void writeTables(const ExportOptions& o, const std::vector<std::string>& tables,
                 const std::function<TableWriter(const std::string&)>& prepare) {
    if (!o.outDir.empty()) {
        std::filesystem::create_directories(o.outDir);
    }
    for (const auto& table : tables) {
        TableWriter writeTable = prepare(table);
        if (o.outDir.empty()) {
            if (tables.size() > 1) {
                std::cout << "-- " << table << '\n';
            }
            writeTable(std::cout);
            continue;
        }
        std::filesystem::path target = std::filesystem::path(o.outDir) / (table + "." + o.format);
        std::ofstream out(target, std::ios::binary);
        if (!out) {
            throw std::runtime_error("Cannot write '" + target.string() + "'.");
        }
        writeTable(out);
        if (!out.flush()) {
            throw std::runtime_error("Cannot write '" + target.string() + "'.");
        }
    }
}

// Exporting only reads: an Access file is streamed table by table straight
// from its pages, without loading it into a working store and indexing it.
void exportJetFile(const ExportOptions& o, OutputFormat format) {
    std::optional<std::string> pw;
    if (o.password && !o.password->empty()) {
        pw = *o.password;
    }
    jet::JetFile file = jet::JetFile::open(o.file, pw);
    std::vector<std::string> tables = o.tables.empty() ? file.tableNames() : o.tables;
    writeTables(o, tables, [&](const std::string& table) -> TableWriter {
        auto rows = std::make_shared<JetTableRows>(file, table);
        return [rows, format](std::ostream& out) { writeResult(out, *rows, format); };
    });
}

void runExport(const ExportOptions& o) {
    OutputFormat format = parseOutputFormat(o.format);
    if (!o.throughEngine && engine::detectFileFormat(o.file) == engine::FileFormat::Jet4) {
        exportJetFile(o, format);
        return;
    }
    engine::Connection conn;
    conn.setConnectionString(connectionStringFor(o.file));
    conn.open();
    std::vector<std::string> tables = o.tables.empty() ? conn.userTableNames() : o.tables;
    writeTables(o, tables, [&](const std::string& table) -> TableWriter {
        auto q = std::make_shared<engine::QueryDataset>(conn);
        q->setSql("SELECT * FROM [" + table + "]");
        q->open();
        return [q, format](std::ostream& out) { writeResult(out, *q, format); };
    });
}

}  // namespace

void addFileCommands(CLI::App& app, const GlobalOptions& options) {
    static InfoOptions info;
    info.password = &options.password;
    auto* infoCmd = app.add_subcommand(
        "info", "Describe a database: format, code page, sort order, pages, tables and row counts");
    infoCmd->add_option("FILE", info.file, "The database file")->required();
    infoCmd->callback([] { runInfo(info); });

    static ExportOptions ex;
    ex.password = &options.password;
    auto* exportCmd =
        app.add_subcommand("export", "Export tables (all user tables when none is named)");
    exportCmd->add_option("FILE", ex.file, "The database file")->required();
    exportCmd->add_option("TABLE", ex.tables, "Tables to export");
    exportCmd->add_option("--format", ex.format, "csv, tsv or json")
        ->check(CLI::IsMember({"csv", "tsv", "json"}));
    exportCmd->add_option("--out", ex.outDir, "Folder for one file per table (default: stdout)");
    // Hidden: reads an Access file through the working store, as every other
    // command does; kept to compare the two paths.
    exportCmd
        ->add_flag("--through-engine", ex.throughEngine, "Read Access files through the SQL engine")
        ->group("");
    exportCmd->callback([] { runExport(ex); });
}

}  // namespace orvdb::cli

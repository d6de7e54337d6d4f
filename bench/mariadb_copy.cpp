// An Access file copied to a MariaDB server: `orvdb copy` (in process,
// copyToServer: read through the engine, multi-row INSERTs of about 1 MB)
// against mariadb-import (LOAD DATA LOCAL INFILE) of the same rows written
// as CSV, into tables of the same definition, side by side in one run.
//
//   bench_mariadb_copy [FILE.mdb] [--server=mariadb://user:pw@host:port/]
//
// FILE defaults to the ~110 MB large file (large_file.hpp) generated into
// /tmp when missing; the server to ORVDB_MARIADB (scripts/mariadb-test-server.sh).
// Prints rows, wall time and rows/s of each side; the CSV side also the time
// taken to write the CSV files (not part of its rate).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_support.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/session.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/jet_datetime.hpp"
#include "large_file.hpp"

namespace {

namespace fs = std::filesystem;
using namespace orvdb;

// A CSV field as LOAD DATA reads it with FIELDS ENCLOSED BY '"' ESCAPED BY '\\'.
std::string csvField(const engine::FieldInfo& field, const engine::SqlValue& value) {
    if (engine::isNull(value)) {
        return "\\N";
    }
    if (field.type == engine::FieldType::DateTime) {
        double days = std::holds_alternative<double>(value)
                          ? std::get<double>(value)
                          : static_cast<double>(std::get<int64_t>(value));
        std::string quoted = data::mariadb::dateTimeLiteral(days);
        return "\"" + quoted.substr(1, quoted.size() - 2) + "\"";
    }
    if (field.type == engine::FieldType::Boolean) {
        return engine::valueToText(value) == "0" ? "0" : "1";
    }
    if (auto real = std::get_if<double>(&value)) {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", *real);
        return text;
    }
    std::string text = engine::valueToText(value);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

int run(const std::vector<std::string>& argv) {
    int status = 0;
    pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string url = std::getenv("ORVDB_MARIADB") ? std::getenv("ORVDB_MARIADB") : "";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--server=", 0) == 0) {
            url = arg.substr(9);
        } else {
            file = arg;
        }
    }
    if (url.empty()) {
        std::cerr << "no server: set ORVDB_MARIADB or pass --server=mariadb://...\n";
        return 2;
    }
    if (file.empty()) {
        file = "/tmp/orvdb-bench-large.mdb";
        if (!fs::exists(file)) {
            std::cerr << "generating " << file << "\n";
            bench::generateLargeFile(fs::path(ORVDB_BENCH_FIXTURES) / "jet4" / "northwind.mdb",
                                     file, uintmax_t{110} << 20);
        }
    }
    data::mariadb::Settings server = data::mariadb::parseUrl(url);
    data::mariadb::Settings viaCopy = server;
    viaCopy.database = "orvdb_bench_copy";
    data::mariadb::Settings viaImport = server;
    viaImport.database = "orvdb_bench_import";
    std::printf("file %s (%.1f MB), server %s\n", file.c_str(),
                static_cast<double>(fs::file_size(file)) / 1e6,
                data::mariadb::describe(server).c_str());

    // orvdb copy.
    // The progress marks where the rows start and end: before them the
    // file is opened, after them indexes, keys and views are made.
    bench::Stopwatch copyClock;
    double rowsStart = -1;
    double rowsEnd = 0;
    data::mariadb::CopyReport report =
        data::mariadb::copyToServer(file, viaCopy, [&](const data::mariadb::CopyProgress& step) {
            double now = copyClock.seconds();
            if (rowsStart < 0) {
                rowsStart = now;
            }
            rowsEnd = now;
            (void)step;
        });
    double copySeconds = copyClock.seconds();
    double copyCpu = copyClock.cpuSeconds();

    // The same rows as CSV, one file per table named after it.
    bench::ScratchDir csvDir;
    bench::Stopwatch csvClock;
    engine::Connection access;
    access.setConnectionString("Data Source=" + file);
    access.open();
    std::vector<std::string> csvFiles;
    int64_t csvRows = 0;
    for (const std::string& table : access.userTableNames()) {
        engine::QueryResult rows = access.query("SELECT * FROM [" + table + "]");
        std::string path = csvDir.file(table + ".csv");
        std::ofstream out(path, std::ios::binary);
        for (const engine::Row& row : rows.rows) {
            for (size_t i = 0; i < row.size(); ++i) {
                out << (i ? "," : "") << csvField(rows.fields[i], row[i]);
            }
            out << '\n';
        }
        csvFiles.push_back(path);
        csvRows += static_cast<int64_t>(rows.rows.size());
    }
    access.close();
    double csvSeconds = csvClock.seconds();

    // Empty tables of the same definitions, then mariadb-import.
    data::mariadb::Session admin(server);
    admin.open();
    admin.execute("DROP DATABASE IF EXISTS orvdb_bench_import");
    admin.execute("CREATE DATABASE orvdb_bench_import");
    for (const std::string& path : csvFiles) {
        std::string table = fs::path(path).stem().string();
        admin.execute("CREATE TABLE orvdb_bench_import." + data::mariadb::quoteName(table) +
                      " LIKE orvdb_bench_copy." + data::mariadb::quoteName(table));
    }
    std::vector<std::string> import = {"mariadb-import",
                                       "--no-defaults",
                                       "--local",
                                       "--silent",
                                       "--host=" + viaImport.host,
                                       "--port=" + std::to_string(viaImport.port),
                                       "--user=" + viaImport.user,
                                       "--password=" + viaImport.password,
                                       "--fields-terminated-by=,",
                                       "--fields-optionally-enclosed-by=\"",
                                       "--fields-escaped-by=\\",
                                       "--lines-terminated-by=\n",
                                       viaImport.database};
    import.insert(import.end(), csvFiles.begin(), csvFiles.end());
    bench::Stopwatch importClock;
    int importStatus = run(import);
    double importSeconds = importClock.seconds();
    int64_t imported = 0;
    for (const std::string& path : csvFiles) {
        imported +=
            std::stoll(admin.scalar("SELECT COUNT(*) FROM orvdb_bench_import." +
                                    data::mariadb::quoteName(fs::path(path).stem().string())));
    }

    std::printf("%-34s %10s %10s %12s\n", "", "rows", "wall s", "rows/s");
    std::printf("%-34s %10lld %10.2f %12.0f   (CPU of this process %.2f s)\n",
                "orvdb copy (copyToServer)", static_cast<long long>(report.rows), copySeconds,
                static_cast<double>(report.rows) / copySeconds, copyCpu);
    std::printf("%-34s %10lld %10.2f %12.0f   (exit %d; writing the CSV took %.2f s)\n",
                "mariadb-import of the CSV", static_cast<long long>(imported), importSeconds,
                static_cast<double>(imported) / importSeconds, importStatus, csvSeconds);
    std::printf(
        "  of which: opening the file %.2f s, tables and rows %.2f s (%.0f rows/s), "
        "indexes, keys and views %.2f s\n",
        rowsStart, rowsEnd - rowsStart, static_cast<double>(report.rows) / (rowsEnd - rowsStart),
        copySeconds - rowsEnd);
    std::printf("ratio orvdb / mariadb-import (wall): %.2f; rows alone: %.2f\n",
                copySeconds / importSeconds, (rowsEnd - rowsStart) / importSeconds);
    if (imported != csvRows || report.rows != csvRows) {
        std::printf("ROW COUNTS DIFFER: csv %lld\n", static_cast<long long>(csvRows));
        return 1;
    }
    return importStatus;
}

// bench_merge_providers [--rows=N] [--keep]: the merge of two generated
// provider folders of N article rows each (default 100,000), with the
// configuration of a library database: key offsetting of referring and
// referred fields, a relationship dropped and re-created, a tariff clean-up.
// The data are generated first (not timed); the merge then runs in a child
// process of its own, so that its wall time, CPU time and peak resident set
// are the merge's alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench_support.hpp"
#include "data/database.hpp"
#include "data/database_factory.hpp"
#include "engine/store/working_store.hpp"
#include "host/host_services.hpp"
#include "host/utf16.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"

using namespace orvdb;

namespace {

ComPtr<iDatabase> create(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    engine::WorkingStore::createDatabase(path);
    return data::createDatabase(u"BENCH", u"0", u"BENCH", true, u"", host::toUtf16(path), nullptr);
}

void execute(iDatabase& db, const std::string& sql) {
    dynamic_cast<data::torvc_Database&>(db).connection().execute(sql);
}

void makeLibrary(const std::string& root) {
    ComPtr<iDatabase> db = create(root + "XLib.Mdb");
    for (const char* sql :
         {"CREATE TABLE MergeKey_Element (ID COUNTER PRIMARY KEY, FromTablename VARCHAR(64), "
          "FromFieldname VARCHAR(64), toTablename VARCHAR(64), ToFieldname VARCHAR(64), "
          "[condition] VARCHAR(255))",
          "CREATE TABLE MergeKey_toChange (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
          "Fieldname VARCHAR(64))",
          "CREATE TABLE MergeKey_Primary (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
          "Fieldname VARCHAR(64))",
          "CREATE TABLE MergeKey_Forbiden (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
          "Fieldname VARCHAR(64))",
          "CREATE TABLE MergeTarifQueries (ID COUNTER PRIMARY KEY, mtLog VARCHAR(100), "
          "mtQuery VARCHAR(255))",
          "CREATE TABLE FieldSize (ID COUNTER PRIMARY KEY, FieldName VARCHAR(64), "
          "Tablename VARCHAR(64))",
          "INSERT INTO MergeKey_Element (FromTablename, FromFieldname, toTablename, "
          "ToFieldname, [condition]) VALUES ('Article', 'FamilyID', 'Family', 'ID', '')",
          "INSERT INTO MergeKey_Element (FromTablename, FromFieldname, toTablename, "
          "ToFieldname, [condition]) VALUES ('Article', 'ParentID', 'Article', 'ID', '')",
          "INSERT INTO MergeTarifQueries (mtLog, mtQuery) VALUES ('tariffs', "
          "'DELETE FROM Tarif')",
          "INSERT INTO FieldSize (FieldName, Tablename) VALUES ('Reference', 'Article')"}) {
        execute(*db, sql);
    }
}

void makeProvider(const std::string& root, const std::string& name, int rows) {
    ComPtr<iDatabase> db = create(root + "Providers/" + name + "/XLibData.mdb");
    execute(*db, "CREATE TABLE Family (ID COUNTER PRIMARY KEY, Name VARCHAR(30))");
    execute(*db,
            "CREATE TABLE Article (ID COUNTER PRIMARY KEY, FamilyID LONG, ParentID LONG, "
            "Reference VARCHAR(30), Price DOUBLE, Note VARCHAR(100))");
    execute(*db,
            "ALTER TABLE Article ADD CONSTRAINT ArticleFamily FOREIGN KEY (FamilyID) "
            "REFERENCES Family (ID)");
    execute(*db, "CREATE TABLE Tarif (ID COUNTER PRIMARY KEY, Price DOUBLE)");
    db->SavePoint();
    for (int i = 1; i <= 100; ++i) {
        execute(*db, "INSERT INTO Family (ID, Name) VALUES (" + std::to_string(i) + ", '" + name +
                         " family " + std::to_string(i) + "')");
    }
    for (int i = 1; i <= rows; ++i) {
        execute(*db,
                "INSERT INTO Article (ID, FamilyID, ParentID, Reference, Price, Note) VALUES (" +
                    std::to_string(i) + ", " + std::to_string(1 + i % 100) + ", " +
                    std::to_string(i / 2) + ", '" + name + "-" + std::to_string(i) + "', " +
                    std::to_string(i % 1000) + ".25, 'note of article " + std::to_string(i) + "')");
    }
    db->Commit();
}

void configureHost(const std::string& root) {
    host::HostServices services;
    services.progress = host::makeProgress(host::ProgressKind::none);
    host::installHostServices(std::move(services));
    for (int entry : {9, 28, 29, 30}) {
        host::registry()->set(entry, root);
    }
}

int mergeOnly(const std::string& root) {
    configureHost(root);
    ::setenv("TEMP", (root + "tmp").c_str(), 1);
    std::filesystem::create_directories(root + "tmp");
    merge::TMergeAccessDatabase run;
    run.InitParams(merge::makeKindsDatabaseContainer(host::databases()), "P1", "P2", "OUT",
                   merge::TMergeAccessDatabase::kDefaultOffset);
    OrvHResult result = run.Merge();
    host::databases()->unregisterDatabase("GAMMISTE");
    host::databases()->unregisterDatabase("XLIB");
    std::printf("merge result %d, %zu log lines, %zu rejected inserts\n", result,
                run.lastLog().size(), run.rejectedInserts().size());
    return result == ORV_S_OK && run.rejectedInserts().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int rows = 100000;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            rows = std::atoi(argv[i] + 7);
        } else if (std::strcmp(argv[i], "--keep") == 0) {
            keep = true;
        } else if (std::strcmp(argv[i], "--merge-only") == 0 && i + 1 < argc) {
            return mergeOnly(argv[i + 1]);
        }
    }
    bench::ScratchDir scratch;
    const std::string root = scratch.file("root") + "/";
    configureHost(root);
    auto started = std::chrono::steady_clock::now();
    makeLibrary(root);
    makeProvider(root, "P1", rows);
    makeProvider(root, "P2", rows);
    std::printf("generated two providers of %d articles in %.1f s\n", rows,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());

    started = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        char self[] = "/proc/self/exe";
        std::string rootArgument = root;
        char* arguments[] = {self, const_cast<char*>("--merge-only"), rootArgument.data(), nullptr};
        ::execv(self, arguments);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                       usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    std::printf("merge: wall %.1f s, CPU %.1f s, peak resident set %.1f MiB, exit %d\n", wall, cpu,
                usage.ru_maxrss / 1024.0, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    if (keep) {
        std::printf("kept: %s\n", root.c_str());
        std::fflush(stdout);
        std::quick_exit(0);
    }
    return 0;
}

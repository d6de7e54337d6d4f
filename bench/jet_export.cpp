// Full export of every user table of a Jet file: orvdb (mirror + select,
// written as CSV) against mdb-export on the same tables.
//
//   bench_jet_export [FILE.mdb] [runs]
//
// Prints the median wall time of each side, the ratio and the peak resident
// memory of each side.
#include "data/engine/connection.hpp"
#include "data/engine/query_dataset.hpp"

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string csvCell(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// One run of orvdb: open (mirror) and write every table as CSV to /dev/null.
size_t exportWithOrvdb(const std::string& file, const std::vector<std::string>& tables) {
    orvdb::engine::Connection c;
    c.setConnectionString("Data Source=" + file + ";");
    c.open();
    std::ofstream out("/dev/null");
    size_t rows = 0;
    for (const auto& t : tables) {
        orvdb::engine::QueryDataset q(c);
        q.setSql("SELECT * FROM [" + t + "]");
        q.open();
        for (int i = 0; i < q.fieldCount(); ++i) out << (i ? "," : "") << csvCell(q.field(i).name);
        out << '\n';
        for (bool more = q.first(); more; more = q.next(), ++rows) {
            for (int i = 0; i < q.fieldCount(); ++i)
                out << (i ? "," : "") << (q.isNull(i) ? std::string() : csvCell(q.getText(i)));
            out << '\n';
        }
    }
    return rows;
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

int main(int argc, char** argv) {
    std::string file = argc > 1 && argv[1][0] ? std::string(argv[1])
                                              : std::string(ORVDB_BENCH_FIXTURES) + "/jet4/northwind.mdb";
    int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<std::string> tables;
    {
        orvdb::engine::Connection c;
        c.setConnectionString("Data Source=" + file + ";");
        c.open();
        tables = c.userTableNames();
    }
    std::vector<double> ours, theirs;
    size_t rows = 0;
    for (int r = 0; r < runs; ++r) {
        auto a = Clock::now();
        rows = exportWithOrvdb(file, tables);
        auto b = Clock::now();
        ours.push_back(seconds(a, b));
    }
    struct rusage self {};
    getrusage(RUSAGE_SELF, &self);

    bool haveMdbTools = std::system("command -v mdb-export >/dev/null 2>&1") == 0;
    if (haveMdbTools) {
        for (int r = 0; r < runs; ++r) {
            auto a = Clock::now();
            for (const auto& t : tables) {
                std::string cmd = "mdb-export " + shellQuote(file) + " " + shellQuote(t) + " >/dev/null";
                if (std::system(cmd.c_str()) != 0) std::cerr << "mdb-export failed on " << t << '\n';
            }
            auto b = Clock::now();
            theirs.push_back(seconds(a, b));
        }
    }
    struct rusage children {};
    getrusage(RUSAGE_CHILDREN, &children);

    std::printf("file: %s (%zu user tables, %zu rows), %d runs\n", file.c_str(), tables.size(), rows,
                runs);
    std::printf("orvdb export (median):      %.3f s, peak RSS %ld MB\n", median(ours),
                self.ru_maxrss / 1024);
    if (haveMdbTools) {
        std::printf("mdb-export (median):        %.3f s, peak RSS %ld MB (largest child)\n",
                    median(theirs), children.ru_maxrss / 1024);
        std::printf("ratio mdb-export / orvdb:   %.2f\n", median(theirs) / median(ours));
    } else {
        std::printf("mdb-export not installed: no comparison\n");
    }
    return 0;
}

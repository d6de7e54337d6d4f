// Full export of every user table of a Jet file: `orvdb export FILE --format
// csv --out DIR` against mdb-export run once per table (its output redirected
// to one file per table in a folder as well), each side as child processes.
//
//   bench_jet_export [FILE.mdb] [runs] [--orvdb=PATH] [--engine]
//
// Prints the median wall time and the median CPU time (user + system of the
// children) of each side, their ratios and the peak resident set of each side
// (the largest child, from wait4). --engine adds a third side: the same
// export through the SQL engine (the file loaded into a working store first).
// PATH defaults to the orvdb built next to this benchmark.
#include "jet/read/jet_file.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench_support.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct ChildFigures {
    double cpuSeconds = 0;
    long peakKb = 0;
};

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

// Runs argv with stdout to `outPath` (or /dev/null) and stderr kept; the
// figures are this child's alone.
ChildFigures runChild(const std::vector<std::string>& argv, const std::string& outPath) {
    pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (pid == 0) {
        int fd = ::open(outPath.empty() ? "/dev/null" : outPath.c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) {
            _exit(126);
        }
        std::vector<char*> args;
        for (const auto& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "failed: " << argv[0] << " " << (argv.size() > 1 ? argv[1] : "") << " ...\n";
        std::exit(1);
    }
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

struct Side {
    std::vector<double> wall, cpu;
    long peakKb = 0;
};

void record(Side& side, Clock::time_point start, const std::vector<ChildFigures>& children) {
    side.wall.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    double cpu = 0;
    for (const auto& c : children) {
        cpu += c.cpuSeconds;
        side.peakKb = std::max(side.peakKb, c.peakKb);
    }
    side.cpu.push_back(cpu);
}

// One run of orvdb export into a fresh folder.
void runOrvdb(Side& side, const std::string& orvdb, const std::string& file, bool engine) {
    orvdb::bench::ScratchDir out;
    std::vector<std::string> argv = {orvdb, "export", file,           "--format",
                                     "csv", "--out",  out.file("csv")};
    if (engine) {
        argv.push_back("--through-engine");
    }
    auto start = Clock::now();
    ChildFigures child = runChild(argv, "");
    record(side, start, {child});
}

void runMdbExport(Side& side, const std::string& file, const std::vector<std::string>& tables) {
    orvdb::bench::ScratchDir out;
    std::vector<ChildFigures> children;
    auto start = Clock::now();
    for (const auto& t : tables) {
        children.push_back(runChild({"mdb-export", file, t}, out.file(t + ".csv")));
    }
    record(side, start, children);
}

void print(const char* label, const Side& side) {
    std::printf("%-34s wall %7.3f s   cpu %7.3f s   peak RSS %4ld MB\n", label, median(side.wall),
                median(side.cpu), side.peakKb / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    std::string file = std::string(ORVDB_BENCH_FIXTURES) + "/jet4/northwind.mdb";
    int runs = 3;
    fs::path orvdb = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" /
                     "orvdb" / "orvdb";
    bool engine = false;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--orvdb=", 0) == 0) {
            orvdb = arg.substr(8);
        } else if (arg == "--engine") {
            engine = true;
        } else if (positional++ == 0) {
            if (!arg.empty()) {
                file = arg;
            }
        } else {
            runs = std::max(1, std::atoi(arg.c_str()));
        }
    }
    if (!fs::exists(orvdb)) {
        std::cerr << "no orvdb at " << orvdb << " (build orvdb_cli or pass --orvdb=PATH)\n";
        return 1;
    }
    std::vector<std::string> tables = orvdb::jet::JetFile::open(file).tableNames();
    size_t rows = 0;
    {
        orvdb::jet::JetFile jet = orvdb::jet::JetFile::open(file);
        for (const auto& t : tables) {
            orvdb::jet::TableReader reader = jet.readTable(t);
            for (orvdb::jet::Row row; reader.next(row);) {
                ++rows;
            }
        }
    }

    Side streamed, throughEngine, mdb;
    bool haveMdbTools = std::system("command -v mdb-export >/dev/null 2>&1") == 0;
    for (int r = 0; r < runs; ++r) {
        runOrvdb(streamed, orvdb.string(), file, false);
        if (engine) {
            runOrvdb(throughEngine, orvdb.string(), file, true);
        }
        if (haveMdbTools) {
            runMdbExport(mdb, file, tables);
        }
    }

    std::printf("file: %s (%.1f MB, %zu user tables, %zu rows), %d runs, medians\n", file.c_str(),
                static_cast<double>(fs::file_size(file)) / 1e6, tables.size(), rows, runs);
    print("orvdb export", streamed);
    if (engine) {
        print("orvdb export --through-engine", throughEngine);
    }
    if (!haveMdbTools) {
        std::printf("mdb-export not installed: no comparison\n");
        return 0;
    }
    print("mdb-export, one process per table", mdb);
    std::printf("ratio mdb-export / orvdb:          wall %.2f   cpu %.2f\n",
                median(mdb.wall) / median(streamed.wall), median(mdb.cpu) / median(streamed.cpu));
    return 0;
}

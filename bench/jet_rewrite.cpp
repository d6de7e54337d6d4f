// Compact rewrite of a large Jet file (read it, write it again beside
// itself, rename over it) against `cp` of the same file on the same disk.
//
//   bench_jet_rewrite [WORK_DIR] [runs] [target MB]
//
// The large file is generated first (once, kept in WORK_DIR): northwind's
// Orders and Order Details repeated with shifted order ids until the file
// passes the target size. Each side runs in a child process so that its
// peak resident set is its own. Prints the median wall times, MB/s, the
// ratio and the peak memory of each side.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/dataset/connection.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"
#include "large_file.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long lastChildPeakKb = 0;

// Runs work in a child; its wall time in seconds (the parent's view).
double timedChild(const std::function<void()>& work) {
    auto start = Clock::now();
    // Or the child would print what this process printed so far once more.
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        try {
            work();
            _exit(0);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(1);
        }
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    lastChildPeakKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("a benchmark child failed");
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "orvdb-bench";
    int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    uintmax_t targetMb = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 110;
    fs::create_directories(dir);
    fs::path large = dir / "large.mdb";
    fs::path source = fs::path(ORVDB_BENCH_FIXTURES) / "jet4" / "northwind.mdb";
    try {
        if (!fs::exists(large) || fs::file_size(large) < targetMb * 1000000) {
            std::printf("generating %s from %s ...\n", large.c_str(), source.c_str());
            // In a child, so that this process stays small for the children
            // it forks to measure.
            timedChild([&] { orvdb::bench::generateLargeFile(source, large, targetMb * 1000000); });
        }
        double mb = static_cast<double>(fs::file_size(large)) / 1e6;
        std::printf("file: %.1f MB\n", mb);

        fs::path copy = dir / "copy.mdb";
        std::vector<double> cpTimes, rewriteTimes, engineTimes;
        long cpPeak = 0, rewritePeak = 0, enginePeak = 0;
        for (int i = 0; i < runs; ++i) {
            fs::copy_file(large, copy, fs::copy_options::overwrite_existing);
            sync();
            cpTimes.push_back(timedChild([&] {
                std::string command =
                    "cp '" + large.string() + "' '" + (dir / "cp.mdb").string() + "' && sync";
                if (std::system(command.c_str()) != 0) {
                    throw std::runtime_error("cp failed");
                }
            }));
            cpPeak = std::max(cpPeak, lastChildPeakKb);
            rewriteTimes.push_back(timedChild([&] {
                using namespace orvdb::jet;
                auto start = Clock::now();
                DatabaseImage image = imageFromFile(JetFile::open(copy));
                auto read = Clock::now();
                writeJetFile(image, copy);
                auto written = Clock::now();
                std::printf("  rewrite: read %.3f s, write %.3f s\n",
                            std::chrono::duration<double>(read - start).count(),
                            std::chrono::duration<double>(written - read).count());
                std::fflush(stdout);
            }));
            rewritePeak = std::max(rewritePeak, lastChildPeakKb);
            // What a user of the engine waits for: the file mirrored when
            // opened, one row changed, the file written back at close.
            engineTimes.push_back(timedChild([&] {
                auto start = Clock::now();
                orvdb::engine::Connection connection;
                connection.setConnectionString(
                    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + copy.string() + ";");
                connection.open();
                auto opened = Clock::now();
                connection.execute(
                    "UPDATE Shippers SET Phone = '(503) 555-0199' WHERE ShipperID = 1");
                connection.close();
                auto closed = Clock::now();
                std::printf("  engine: open %.3f s, change and write back %.3f s\n",
                            std::chrono::duration<double>(opened - start).count(),
                            std::chrono::duration<double>(closed - opened).count());
                std::fflush(stdout);
            }));
            enginePeak = std::max(enginePeak, lastChildPeakKb);
        }
        double cp = median(cpTimes), rewrite = median(rewriteTimes);
        std::printf("cp (median of %d):       %.3f s, %.1f MB/s\n", runs, cp, mb / cp);
        std::printf("rewrite (median of %d):  %.3f s, %.1f MB/s, %.1f MB written\n", runs, rewrite,
                    mb / rewrite, static_cast<double>(fs::file_size(copy)) / 1e6);
        std::printf("ratio rewrite / cp:     %.2f\n", rewrite / cp);
        std::printf("engine open + change + close (median of %d): %.3f s\n", runs,
                    median(engineTimes));
        std::printf("peak RSS: rewrite %ld MB, engine %ld MB, cp %ld MB\n", rewritePeak / 1024,
                    enginePeak / 1024, cpPeak / 1024);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_jet_rewrite: %s\n", e.what());
        return 1;
    }
    return 0;
}

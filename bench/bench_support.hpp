// Helpers shared by the benchmarks: a scratch folder, a stopwatch, memory
// figures and a repeatable key sequence.
#pragma once

#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace orvdb::bench {

class ScratchDir {
public:
    ScratchDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("orvdb-bench-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Wall time and the CPU time of the calling thread. On a machine shared with
// other work the CPU time is the steadier figure: waiting for a core does not
// count.
class Stopwatch {
public:
    Stopwatch() : wallStart_(std::chrono::steady_clock::now()), cpuStart_(threadCpu()) {}
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    }
    double cpuSeconds() const { return threadCpu() - cpuStart_; }

private:
    static double threadCpu() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
    }
    std::chrono::steady_clock::time_point wallStart_;
    double cpuStart_;
};

// Peak resident set of the process so far, in KiB.
inline long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bytes the allocator has handed out and not taken back.
inline size_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The same pseudo-random keys in 1..count on every run, so that each side of
// a comparison reads the same rows in the same order.
class KeySequence {
public:
    explicit KeySequence(int64_t count) : count_(static_cast<uint64_t>(count)) {}
    int64_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int64_t>((state_ >> 33) % count_) + 1;
    }

private:
    uint64_t count_;
    uint64_t state_ = 0x9e3779b97f4a7c15ULL;
};

// A count from the command line ("--rows=N"), or the default.
inline int64_t countOption(int argc, char** argv, const std::string& name, int64_t fallback) {
    std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(prefix, 0) == 0) {
            return std::stoll(arg.substr(prefix.size()));
        }
    }
    return fallback;
}

inline bool flagOption(int argc, char** argv, const std::string& name) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == "--" + name) {
            return true;
        }
    }
    return false;
}

inline std::string textOption(int argc, char** argv, const std::string& name,
                              const std::string& fallback) {
    std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(prefix, 0) == 0) {
            return arg.substr(prefix.size());
        }
    }
    return fallback;
}

}  // namespace orvdb::bench

// Runs the orvdb binary and captures what it prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <string>

namespace orvdb::cli_test {

struct RunResult {
    int exitCode = -1;
    std::string out;  // stdout and stderr together
};

inline RunResult runOrvdb(const std::string& args, const std::string& env = "") {
    std::string command =
        env + (env.empty() ? "" : " ") + std::string(ORVDB_CLI_PATH) + " " + args + " 2>&1";
    RunResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        return r;
    }
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) {
        r.out.append(buf.data(), n);
    }
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// The same within `seconds` (the command is stopped after that) and reading
// at most `maxBytes` of what it prints.
inline RunResult runOrvdbBounded(const std::string& args, int seconds, size_t maxBytes) {
    std::string command = "timeout " + std::to_string(seconds) + " " + std::string(ORVDB_CLI_PATH) +
                          " " + args + " 2>&1";
    RunResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        return r;
    }
    std::array<char, 4096> buf{};
    size_t n;
    while (r.out.size() < maxBytes && (n = fread(buf.data(), 1, buf.size(), p)) > 0) {
        r.out.append(buf.data(), n);
    }
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace orvdb::cli_test

// Runs the orvdb binary and captures what it prints.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/jet_fixtures.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::cli_test {

struct RunResult {
    int exitCode = -1;
    std::string out;  // stdout and stderr together
};

// The binary is stopped after `seconds`; at most `maxBytes` of what it prints
// are read. `env` (such as "NAME=value" or "env -u NAME") comes before it.
inline RunResult runOrvdbBounded(const std::string& args, int seconds, size_t maxBytes,
                                 const std::string& env = "") {
    std::string command = env + (env.empty() ? "" : " ") + "timeout " + std::to_string(seconds) +
                          " " + std::string(ORVDB_CLI_PATH) + " " + args + " 2>&1";
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

inline RunResult runOrvdb(const std::string& args, const std::string& env = "") {
    return runOrvdbBounded(args, 300, size_t{64} << 20, env);
}

using test::jetFixture;

// Commands on the Jet fixtures, skipped without them, with a scratch folder.
struct JetFixtureTest : test::JetFixtureTest {
    test::TempDir scratch;
    std::filesystem::path dir = scratch.path();
};

}  // namespace orvdb::cli_test

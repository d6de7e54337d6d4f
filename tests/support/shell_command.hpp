// Running other programs from tests (mdbtools, node) through the shell.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace orvdb::test_support {

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Every command is bounded: stopped after kCommandSeconds, and output beyond
// kMaxCommandOutput bytes makes the call fail.
inline constexpr int kCommandSeconds = 300;
inline constexpr size_t kMaxCommandOutput = size_t{256} << 20;

// What the command printed on stdout; nullopt when it cannot run, fails, runs
// too long or prints too much.
inline std::optional<std::string> runCommand(const std::string& command) {
    std::string bounded =
        "timeout " + std::to_string(kCommandSeconds) + " sh -c " + shellQuote(command);
    FILE* pipe = ::popen(bounded.c_str(), "r");
    if (!pipe) {
        return std::nullopt;
    }
    std::string output;
    std::array<char, 65536> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        if (output.size() + got > kMaxCommandOutput) {
            ::pclose(pipe);
            return std::nullopt;
        }
        output.append(buffer.data(), got);
    }
    int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

inline bool haveCommand(const std::string& name) {
    return runCommand("command -v " + shellQuote(name) + " >/dev/null 2>&1").has_value();
}

}  // namespace orvdb::test_support

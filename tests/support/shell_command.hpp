// Running other programs from tests (mdbtools, node) through the shell.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace orvdb::test_support {

// What the command printed on stdout; nullopt when it cannot run or fails.
inline std::optional<std::string> runCommand(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return std::nullopt;
    }
    std::string output;
    std::array<char, 65536> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), got);
    }
    int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline bool haveCommand(const std::string& name) {
    return runCommand("command -v " + shellQuote(name) + " >/dev/null 2>&1").has_value();
}

}  // namespace orvdb::test_support

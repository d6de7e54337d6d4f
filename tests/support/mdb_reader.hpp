// The npm package mdb-reader, an Access reader independent of ours, run
// through tests/jet/mdb_reader_dump.mjs (user tables, columns and rows as
// JSON); scripts/test.sh names its folder in ORVDB_NODE_MODULES.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/shell_command.hpp"

namespace orvdb::test_support {

inline std::filesystem::path mdbReaderScript() {
    return std::filesystem::path(ORVDB_SOURCE_DIR) / "tests" / "jet" / "mdb_reader_dump.mjs";
}

// Why mdb-reader cannot run here; empty when it can.
inline std::string mdbReaderUnavailable() {
    if (!haveCommand("node")) {
        return "node is not installed";
    }
    const char* modules = std::getenv("ORVDB_NODE_MODULES");
    if (modules == nullptr || *modules == '\0') {
        return "ORVDB_NODE_MODULES is not set (the folder holding the npm package mdb-reader)";
    }
    if (!std::filesystem::exists(std::filesystem::path(modules) / "mdb-reader" / "package.json")) {
        return std::string("mdb-reader is not installed under ORVDB_NODE_MODULES=") + modules;
    }
    if (!std::filesystem::exists(mdbReaderScript())) {
        return "the script " + mdbReaderScript().string() + " is missing";
    }
    return "";
}

// The JSON dump of the file (or mdb-reader's error text); nullopt when node
// fails to run.
inline std::optional<std::string> mdbReaderDump(
    const std::filesystem::path& file, const std::optional<std::string>& password = std::nullopt) {
    std::string command =
        "node " + shellQuote(mdbReaderScript().string()) + " " + shellQuote(file.string());
    if (password) {
        command += " " + shellQuote(*password);
    }
    return runCommand(command + " 2>&1");
}

}  // namespace orvdb::test_support

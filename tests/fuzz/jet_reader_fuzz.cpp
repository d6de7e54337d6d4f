// libFuzzer entry point for the Jet reader: the input is a whole .mdb file.
// Everything a reader touches is read; the only acceptable failure is a
// JetError. Seed it with the fixtures (they are 64 KB and more, so run with
// -max_len=300000).
#include <cstddef>
#include <cstdint>
#include <span>

#include "jet/read/jet_file.hpp"
#include "jet/read/relationships.hpp"
#include "jet/read/saved_queries.hpp"

namespace {

// Damaged usage maps can list the same pages over and over; a row budget
// keeps each input quick without hiding errors in the first rows.
constexpr size_t kRowBudget = 200000;

void readEverything(const orvdb::jet::JetFile& file) {
    size_t rows = 0;
    for (const std::string& name : file.tableNames(true)) {
        orvdb::jet::TableReader reader = file.readTable(name);
        while (rows < kRowBudget && reader.next()) {
            ++rows;
        }
        file.tableProperties(name);
    }
    file.databaseProperties();
    orvdb::jet::readRelationships(file);
    orvdb::jet::readSavedQueries(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        orvdb::jet::JetFile file =
            orvdb::jet::JetFile::openMemory(std::span<const uint8_t>(data, size), "fuzz.mdb");
        readEverything(file);
    } catch (const orvdb::jet::JetError&) {
        // Rejecting a damaged file with a message is the expected outcome.
    }
    return 0;
}

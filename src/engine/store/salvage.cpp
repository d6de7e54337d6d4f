// Repair: what can be read of a damaged Access file, written into a new file.
// The damaged file itself is never written.
#include "engine/engine_error.hpp"
#include "engine/store/store_image.hpp"
#include "engine/store/working_store.hpp"
#include "jet/check/file_check.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/original_index_keys.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"

#include <filesystem>
#include <set>

namespace orvdb::engine {

std::vector<std::string> WorkingStore::salvageTo(const std::string& out) {
    namespace fs = std::filesystem;
    if (jetFile_.empty()) {
        throw EngineError("'" + path_ + "' is not an Access file: there is nothing to repair.");
    }
    std::error_code error;
    if (fs::exists(out, error)) {
        throw EngineError("'" + out + "' exists already: the repaired copy goes to a new file.");
    }
    std::vector<std::string> report;
    checkCatalogTables();
    if (damaged()) {
        report.push_back("found: " + damage_);
    }
    for (int64_t id : std::set<int64_t>(unloaded_)) {
        std::string stopped;
        std::string name = std::to_string(id);
        for (const TableInfo* table : catalog_->tables()) {
            if (table->id == id) {
                name = table->name;
            }
        }
        try {
            loadRows(id, &stopped);
        } catch (const EngineError& failure) {
            stopped = failure.what();
        }
        if (!stopped.empty()) {
            report.push_back("table '" + name + "': the rows from the damage on are left out (" +
                             stopped + ")");
        }
    }
    try {
        jet::JetFile original = jet::JetFile::open(jetFile_, password_);
        jet::DatabaseImage image = storeImage(db_, *catalog_, original);
        jet::OriginalIndexKeys originalKeys(original);
        jet::WriteOptions options;
        options.originalKeys = &originalKeys;
        try {
            jet::writeJetFile(image, out, options);
        } catch (const jet::JetError&) {
            // The keys Access wrote may sit on the damaged pages: computed anew.
            fs::remove(out, error);
            jet::writeJetFile(image, out, jet::WriteOptions{});
        }
    } catch (const jet::JetError& failure) {
        throw EngineError("Cannot write the repaired copy '" + out + "': " + failure.what());
    }
    jet::CheckReport check = jet::checkJetFile(jet::JetFile::open(out, password_));
    for (const jet::CheckFinding& finding : check.findings) {
        if (finding.severity == jet::CheckSeverity::Error) {
            report.push_back("the copy still has: " + finding.text);
        }
    }
    return report;
}

}  // namespace orvdb::engine

// Repair: what can be read of a damaged Access file, written into a new file.
// The damaged file itself is never written.
#include "engine/engine_error.hpp"
#include "engine/store/store_image.hpp"
#include "engine/store/working_store.hpp"
#include "jet/check/file_check.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/original_index_keys.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"

#include <filesystem>
#include <set>

namespace orvdb::engine {

namespace {

// A unique index whose kept rows hold a key twice cannot be written as
// unique: the copy has it as an index that allows duplicates (a primary key
// as an ordinary index), and the report names it.
void relaxDuplicateKeys(jet::DatabaseImage& image, std::vector<std::string>& report) {
    for (jet::TableImage& table : image.tables) {
        for (jet::PhysicalIndex& index : table.definition.physicalIndexes) {
            if (!index.isUnique()) {
                continue;
            }
            std::vector<jet::KeyColumn> columns = jet::keyColumnsOf(table.definition, index);
            std::set<std::vector<uint8_t>> keys;
            bool duplicated = false;
            table.forEachRow([&](const std::vector<jet::Value>& row) {
                if (duplicated || !jet::indexHoldsTableRow(index, columns, row)) {
                    return;
                }
                std::vector<uint8_t> key;
                try {
                    jet::appendIndexKey(columns, row, key);
                } catch (const jet::JetError&) {
                    return;  // no key to compare: the writer decides
                }
                duplicated = !keys.insert(std::move(key)).second;
            });
            if (!duplicated) {
                continue;
            }
            report.push_back("table '" + table.name() + "', " +
                             jet::describeIndex(table.definition, index) +
                             ": its rows hold a key twice; the copy's index allows duplicates");
            index.flags &= static_cast<uint8_t>(~jet::PhysicalIndex::kUnique);
            for (jet::LogicalIndex& logical : table.definition.indexes) {
                if (logical.physicalIndex == index.number && logical.isPrimaryKey()) {
                    logical.kindCode = static_cast<uint8_t>(jet::IndexKind::Normal);
                }
            }
        }
    }
}

}  // namespace

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
        std::vector<std::string> losses;
        std::string name = std::to_string(id);
        for (const TableInfo* table : catalog_->tables()) {
            if (table->id == id) {
                name = table->name;
            }
        }
        try {
            loadRows(id, &losses);
        } catch (const EngineError& failure) {
            losses.push_back("not copied: " + std::string(failure.what()));
        }
        for (const std::string& loss : losses) {
            report.push_back("table '" + name + "': " + loss);
        }
    }
    try {
        jet::JetFile original = jet::JetFile::open(jetFile_, password_);
        jet::DatabaseImage image = storeImage(db_, *catalog_, original);
        relaxDuplicateKeys(image, report);
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

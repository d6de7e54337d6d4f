#include "engine/store/jet_write_back.hpp"

#include "engine/engine_error.hpp"
#include "engine/store/store_image.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/original_index_keys.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"

namespace orvdb::engine {

void writeBackJetFile(sqlite3* db, const Catalog& catalog, const std::string& jetFile,
                      const std::optional<std::string>& password,
                      const jet::FileSystemCalls& calls) {
    try {
        // The original gives the header, the unchanged table definitions and
        // the index keys Access wrote for texts whose sort code is not known
        // here. Replacing it by rename leaves this open copy readable.
        jet::JetFile original = jet::JetFile::open(jetFile, password);
        jet::DatabaseImage image = storeImage(db, catalog, original);
        jet::OriginalIndexKeys originalKeys(original);
        jet::WriteOptions options;
        options.originalKeys = &originalKeys;
        jet::writeJetFile(image, jetFile, options, calls);
    } catch (const jet::JetError& e) {
        throw EngineError("Cannot save '" + jetFile + "': " + e.what());
    } catch (const EngineError& e) {
        throw EngineError("Cannot save '" + jetFile + "': " + e.what());
    }
}

}  // namespace orvdb::engine

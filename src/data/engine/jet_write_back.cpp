#include "data/engine/jet_write_back.hpp"

#include "data/engine/engine_error.hpp"
#include "data/engine/store_image.hpp"
#include "jet/file_writer.hpp"
#include "jet/jet_error.hpp"
#include "jet/jet_file.hpp"

namespace orvdb::engine {

void writeBackJetFile(sqlite3* db, const Catalog& catalog, const std::string& jetFile,
                      const std::optional<std::string>& password,
                      const jet::FileSystemCalls& calls) {
    try {
        jet::DatabaseImage image;
        {
            // The original is only read for its header and unchanged table
            // definitions; it is closed before being replaced.
            jet::JetFile original = jet::JetFile::open(jetFile, password);
            image = storeImage(db, catalog, original);
        }
        jet::writeJetFile(image, jetFile, jet::WriteOptions{}, calls);
    } catch (const jet::JetError& e) {
        throw EngineError("Cannot save '" + jetFile + "': " + e.what());
    } catch (const EngineError& e) {
        throw EngineError("Cannot save '" + jetFile + "': " + e.what());
    }
}

}  // namespace orvdb::engine

// Writes a DatabaseImage as a complete Jet 4 file.
//
//   DatabaseImage image = imageFromFile(JetFile::open("orders.mdb"));
//   ... change tables and rows ...
//   writeJetFile(image, "orders.mdb");
//
// Layout: page 0 the header, page 1 the global usage map, page 2 the
// MSysObjects definition; then the other table definitions (at their
// preferred pages when free), the usage-map pages, and per table its data
// pages, long-value pages, index pages and definition continuation pages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/write/atomic_file.hpp"
#include "jet/write/database_image.hpp"
#include "jet/write/index_source.hpp"

namespace orvdb::jet {

struct WriteOptions {
    // Put each table definition at its preferred page when it is free and
    // within the size of the packed file, so object ids stay what they were.
    // Other tables are packed in image order and every reference to them is
    // renumbered.
    bool keepTablePages = true;
    // Builds the B-tree pages of each index from all rows of its table (a
    // seam for tests). Empty: the writer's own builder, which gathers the
    // keys as the rows are written and never holds a table's rows.
    IndexPageSource indexPages;
    // The file being rewritten, when it is: index keys that cannot be built
    // here (texts with characters of unknown sort code) are taken from it
    // for the same values.
    OriginalIndexKeys* originalKeys = nullptr;
};

// The bytes of the file. `fileName` names the file in error messages.
// Throws JetError for images that cannot be written (a value that does not
// fit its column, no MSysObjects, duplicate tables, ...).
std::vector<uint8_t> buildJetFile(const DatabaseImage& image, const std::string& fileName,
                                  const WriteOptions& options = {});

// Builds the file and replaces `target` with it atomically: a temporary file
// beside it, flushed, renamed over it. On failure `target` is left as it was
// and the temporary file is removed; the JetError names the file and why.
void writeJetFile(const DatabaseImage& image, const std::filesystem::path& target,
                  const WriteOptions& options = {}, const FileSystemCalls& calls = {});

}  // namespace orvdb::jet

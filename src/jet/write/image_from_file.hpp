// Builds the image of an open database: its header page and every table the
// catalog lists (Jet's and Access's own included), rows and all. Written
// back, it gives the same database.
#pragma once

#include "jet/read/jet_file.hpp"
#include "jet/write/database_image.hpp"

namespace orvdb::jet {

// Throws JetError naming the file and table when a table cannot be read.
DatabaseImage imageFromFile(const JetFile& file);

}  // namespace orvdb::jet

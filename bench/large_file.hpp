// The large Access file the storage benchmarks share: northwind's Orders and
// Order Details repeated with shifted order ids until the file passes the
// target size (about 1.1 million Order Details rows for 110 MB).
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::bench {

constexpr int64_t kOrderIdShift = 20000;

inline void shiftOrderIds(orvdb::jet::TableImage& table, int64_t shift) {
    const orvdb::jet::Column* column = table.definition.findColumn("OrderID");
    if (!column) {
        return;
    }
    size_t index = static_cast<size_t>(column - table.definition.columns.data());
    for (auto& row : table.rows) {
        if (auto* id = std::get_if<int64_t>(&row[index])) {
            *id += shift;
        }
    }
}

// Repeats the order tables until the written file reaches targetBytes.
inline void generateLargeFile(const std::filesystem::path& source, const std::filesystem::path& target,
                              uintmax_t targetBytes) {
    using namespace orvdb::jet;
    DatabaseImage base = imageFromFile(JetFile::open(source));
    DatabaseImage image = base;
    TableImage* orders = image.findTable("Orders");
    TableImage* details = image.findTable("Order Details");
    const TableImage* baseOrders = base.findTable("Orders");
    const TableImage* baseDetails = base.findTable("Order Details");
    if (!orders || !details || !baseOrders || !baseDetails) {
        throw std::runtime_error("the source has no Orders / Order Details tables");
    }
    // About 0.27 MB per copy of the two tables.
    int copies = static_cast<int>(targetBytes / 270000) + 1;
    for (int copy = 1; copy <= copies; ++copy) {
        TableImage o = *baseOrders, d = *baseDetails;
        shiftOrderIds(o, copy * kOrderIdShift);
        shiftOrderIds(d, copy * kOrderIdShift);
        orders->rows.insert(orders->rows.end(), o.rows.begin(), o.rows.end());
        details->rows.insert(details->rows.end(), d.rows.begin(), d.rows.end());
    }
    writeJetFile(image, target);
}


}  // namespace orvdb::bench

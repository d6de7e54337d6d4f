// Prints query results as TSV, CSV, JSON or an aligned table.
#pragma once

#include "data/engine/dataset.hpp"

#include <ostream>
#include <string>

namespace orvdb::cli {

enum class OutputFormat { Tsv, Csv, Json, Table };

OutputFormat parseOutputFormat(const std::string& name);

// Writes the header and every row of the dataset, from its first row.
void writeResult(std::ostream& out, engine::Dataset& data, OutputFormat format);

}  // namespace orvdb::cli

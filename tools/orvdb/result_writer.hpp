// Prints query results as TSV, CSV, JSON or an aligned table.
#pragma once

#include "engine/dataset/dataset.hpp"
#include "engine/dataset/field_type.hpp"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::cli {

enum class OutputFormat { Tsv, Csv, Json, Table };

OutputFormat parseOutputFormat(const std::string& name);

// What the writers read: the fields, then the rows one at a time, forward only.
class ResultRows {
public:
    virtual ~ResultRows() = default;
    virtual const std::vector<engine::FieldInfo>& fields() const = 0;
    // Moves to the next row (the first on the first call); false after the last.
    virtual bool nextRow() = 0;
    virtual bool isNull(int index) const = 0;
    // The field's text as Dataset::getText gives it; the view may point into
    // `scratch` and stays valid until the next call.
    virtual std::string_view text(int index, std::string& scratch) const = 0;
    // As Dataset::getBool.
    virtual bool boolean(int index) const = 0;
};

// Writes the header and every row.
void writeResult(std::ostream& out, ResultRows& rows, OutputFormat format);
// The same for a dataset, from its first row.
void writeResult(std::ostream& out, engine::Dataset& data, OutputFormat format);

}  // namespace orvdb::cli

// The rows of one table of an Access file, read straight from the file for
// the result writers. Fields and texts are those a SELECT * through the
// engine gives, without loading the file into a working store first.
#pragma once

#include "jet/read/jet_file.hpp"
#include "jet/read/table_reader.hpp"
#include "result_writer.hpp"

#include <string>
#include <vector>

namespace orvdb::cli {

class JetTableRows final : public ResultRows {
public:
    // Throws JetError naming the file when it has no such table.
    JetTableRows(const jet::JetFile& file, const std::string& table);

    const std::vector<engine::FieldInfo>& fields() const override { return fields_; }
    bool nextRow() override { return reader_.next(row_); }
    bool isNull(int index) const override;
    std::string_view text(int index, std::string& scratch) const override;
    bool boolean(int index) const override;

private:
    jet::TableReader reader_;
    std::vector<engine::FieldInfo> fields_;
    jet::Row row_;
};

}  // namespace orvdb::cli

// Datasets: the rows of a query result or of a whole table, held in memory
// with a current-row cursor, and typed access to the fields of that row.
#pragma once

#include "engine/dataset/field_type.hpp"
#include "engine/sql_value.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine {

using Row = std::vector<SqlValue>;

class Dataset {
public:
    virtual ~Dataset() = default;

    bool isOpen() const { return open_; }
    bool eof() const { return !open_ || pos_ >= rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // Moves; each returns whether a row is current afterwards. Moving and
    // reading fields fail on a closed dataset, as in ADO.
    bool first();
    bool next();
    bool last();
    int64_t recordCount() const { return open_ ? static_cast<int64_t>(rows_.size()) : 0; }
    // Raises "Operation is not allowed when the object is closed." when it is.
    void requireOpen() const;
    size_t position() const { return pos_; }

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const FieldInfo& field(int index) const;
    // -1 when there is no field of that name (names compare without case).
    int findField(std::string_view name) const;
    // Raises with the field name when there is none (a closed dataset that
    // does not know the name says it is closed).
    int fieldIndex(std::string_view name) const;

    // Reading the current row. Null reads as "", 0, false, 0.0.
    const SqlValue& value(int index) const;
    bool isNull(int index) const;
    std::string getText(int index) const;
    int32_t getInt32(int index) const;
    bool getBool(int index) const;
    double getDouble(int index) const;
    double getDateTime(int index) const;
    std::vector<uint8_t> getBlob(int index) const;

    // Writing the current row (tables only: a query result is read-only).
    void setText(int index, std::string_view text);
    void setInt32(int index, int32_t value);
    void setBool(int index, bool value);
    void setDouble(int index, double value);
    void setDateTime(int index, double value);
    void setNull(int index);
    void setBlob(int index, std::vector<uint8_t> bytes);

protected:
    virtual void setValue(int index, SqlValue value);
    // The row fields read: the stored current row, or the one being edited.
    virtual const Row& currentRow() const;
    void clearRows();

    std::vector<FieldInfo> fields_;
    std::vector<Row> rows_;
    size_t pos_ = 0;
    bool open_ = false;
    std::string description_;  // names the dataset in messages
};

}  // namespace orvdb::engine

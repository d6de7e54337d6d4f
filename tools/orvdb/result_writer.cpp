#include "result_writer.hpp"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace orvdb::cli {

namespace {

using engine::Dataset;
using engine::FieldType;

// A plain loop: find_first_of calls memchr once per character, which
// dominated exporting large tables.
template <typename Special>
bool hasAny(std::string_view s, Special special) {
    for (char c : s) {
        if (special(c)) {
            return true;
        }
    }
    return false;
}

void appendTsv(std::string& out, std::string_view s) {
    if (!hasAny(s, [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == '\\'; })) {
        out += s;
        return;
    }
    for (char c : s) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
}

void appendCsv(std::string& out, std::string_view s) {
    if (!hasAny(s, [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
        out += s;
        return;
    }
    out += '"';
    for (char c : s) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void appendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

std::string tsvEscape(std::string_view s) {
    std::string out;
    appendTsv(out, s);
    return out;
}

// Characters, not bytes, so that accented text lines up.
size_t displayWidth(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

bool isNumeric(FieldType t) {
    return t == FieldType::SmallInt || t == FieldType::Word || t == FieldType::Integer ||
           t == FieldType::Float || t == FieldType::AutoInc;
}

// Rows are built in one buffer and handed to the stream in large pieces:
// far cheaper than a stream insertion per cell on tables of millions of rows.
class OutputBuffer {
public:
    explicit OutputBuffer(std::ostream& out) : out_(out) { text.reserve(kFlushAt + 4096); }
    ~OutputBuffer() { flush(); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void endRow() {
        if (text.size() >= kFlushAt) {
            flush();
        }
    }
    void flush() {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }

    std::string text;

private:
    static constexpr size_t kFlushAt = 1 << 16;
    std::ostream& out_;
};

void writeDelimited(std::ostream& stream, ResultRows& rows, OutputFormat format) {
    const bool tsv = format == OutputFormat::Tsv;
    const char sep = tsv ? '\t' : ',';
    auto append = tsv ? appendTsv : appendCsv;
    const auto& fields = rows.fields();
    const int n = static_cast<int>(fields.size());
    OutputBuffer out(stream);
    for (int i = 0; i < n; ++i) {
        if (i) {
            out.text += sep;
        }
        append(out.text, fields[i].name);
    }
    out.text += '\n';
    std::string scratch;
    while (rows.nextRow()) {
        for (int i = 0; i < n; ++i) {
            if (i) {
                out.text += sep;
            }
            if (rows.isNull(i)) {
                if (tsv) {
                    out.text += "\\N";
                }
            } else {
                append(out.text, rows.text(i, scratch));
            }
        }
        out.text += '\n';
        out.endRow();
    }
}

void writeJson(std::ostream& stream, ResultRows& rows) {
    const auto& fields = rows.fields();
    const int n = static_cast<int>(fields.size());
    // Field names are the same on every row: quote them once.
    std::vector<std::string> keys(fields.size());
    for (int i = 0; i < n; ++i) {
        appendJsonString(keys[i], fields[i].name);
        keys[i] += ": ";
    }
    OutputBuffer out(stream);
    out.text += '[';
    bool firstRow = true;
    std::string scratch;
    while (rows.nextRow()) {
        out.text += firstRow ? "\n  {" : ",\n  {";
        firstRow = false;
        for (int i = 0; i < n; ++i) {
            if (i) {
                out.text += ", ";
            }
            out.text += keys[i];
            FieldType type = fields[i].type;
            if (rows.isNull(i)) {
                out.text += "null";
            } else if (type == FieldType::Boolean) {
                out.text += rows.boolean(i) ? "true" : "false";
            } else if (isNumeric(type)) {
                out.text += rows.text(i, scratch);
            } else {
                appendJsonString(out.text, rows.text(i, scratch));
            }
        }
        out.text += '}';
        out.endRow();
    }
    out.text += firstRow ? "]\n" : "\n]\n";
}

void writeTable(std::ostream& out, ResultRows& rows) {
    const auto& fields = rows.fields();
    const size_t n = fields.size();
    std::vector<std::vector<std::string>> cells;
    std::vector<size_t> width(n, 0);
    std::vector<std::string> header;
    for (const auto& field : fields) {
        header.push_back(field.name);
    }
    cells.push_back(header);
    std::string scratch;
    while (rows.nextRow()) {
        std::vector<std::string> row;
        for (size_t i = 0; i < n; ++i) {
            int index = static_cast<int>(i);
            row.push_back(rows.isNull(index) ? "NULL" : tsvEscape(rows.text(index, scratch)));
        }
        cells.push_back(std::move(row));
    }
    for (const auto& row : cells) {
        for (size_t i = 0; i < row.size(); ++i) {
            width[i] = std::max(width[i], displayWidth(row[i]));
        }
    }
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t i = 0; i < cells[r].size(); ++i) {
            out << (i ? " | " : "") << cells[r][i];
            if (i + 1 < cells[r].size()) {
                out << std::string(width[i] - displayWidth(cells[r][i]), ' ');
            }
        }
        out << '\n';
        if (r == 0) {
            for (size_t i = 0; i < width.size(); ++i) {
                out << (i ? "-+-" : "") << std::string(width[i], '-');
            }
            out << '\n';
        }
    }
}

// A dataset read through the writers' interface, from its first row.
class DatasetRows final : public ResultRows {
public:
    explicit DatasetRows(Dataset& data) : data_(data) {
        for (int i = 0; i < data.fieldCount(); ++i) {
            fields_.push_back(data.field(i));
        }
    }
    const std::vector<engine::FieldInfo>& fields() const override { return fields_; }
    bool nextRow() override {
        bool more = started_ ? data_.next() : data_.first();
        started_ = true;
        return more;
    }
    bool isNull(int index) const override { return data_.isNull(index); }
    std::string_view text(int index, std::string& scratch) const override {
        scratch = data_.getText(index);
        return scratch;
    }
    bool boolean(int index) const override { return data_.getBool(index); }

private:
    Dataset& data_;
    std::vector<engine::FieldInfo> fields_;
    bool started_ = false;
};

}  // namespace

OutputFormat parseOutputFormat(const std::string& name) {
    if (name == "tsv") {
        return OutputFormat::Tsv;
    }
    if (name == "csv") {
        return OutputFormat::Csv;
    }
    if (name == "json") {
        return OutputFormat::Json;
    }
    if (name == "table") {
        return OutputFormat::Table;
    }
    throw std::invalid_argument("unknown output format '" + name + "' (tsv, csv, json, table)");
}

void writeResult(std::ostream& out, ResultRows& rows, OutputFormat format) {
    switch (format) {
        case OutputFormat::Tsv:
        case OutputFormat::Csv:
            writeDelimited(out, rows, format);
            return;
        case OutputFormat::Json:
            writeJson(out, rows);
            return;
        case OutputFormat::Table:
            writeTable(out, rows);
            return;
    }
}

void writeResult(std::ostream& out, Dataset& data, OutputFormat format) {
    DatasetRows rows(data);
    writeResult(out, rows, format);
}

}  // namespace orvdb::cli

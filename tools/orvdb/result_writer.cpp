#include "result_writer.hpp"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace orvdb::cli {

namespace {

using engine::Dataset;
using engine::FieldType;

std::string tsvEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

std::string csvQuote(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
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
    return out + "\"";
}

// Characters, not bytes, so that accented text lines up.
size_t displayWidth(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

bool isNumeric(FieldType t) {
    return t == FieldType::SmallInt || t == FieldType::Word || t == FieldType::Integer ||
           t == FieldType::Float || t == FieldType::AutoInc;
}

std::string jsonValue(const Dataset& d, int i) {
    if (d.isNull(i)) return "null";
    FieldType t = d.field(i).type;
    if (t == FieldType::Boolean) return d.getBool(i) ? "true" : "false";
    std::string text = d.getText(i);
    return isNumeric(t) ? text : jsonString(text);
}

}  // namespace

OutputFormat parseOutputFormat(const std::string& name) {
    if (name == "tsv") return OutputFormat::Tsv;
    if (name == "csv") return OutputFormat::Csv;
    if (name == "json") return OutputFormat::Json;
    if (name == "table") return OutputFormat::Table;
    throw std::invalid_argument("unknown output format '" + name + "' (tsv, csv, json, table)");
}

void writeResult(std::ostream& out, Dataset& d, OutputFormat format) {
    int n = d.fieldCount();
    switch (format) {
        case OutputFormat::Tsv:
        case OutputFormat::Csv: {
            const char* sep = format == OutputFormat::Tsv ? "\t" : ",";
            auto cell = [&](const std::string& s) {
                return format == OutputFormat::Tsv ? tsvEscape(s) : csvQuote(s);
            };
            for (int i = 0; i < n; ++i) out << (i ? sep : "") << cell(d.field(i).name);
            out << '\n';
            for (bool more = d.first(); more; more = d.next()) {
                for (int i = 0; i < n; ++i) {
                    out << (i ? sep : "");
                    if (d.isNull(i))
                        out << (format == OutputFormat::Tsv ? "\\N" : "");
                    else
                        out << cell(d.getText(i));
                }
                out << '\n';
            }
            return;
        }
        case OutputFormat::Json: {
            out << "[";
            bool firstRow = true;
            for (bool more = d.first(); more; more = d.next()) {
                out << (firstRow ? "\n  {" : ",\n  {");
                firstRow = false;
                for (int i = 0; i < n; ++i)
                    out << (i ? ", " : "") << jsonString(d.field(i).name) << ": " << jsonValue(d, i);
                out << "}";
            }
            out << (firstRow ? "]\n" : "\n]\n");
            return;
        }
        case OutputFormat::Table: {
            std::vector<std::vector<std::string>> cells;
            std::vector<size_t> width(static_cast<size_t>(n), 0);
            std::vector<std::string> header;
            for (int i = 0; i < n; ++i) header.push_back(d.field(i).name);
            cells.push_back(header);
            for (bool more = d.first(); more; more = d.next()) {
                std::vector<std::string> row;
                for (int i = 0; i < n; ++i) row.push_back(d.isNull(i) ? "NULL" : tsvEscape(d.getText(i)));
                cells.push_back(std::move(row));
            }
            for (const auto& row : cells)
                for (size_t i = 0; i < row.size(); ++i) width[i] = std::max(width[i], displayWidth(row[i]));
            for (size_t r = 0; r < cells.size(); ++r) {
                for (size_t i = 0; i < cells[r].size(); ++i) {
                    out << (i ? " | " : "") << cells[r][i];
                    if (i + 1 < cells[r].size()) out << std::string(width[i] - displayWidth(cells[r][i]), ' ');
                }
                out << '\n';
                if (r == 0) {
                    for (size_t i = 0; i < width.size(); ++i) out << (i ? "-+-" : "") << std::string(width[i], '-');
                    out << '\n';
                }
            }
            return;
        }
    }
}

}  // namespace orvdb::cli

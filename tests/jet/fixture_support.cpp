#include "jet/fixture_support.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/jet_fixtures.hpp"

namespace orvdb::jet::testing {

std::filesystem::path fixtureDir() {
    std::filesystem::path dir = std::filesystem::path(ORVDB_FIXTURES_DIR) / "jet4";
    std::error_code error;
    return std::filesystem::is_directory(dir, error) ? dir : std::filesystem::path();
}

std::filesystem::path fixturePath(const std::string& name) {
    return fixtureDir() / name;
}

bool haveFixture(const std::string& name) {
    std::error_code error;
    return !fixtureDir().empty() && std::filesystem::is_regular_file(fixturePath(name), error);
}

const std::vector<FixtureInfo>& knownFixtures() {
    static const std::vector<FixtureInfo> fixtures = [] {
        std::vector<FixtureInfo> list;
        for (const test::JetFixtureFile& fixture : test::kJetFixtures) {
            list.push_back({fixture.file, fixture.password
                                              ? std::optional<std::string>(fixture.password)
                                              : std::nullopt});
        }
        return list;
    }();
    return fixtures;
}

void EveryFixture::SetUp() {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
}

ORVDB_FOR_EVERY_FIXTURE(EveryFixture);

std::string lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::vector<std::vector<Value>> allRows(const JetFile& file, const std::string& table) {
    std::vector<std::vector<Value>> rows;
    TableReader reader = file.readTable(table);
    while (auto row = reader.next()) {
        rows.push_back(std::move(row->values));
    }
    return rows;
}

void addCatalogRow(DatabaseImage& image, int64_t id, const std::string& name, ObjectType type) {
    TableImage& catalog = *image.findTable(kCatalogTableName);
    const TableDefinition& definition = catalog.definition;
    std::vector<Value> row(definition.columns.size());
    auto set = [&](const char* column, Value value) {
        const Column* found = definition.findColumn(column);
        ASSERT_NE(found, nullptr) << column;
        row[static_cast<size_t>(found - definition.columns.data())] = std::move(value);
    };
    set("Id", id);
    set("ParentId", int64_t{kTablesContainerId});
    set("Name", name);
    set("Type", int64_t{typeCode(type)});
    set("Flags", int64_t{0});
    set("DateCreate", DateTime{45000.5});
    set("DateUpdate", DateTime{45000.5});
    catalog.rows.push_back(std::move(row));
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const JetError& error) {
        return error.what();
    }
    return "";
}

std::string hex(std::span<const uint8_t> bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (uint8_t byte : bytes) {
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

std::vector<std::string> nonEmptyLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            out.push_back(line);
        }
    }
    return out;
}

void PrintTo(const FixtureInfo& info, std::ostream* out) {
    *out << info.file;
}

std::string fixtureTestName(const FixtureInfo& info) {
    std::string name = info.file.substr(0, info.file.find('.'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

std::vector<CsvRow> parseCsv(const std::string& text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    CsvField field;
    bool inQuotes = false;
    bool fieldStarted = false;
    for (size_t n = 0; n < text.size(); ++n) {
        char c = text[n];
        if (inQuotes) {
            if (c == '"' && n + 1 < text.size() && text[n + 1] == '"') {
                field.text += '"';
                ++n;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
            continue;
        }
        if (c == '"') {
            inQuotes = true;
            field.quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field = {};
            fieldStarted = true;
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field = {};
            rows.push_back(std::move(row));
            row = {};
            fieldStarted = false;
        } else if (c != '\r') {
            field.text += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> mdbtools(const std::string& program, const std::filesystem::path& file,
                                    const std::vector<std::string>& arguments, bool keepErrors) {
    std::string command = program + " " + shellQuote(file.string());
    for (const std::string& argument : arguments) {
        command += " " + shellQuote(argument);
    }
    return runCommand(command + (keepErrors ? " 2>&1" : " 2>/dev/null"));
}

std::vector<unsigned char> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace orvdb::jet::testing

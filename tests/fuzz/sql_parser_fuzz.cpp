// libFuzzer entry for the Access SQL parser: any input must either parse or
// raise SqlError, never crash or raise anything else. Parsed selects are also
// translated against a small fixed schema.
#include "engine/engine_error.hpp"
#include "engine/sql/front_end.hpp"
#include "engine/sql/names.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace orvdb::engine;

class FuzzSchema : public sql::SchemaResolver {
public:
    std::optional<sql::ResolvedTable> findTable(std::string_view name) const override {
        if (!sql::sameName(name, "t") && !sql::sameName(name, "u")) {
            return std::nullopt;
        }
        sql::ResolvedTable t;
        t.name = std::string(name);
        t.storedName = t.name;
        ColumnDef id;
        id.name = "ID";
        id.type = JetType::Long;
        id.autoNumber = true;
        ColumnDef a;
        a.name = "a";
        a.type = JetType::Text;
        t.columns = {id, a};
        return t;
    }
    std::optional<sql::ResolvedView> findView(std::string_view name) const override {
        if (!sql::sameName(name, "v")) {
            return std::nullopt;
        }
        return sql::ResolvedView{"v", "SELECT a FROM t WHERE ID > 1"};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        sql::Statement st = sql::parseStatement(text);
        static const FuzzSchema schema;
        sql::translate(st, schema);
    } catch (const SqlError&) {
    }
    return 0;
}

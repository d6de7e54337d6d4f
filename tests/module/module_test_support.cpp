#include "module_test_support.hpp"

#include "host/registry_info.hpp"

namespace orvdb::module_test {

void ModuleTest::SetUp() {
    host::HostServices services;
    services.registry = std::make_shared<host::MemoryRegistryInfo>();
    services.exceptions = std::make_shared<test_support::RecordingExceptions>(recorder);
    host::installHostServices(std::move(services));
    test_support::recordDebugChannel(recorder);
}

void ModuleTest::TearDown() {
    host::resetHostServices();
    host::setDebugSink({});
    host::setDebugTrace(false);
}

void ModuleTest::setRegistryEntry(int entry, const std::string& text) {
    host::registry()->set(entry, text);
}

std::vector<std::string> selectRows(Database& db, const std::string& sql) {
    std::vector<std::string> rows;
    QueryScope query(db);
    for (bool row = query->select(sql); row; row = query->next()) {
        std::string line;
        for (int i = 0; i < query->fieldCount(); ++i) {
            line += (i ? "|" : "") + query->getString(query->fieldName(i));
        }
        rows.push_back(line);
    }
    return rows;
}

}  // namespace orvdb::module_test

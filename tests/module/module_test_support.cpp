#include "module_test_support.hpp"

#include "host/registry_info.hpp"
#include "host/reporting.hpp"

namespace orvdb::module_test {

namespace {

class RecordingExceptions : public host::ExceptionHandler {
public:
    explicit RecordingExceptions(std::shared_ptr<HostRecorder> r) : r_(std::move(r)) {}
    void handleException(const std::exception& error) override {
        r_->handedExceptions.emplace_back(error.what());
    }

private:
    std::shared_ptr<HostRecorder> r_;
};

}  // namespace

void ModuleTest::SetUp() {
    host::HostServices services;
    services.registry = std::make_shared<host::MemoryRegistryInfo>();
    services.exceptions = std::make_shared<RecordingExceptions>(recorder);
    host::installHostServices(std::move(services));
    std::weak_ptr<HostRecorder> weak = recorder;
    host::setDebugSink([weak](std::string_view text) {
        if (auto r = weak.lock()) {
            r->debugLines.emplace_back(text);
        }
    });
    host::setDebugTrace(false);
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

// Helpers for the module suite: a scratch folder, databases made by the
// engine, host strings for the exports, and host services that record what
// the driver hands them.
#pragma once

#include <gtest/gtest.h>
#include <orvdb/exports.h>
#include <orvdb/orvdb.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../support/recording_host.hpp"
#include "../support/temp_dir.hpp"
#include "engine/store/working_store.hpp"
#include "host/boundary_strings.hpp"
#include "host/debug_output.hpp"
#include "host/host_services.hpp"

namespace orvdb::module_test {

using ScratchDir = test::TempDir;
using test::writeFile;

// A new empty database at path (its folder is created).
inline void createDatabaseFile(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    engine::WorkingStore::createDatabase(path.string());
}

// A host string argument, alive until the end of the full expression.
inline host::HostString H(std::string_view utf8) {
    return host::HostString::fromUtf8(utf8);
}

inline host::Bstr W(std::string_view utf8) {
    return host::Bstr::fromUtf8(utf8);
}

// A host string result variable, released at the end of the scope.
class HostResult {
public:
    HostResult() = default;
    ~HostResult() { OrvHostStringRelease(value_); }
    HostResult(const HostResult&) = delete;
    HostResult& operator=(const HostResult&) = delete;

    OrvHostString* operator&() { return &value_; }
    std::string utf8() const { return host::toUtf8(host::hostStringView(value_)); }

private:
    OrvHostString value_ = nullptr;
};

inline std::string lastErrorMessage() {
    return host::Bstr::adopt(OrvGetLastErrorMessage()).utf8();
}

using test_support::HostRecorder;

// Installs recording host services and an empty registry for each test.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void setRegistryEntry(int entry, const std::string& text);

    ScratchDir dir;
    std::shared_ptr<HostRecorder> recorder = std::make_shared<HostRecorder>();
};

// Rows of a select as "a|b|c" lines, read through the C++ API.
std::vector<std::string> selectRows(Database& db, const std::string& sql);

}  // namespace orvdb::module_test

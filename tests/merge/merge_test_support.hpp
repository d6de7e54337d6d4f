// Generated data for the merge suites: a data root with a library holding the
// merge configuration and provider folders, all made through orvdb itself.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../support/suite_database.hpp"
#include "host/dialogs.hpp"
#include "host/interfaced_object.hpp"
#include "host/object_factory.hpp"

namespace orvdb::merge_test {

// A picture as the host stores it: its bytes, written in one block.
class Picture : public host::TInterfacedObjectEx<iSerializable> {
public:
    explicit Picture(std::string bytes = {}) : bytes_(std::move(bytes)) {}
    OrvHResult WriteObject(IWriter* writer) override;
    OrvHResult ReadObject(IReader* reader) override;
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// The host's factory for the tests: a Picture for ARTICLE_PICTURE, and for
// the table names of `businessTables` a business object that shifts the
// Ref column of its row (a key only the object knows) and saves it.
class TestObjectFactory : public host::ObjectFactory {
public:
    std::vector<std::string> businessTables;
    bool failLoad = false;
    ComPtr<IInterface> createObject(std::string_view upperName) override;
};

// One provider folder to generate. Rows are Access SQL inserts.
struct ProviderContent {
    std::string name;
    int referenceWidth = 20;  // declared width of Article.Reference
    std::vector<std::string> rows;
    std::map<int, std::string> pictures;       // Article ID -> picture bytes
    std::map<std::string, std::string> files;  // relative path -> content
};

class MergeTest : public suite_test::SuiteTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The library with the merge configuration.
    void makeLibrary();
    void makeProvider(const ProviderContent& content);
    // The two providers most tests merge (P1 and P2).
    void makeStandardProviders();

    ComPtr<iDatabase> openDatabase(const std::string& path);
    std::string providerFile(const std::string& provider) const {
        return root + "Providers/" + provider + "/XLibData.mdb";
    }
    // Every file below a folder with a digest of its bytes: equal maps mean
    // the folder was not touched.
    std::map<std::string, std::string> snapshot(const std::string& folder) const;
    // The host's dialogs answer `value`.
    void answer(host::DialogAnswer value);
    // Merges `first` and `second` into `output`, then closes every database
    // so that what follows reads the files; an exception is kept in `failure`.
    OrvHResult runMerge(const std::string& first, const std::string& second,
                        const std::string& output,
                        std::shared_ptr<host::ObjectFactory> factory = nullptr);
    std::string failure;
    std::vector<std::string> log;  // of the last merge
    size_t rejected = 0;           // inserts the last merge refused
    size_t uncarried = 0;          // binary values no host object carried

    std::string temp;  // TEMP of the tests
    std::optional<std::string> savedTemp;
};

// Standard offset of the tests.
constexpr int32_t kOffset = 1000;

}  // namespace orvdb::merge_test

#include "host/registry_info.hpp"
#include "host/registry_loader.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace orvdb::host {
namespace {

using namespace registry_entry;
using test::TempDir;
using test::writeFile;
using ::testing::HasSubstr;

TEST(RegistryInfoTest, FolderEntriesEndWithASlash) {
    MemoryRegistryInfo registry;
    registry.set(kDataRoot, "/srv/suite");
    registry.set(kLibraryFolder, "\\\\server\\Suite\\Lib\\");
    registry.set(kTemplateFolder, "");
    registry.set(kProviderName, "Acme\\");  // not a folder: kept as given
    registry.set(12, "any text");
    EXPECT_EQ(registry.get(kDataRoot), "/srv/suite/");
    EXPECT_EQ(registry.get(kLibraryFolder), "//server/Suite/Lib/");
    EXPECT_EQ(registry.get(kTemplateFolder), "");
    EXPECT_EQ(registry.get(kProviderName), "Acme\\");
    EXPECT_EQ(registry.get(12), "any text");
    EXPECT_EQ(registry.get(69), "");
}

TEST(RegistryInfoTest, EntryNumbersOutsideTheTableAreRejected) {
    MemoryRegistryInfo registry;
    EXPECT_THROW(registry.get(-1), std::out_of_range);
    EXPECT_THROW(registry.get(kRegistryEntryCount), std::out_of_range);
    EXPECT_THROW(registry.set(kRegistryEntryCount, "x"), std::out_of_range);
}

class RegistryLoaderTest : public ::testing::Test {
protected:
    EnvironmentLookup environment() const {
        return [this](const std::string& name) -> std::optional<std::string> {
            auto it = env.find(name);
            if (it == env.end()) {
                return std::nullopt;
            }
            return it->second;
        };
    }
    std::string writeConfig(const std::string& content) {
        std::string path = dir / "conf/orvdb.ini";
        writeFile(path, content);
        return path;
    }
    TempDir dir;
    std::map<std::string, std::string> env;
    MemoryRegistryInfo registry;
};

TEST_F(RegistryLoaderTest, DataRootAloneDerivesTheFolderLayout) {
    RegistrySettings settings;
    settings.dataRoot = dir.path().string();
    loadRegistry(registry, settings, environment());
    const std::string root = dir.folder();
    EXPECT_EQ(registry.get(kDataRoot), root);
    EXPECT_EQ(registry.get(kLibraryFolder), root);
    EXPECT_EQ(registry.get(kTemplateFolder), root);
    EXPECT_EQ(registry.get(kParametersFolder), root);
    EXPECT_EQ(registry.get(kWorkshopFolder), root + "XMan/");
    EXPECT_EQ(registry.get(kManagerParamFolder), root + "XMan/");
    EXPECT_EQ(registry.get(kLanguageFolder), root + "Languages/");
    EXPECT_EQ(registry.get(kProviderName), "");
}

TEST_F(RegistryLoaderTest, FlagsBeatEnvironmentWhichBeatsTheConfigFile) {
    std::string config = writeConfig(
        "; suite folders\n"
        "[other]\n"
        "DataRoot = /ignored\n"
        "[Registry]\n"
        "dataroot = /from/config\n"
        "LibraryFolder = /lib/config\n"
        "TemplateFolder = /tpl/config\n"
        "57 = /work/config\n"
        "Provider = ConfigProvider\n"
        "LanguageId = 3\n");
    env["ORVDB_DATA_ROOT"] = "/from/env";
    env["ORVDB_REGISTRY_29"] = "/tpl/env";
    env["ORVDB_REGISTRY_4"] = "";  // empty: not given
    env["ORVDB_LANGUAGE_ID"] = "5";
    RegistrySettings settings;
    settings.configFile = config;
    settings.dataRoot = "/from/flag";
    settings.values.entries[kWorkshopFolder] = "/work/flag";

    loadRegistry(registry, settings, environment());

    EXPECT_EQ(registry.get(kDataRoot), "/from/flag/");
    EXPECT_EQ(registry.get(kLibraryFolder), "/lib/config/");  // given, so not derived
    EXPECT_EQ(registry.get(kTemplateFolder), "/tpl/env/");
    EXPECT_EQ(registry.get(kWorkshopFolder), "/work/flag/");
    EXPECT_EQ(registry.get(kParametersFolder), "/from/flag/");  // derived from the winner
    EXPECT_EQ(registry.get(kLanguageFolder), "/from/flag/Languages/");
    EXPECT_EQ(registry.get(kProviderName), "ConfigProvider");
    EXPECT_EQ(registry.languageId(), 5);
}

TEST_F(RegistryLoaderTest, ConfigFileNamedByTheEnvironment) {
    env["ORVDB_CONFIG"] = writeConfig("[registry]\n30=C:\\Suite\\Data\n64=/lng\n");
    loadRegistry(registry, {}, environment());
    // Relative to the config file's folder once '\' became '/'.
    EXPECT_EQ(registry.get(kDataRoot), (dir.path() / "conf/C:/Suite/Data/").string());
    EXPECT_EQ(registry.get(kLanguageFolder), "/lng/");
}

TEST_F(RegistryLoaderTest, RelativeFoldersInTheConfigFileFollowTheFile) {
    std::string config = writeConfig("[registry]\nDataRoot=..\\data\\\nLanguageFolder=lng\n");
    RegistryValues values = readRegistryConfig(config);
    EXPECT_EQ(values.entries.at(kDataRoot), dir.folder() + "data/");
    EXPECT_EQ(values.entries.at(kLanguageFolder), dir.folder() + "conf/lng/");
}

TEST_F(RegistryLoaderTest, BadConfigFilesNameTheFileAndTheLine) {
    struct Case {
        std::string content;
        const char* expected;
    };
    const Case cases[] = {
        // Overlong lines are rejected, not cut.
        {"[registry]\n30=/" + std::string(300, 'x') + "\n", ":2: line longer than"},
        {"[registry]\n30=/a\nDataRut=/b\n", ":3: unknown key 'DataRut'"},
        {"[registry]\n80=/a\n", ":2: entry number 80"},
        {"[registry]\n-1=/a\n", ":2: entry number -1"},
        {"[registry]\nLanguageId=fr\n", ":2: LanguageId must be an integer"},
        {"# ok\n[registry]\n30=/a\nthis line has no equals sign\n", ":4: expected"},
        {"[registry\n30=/a\n", ":1: expected"},
    };
    for (const Case& c : cases) {
        std::string path = writeConfig(c.content);
        try {
            readRegistryConfig(path);
            ADD_FAILURE() << "accepted: " << c.content;
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), HasSubstr(path + c.expected)) << c.content;
        }
    }
}

TEST_F(RegistryLoaderTest, MissingConfigFileIsNamed) {
    RegistrySettings settings;
    settings.configFile = dir / "absent.ini";
    try {
        loadRegistry(registry, settings, environment());
        FAIL() << "missing config accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "absent.ini"));
    }
}

TEST_F(RegistryLoaderTest, BadLanguageIdInTheEnvironmentIsRejected) {
    env["ORVDB_LANGUAGE_ID"] = "two";
    EXPECT_THROW(loadRegistry(registry, {}, environment()), std::runtime_error);
}

}  // namespace
}  // namespace orvdb::host

#include "host/default_registry.hpp"
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

TEST(RegistryInfoTest, FolderEntriesEndWithASlashAndEntriesOutsideTheTableAreRejected) {
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
    EXPECT_THROW(registry.get(-1), std::out_of_range);
    EXPECT_THROW(registry.get(kRegistryEntryCount), std::out_of_range);
    EXPECT_THROW(registry.set(kRegistryEntryCount, "x"), std::out_of_range);
}

class RegistryLoaderTest : public ::testing::Test {
protected:
    EnvironmentLookup environment() const {
        return [this](const std::string& name) -> std::optional<std::string> {
            auto it = env.find(name);
            return it == env.end() ? std::nullopt : std::optional(it->second);
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

TEST_F(RegistryLoaderTest, ConfigFileNamedByTheEnvironmentAndRelativeFoldersFollowIt) {
    env["ORVDB_CONFIG"] = writeConfig("[registry]\n30=C:\\Suite\\Data\n64=/lng\n");
    loadRegistry(registry, {}, environment());
    // Relative to the config file's folder once '\' became '/'.
    EXPECT_EQ(registry.get(kDataRoot), (dir.path() / "conf/C:/Suite/Data/").string());
    EXPECT_EQ(registry.get(kLanguageFolder), "/lng/");

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

TEST_F(RegistryLoaderTest, MissingConfigFileAndBadLanguageIdAreRejected) {
    RegistrySettings settings;
    settings.configFile = dir / "absent.ini";
    try {
        loadRegistry(registry, settings, environment());
        FAIL() << "missing config accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "absent.ini"));
    }
    env["ORVDB_LANGUAGE_ID"] = "two";
    EXPECT_THROW(loadRegistry(registry, {}, environment()), std::runtime_error);
}

// The default registry: values set on it beat the environment, which beats
// the config file; the derived folders follow whichever data root wins.
TEST_F(RegistryLoaderTest, DefaultRegistrySetValuesBeatTheEnvironmentAndMoveDerivedFolders) {
    env["ORVDB_CONFIG"] = writeConfig("[registry]\n28=/lib/config\nDataRoot=/root/config\n");
    env["ORVDB_DATA_ROOT"] = "/root/env";
    DefaultRegistryInfo defaults(environment());
    struct Step {
        int entry;
        const char* set;  // nullptr: read only
        std::map<int, std::string> expected;
    };
    const Step steps[] = {
        {kDataRoot, nullptr, {{kDataRoot, "/root/env/"}, {kWorkshopFolder, "/root/env/XMan/"}}},
        {kDataRoot, "/root/host", {{kDataRoot, "/root/host/"}, {kParametersFolder, "/root/host/"}}},
        {kLibraryFolder, "C:\\Lib", {{kLibraryFolder, dir.folder() + "C:/Lib/"}}},
        {kProviderName,
         "Acme",
         {{kProviderName, "Acme"}, {kLibraryFolder, dir.folder() + "C:/Lib/"}}},
        {kLibraryFolder, "", {{kLibraryFolder, "/lib/config/"}}},
        {kDataRoot, "", {{kDataRoot, "/root/env/"}, {kLanguageFolder, "/root/env/Languages/"}}},
    };
    // Relative folders follow the directory current at first use, not a later one.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    defaults.get(kDataRoot);
    std::filesystem::current_path(before);
    for (const Step& step : steps) {
        if (step.set) {
            defaults.set(step.entry, step.set);
        }
        for (const auto& [entry, text] : step.expected) {
            EXPECT_EQ(defaults.get(entry), text) << "after setting " << step.entry;
        }
    }
    defaults.setLanguageId(7);
    EXPECT_EQ(defaults.languageId(), 7);
}

TEST_F(RegistryLoaderTest, DefaultRegistryReportsABadConfigFileOnEveryReadUntilReplaced) {
    const std::string bad = writeConfig("[registry]\nDataRut=/x\n");
    env["ORVDB_CONFIG"] = bad;
    DefaultRegistryInfo defaults(environment());
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            defaults.get(kDataRoot);
            ADD_FAILURE() << "bad config accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), HasSubstr(bad + ":2: unknown key"));
        }
    }
    defaults.setConfigFile("");  // none, whatever ORVDB_CONFIG says
    EXPECT_NO_THROW(defaults.get(kDataRoot));
    const std::string good = dir / "good.ini";
    writeFile(good, "[registry]\n30=/root/good\n");
    defaults.setConfigFile(good);
    EXPECT_EQ(defaults.get(kDataRoot), "/root/good/");
    // A failing replacement changes nothing.
    EXPECT_THROW(defaults.setConfigFile(bad), std::runtime_error);
    EXPECT_EQ(defaults.get(kDataRoot), "/root/good/");
    EXPECT_THROW(defaults.get(kRegistryEntryCount), std::out_of_range);
}

}  // namespace
}  // namespace orvdb::host

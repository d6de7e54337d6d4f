// The host objects the manager upgrade talks to.
#include <gtest/gtest.h>

#include <set>

#include "host/boundary_strings.hpp"
#include "host/currencies.hpp"
#include "host/interfaced_object.hpp"
#include "host/rights_objects.hpp"
#include "host/string_collection.hpp"
#include "host/system_code_page.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::host {
namespace {

using Lines = std::vector<std::string>;

TEST(RightsObjectsTest, RightsSetThroughTheInterfaceLandInTheManagerBehindIt) {
    auto memory = std::make_shared<MemoryRightsManager>();
    EXPECT_THROW(memory->rights(RightsCategory::company), std::logic_error) << "no group yet";
    ComPtr<IRightsManager> object = makeRightsManagerObject(memory);
    std::shared_ptr<RightsManager> rights = rightsManagerOf(object.get());
    ASSERT_TRUE(rights);

    rights->setAdministratorGroup("Administrateur");
    rights->selectGroup("Atelier");
    RightsList& company = rights->rights(RightsCategory::company);
    RightsList& quotes = rights->rights(RightsCategory::quotes);
    company.setRight("URCCP_USERS", false);
    // An earlier list stays usable after the next one was asked for.
    company.setRight("URCCP_COMPANYINFO", true);
    quotes.setRight("URD_FRAME_POPUP_ITEM", true);
    rights->selectGroup("Direction");

    EXPECT_EQ(memory->listing(),
              (Lines{"administrators\tAdministrateur", "group\tAtelier",
                     "Atelier\tcompany\tURCCP_COMPANYINFO\tgranted",
                     "Atelier\tcompany\tURCCP_USERS\trefused",
                     "Atelier\tquotes\tURD_FRAME_POPUP_ITEM\tgranted", "group\tDirection"}));
    EXPECT_EQ(memory->administratorGroup(), "Administrateur");
    EXPECT_TRUE(memory->granted("Atelier", RightsCategory::company, "URCCP_COMPANYINFO"));
    EXPECT_TRUE(memory->granted("Atelier", RightsCategory::quotes, "URD_FRAME_POPUP_ITEM"));
    EXPECT_FALSE(memory->granted("Atelier", RightsCategory::projects, "URD_FRAME_POPUP_ITEM"));
    EXPECT_FALSE(memory->granted("Atelier", RightsCategory::company, "URCCP_USERS"));
    EXPECT_FALSE(memory->granted("Direction", RightsCategory::company, "URCCP_COMPANYINFO"));
}

TEST(RightsObjectsTest, ObjectsWithoutTheInterfaceAndForeignListsAreRefused) {
    EXPECT_FALSE(rightsManagerOf(nullptr));
    ComPtr<IWideStringCollection> other = makeStringCollection({});
    EXPECT_FALSE(rightsManagerOf(other.get()));

    ComPtr<IRightsManager> object =
        makeRightsManagerObject(std::make_shared<MemoryRightsManager>());
    ComPtr<IRightsList> list;
    // No group selected yet, then a category that does not exist.
    EXPECT_NE(object->Get_RightsList(0, list.put()), ORV_S_OK);
    Bstr group = Bstr::fromUtf8("Atelier");
    ASSERT_EQ(object->SetGroup(group.get()), ORV_S_OK);
    EXPECT_NE(object->Get_RightsList(3, list.put()), ORV_S_OK);
    EXPECT_NE(lastErrorMessage().find("rights category 3"), std::string::npos);

    // A list another rights manager gave.
    struct ForeignList : TInterfacedObjectEx<IRightsList> {};
    ComPtr<IRightsList> foreign(new ForeignList);
    Bstr right = Bstr::fromUtf8("URCCP_USERS");
    EXPECT_EQ(object->SetRight(foreign.get(), right.get(), ORV_WTRUE), ORV_E_INVALIDARG);
}

TEST(CurrenciesTest, NumbersOneToNineAreNamedOthersKeepTheirNumber) {
    StandardCurrencies currencies;
    std::set<std::string> names;
    for (int number = 1; number <= 9; ++number) {
        names.insert(currencies.currencyName(number));
    }
    EXPECT_EQ(names.size(), 9u) << "nine different names";
    EXPECT_EQ(currencies.currencyName(1), "Euro");
    EXPECT_EQ(currencies.currencyName(9), "Dirham émirati (AED)");
    for (int number : {10, 0, -3}) {
        EXPECT_EQ(currencies.currencyName(number), std::to_string(number));
    }
}

TEST(UpgradeStringsTest, LinesOfAText) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"\n\nthird\n", {"", "", "third"}},
        {"\xEF\xBB\xBF"
         "Administrateur(5035)\nnext",
         {"Administrateur(5035)", "next"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(textLines(text), lines) << text;
    }
}

TEST(UpgradeStringsTest, FileIsReadAsUtf8AndBadFilesAreNamed) {
    test::TempDir folder;
    test::writeFile(folder.path() / "good.txt", "Été\nAdministrateur(5035)\n");
    EXPECT_EQ(readTextLines(folder / "good.txt"), (Lines{"Été", "Administrateur(5035)"}));

    test::writeFile(folder.path() / "latin1.txt", "\xC9t\xE9\n");
    for (const std::string& file : {folder / "latin1.txt", folder / "missing.txt"}) {
        try {
            readTextLines(file);
            ADD_FAILURE() << file << " was read";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(file + ": ", 0), 0u) << e.what();
        }
    }
}

TEST(UpgradeStringsTest, CollectionGivesEachTextByIndex) {
    ComPtr<IWideStringCollection> texts = makeStringCollection({"Dépôt", ""});
    int32_t count = 0;
    ASSERT_EQ(texts->Get_Count(&count), ORV_S_OK);
    EXPECT_EQ(count, 2);
    Bstr text;
    ASSERT_EQ(texts->Get_Item(0, text.put()), ORV_S_OK);
    EXPECT_EQ(text.utf8(), "Dépôt");
    ASSERT_EQ(texts->Get_Item(1, text.put()), ORV_S_OK);
    EXPECT_EQ(text.utf8(), "");
    EXPECT_EQ(texts->Get_Item(2, text.put()), ORV_E_INVALIDARG);
    EXPECT_EQ(texts->Get_Item(-1, text.put()), ORV_E_INVALIDARG);
}

TEST(SystemCodePageTest, TextBecomesWindows1252Bytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},       {"abc$QKM", "abc$QKM"},
        {"é", "\xE9"},  {"Œuvre €", "\x8Cuvre \x80"},
        {"日本", "??"}, {"😀", "?"},  // one character, two UTF-16 units
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(toSystemCodePage(text), bytes) << text;
    }
}

}  // namespace
}  // namespace orvdb::host

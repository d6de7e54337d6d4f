#include "host/host_services.hpp"
#include "host/default_registry.hpp"
#include "host/exceptions.hpp"
#include "host/interfaced_object.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvdb::host {
namespace {

using ::testing::HasSubstr;

class HostServicesTest : public ::testing::Test {
protected:
    void TearDown() override { resetHostServices(); }
};

struct RecordingDialogs : Dialogs {
    int messageBox(std::string_view text, std::string_view caption, int flags, int extra) override {
        seen = std::string(caption) + "|" + std::string(text) + "|" + std::to_string(flags) + "|" +
               std::to_string(extra);
        return IDYES;
    }
    std::string seen;
};

struct RecordingMessages : MessageManager {
    void showMessage(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

struct RecordingHandler : ExceptionHandler {
    void handleException(const std::exception& error) override {
        handled.emplace_back(error.what());
        connexionErrors += dynamic_cast<const EORV_DATABASECONNEXION*>(&error) != nullptr;
    }
    std::vector<std::string> handled;
    int connexionErrors = 0;
};

TEST_F(HostServicesTest, ReplacementsReachTheCallersAndNullMembersKeepTheRest) {
    auto registryBefore = registry();
    auto dialogsBefore = dialogs();
    registryBefore->set(registry_entry::kProviderName, "Acme");

    auto messagesReplacement = std::make_shared<RecordingMessages>();
    auto handler = std::make_shared<RecordingHandler>();
    HostServices replacements;
    replacements.messages = messagesReplacement;
    replacements.exceptions = handler;
    installHostServices(replacements);

    showMessage("C:/x.mdb has read \"only attributes\"");
    HandleException(EORV_DATABASECONNEXION("CANNOT FIND /data/XLib.Mdb"));
    EXPECT_EQ(messagesReplacement->shown,
              std::vector<std::string>{"C:/x.mdb has read \"only attributes\""});
    EXPECT_EQ(handler->handled, std::vector<std::string>{"CANNOT FIND /data/XLib.Mdb"});
    EXPECT_EQ(handler->connexionErrors, 1);

    EXPECT_EQ(registry(), registryBefore);
    EXPECT_EQ(registry()->get(registry_entry::kProviderName), "Acme");
    EXPECT_EQ(dialogs(), dialogsBefore);

    auto dialogsReplacement = std::make_shared<RecordingDialogs>();
    installHostServices({.dialogs = dialogsReplacement});
    EXPECT_EQ(MessageBox("Do you want continue?", "Warning", MB_YESNO, 1), IDYES);
    EXPECT_EQ(dialogsReplacement->seen, "Warning|Do you want continue?|4|1");
    EXPECT_EQ(messages(), messagesReplacement);
}

TEST_F(HostServicesTest, ResetRestoresFreshDefaults) {
    registry()->set(registry_entry::kDataRoot, "/somewhere");
    installHostServices({.messages = std::make_shared<RecordingMessages>()});
    resetHostServices();
    EXPECT_NE(dynamic_cast<DefaultRegistryInfo*>(registry().get()), nullptr);
    EXPECT_NE(registry()->get(registry_entry::kDataRoot), "/somewhere/");
    EXPECT_NE(dynamic_cast<LoggingMessageManager*>(messages().get()), nullptr);
    EXPECT_FALSE(objectFactory()->createObject("DEVIS"));
}

TEST(DefaultReportingTest, DialogsAnswerTheConfiguredDefaultAndAllIsLogged) {
    struct Case {
        int flags;
        DialogAnswer answer;
        int expected;
    };
    const Case cases[] = {
        {MB_YESNO, DialogAnswer::no, IDNO},
        {MB_YESNO, DialogAnswer::yes, IDYES},
        {MB_YESNOCANCEL, DialogAnswer::no, IDNO},
        {MB_OKCANCEL, DialogAnswer::yes, IDOK},
        {MB_OKCANCEL, DialogAnswer::no, IDCANCEL},
        {MB_RETRYCANCEL, DialogAnswer::no, IDCANCEL},
        {MB_OK, DialogAnswer::no, IDOK},
        // Icon and default-button bits do not change the button set.
        {MB_YESNO | 0x30 | 0x100, DialogAnswer::yes, IDYES},
    };
    for (const Case& c : cases) {
        AutoAnswerDialogs dialogs(c.answer);
        ::testing::internal::CaptureStderr();
        int answer = dialogs.messageBox("Some files cannot be merged", "Warning", c.flags, 1);
        std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.expected) << "flags " << c.flags;
        EXPECT_THAT(log, HasSubstr("Warning: Some files cannot be merged -> "));
    }
    EXPECT_EQ(AutoAnswerDialogs().defaultAnswer(), DialogAnswer::no);
    // Messages and exceptions are logged too, and return.
    ::testing::internal::CaptureStderr();
    LoggingMessageManager().showMessage("hello");
    LoggingExceptionHandler().handleException(EORV_DATABASEUPDATE("too old"));
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(log, HasSubstr("hello"));
    EXPECT_THAT(log, HasSubstr("too old"));
}

// A reference-counted stand-in for a database object.
class FakeDatabase : public TInterfacedObjectEx<IInterface> {
public:
    explicit FakeDatabase(int* destroyed) : destroyed_(destroyed) {}
    ~FakeDatabase() override { ++*destroyed_; }

private:
    int* destroyed_;
};

ComPtr<IInterface> makeDatabase(int* destroyed) {
    return ComPtr<IInterface>(static_cast<IInterface*>(new FakeDatabase(destroyed)));
}

TEST(DatabaseContainerTest, NamesAreCaseInsensitiveAndCurrentFollowsSetCurrent) {
    int destroyed = 0;
    MemoryDatabaseContainer container;
    auto library = makeDatabase(&destroyed);
    auto provider = makeDatabase(&destroyed);
    container.registerDatabase("XLIB", library);
    container.registerDatabase("Gammiste", provider);
    EXPECT_FALSE(container.current());

    container.setCurrent("xlib");
    EXPECT_EQ(container.current().get(), library.get());
    container.setCurrent("GAMMISTE");
    EXPECT_EQ(container.current().get(), provider.get());
    EXPECT_EQ(container.find("gammiste").get(), provider.get());
    EXPECT_FALSE(container.find("XMANDATA"));

    try {
        container.setCurrent("XMANDATA");
        FAIL() << "unknown name accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_THAT(e.what(), HasSubstr("'XMANDATA'"));
    }
    EXPECT_EQ(container.current().get(), provider.get());
}

TEST(DatabaseContainerTest, HoldsReferencesAndReleasesReplacedOrRemovedDatabases) {
    int destroyed = 0;
    MemoryDatabaseContainer container;
    container.registerDatabase("GAMMISTE", makeDatabase(&destroyed));
    container.setCurrent("GAMMISTE");
    EXPECT_EQ(destroyed, 0);  // the container keeps it alive

    container.registerDatabase("gammiste", makeDatabase(&destroyed));
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(container.current());  // the name stays current

    container.unregisterDatabase("GAMMISTE");
    EXPECT_EQ(destroyed, 2);
    EXPECT_FALSE(container.current());
    EXPECT_THROW(container.registerDatabase("", makeDatabase(&destroyed)), std::invalid_argument);
}

}  // namespace
}  // namespace orvdb::host

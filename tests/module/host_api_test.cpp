// The public host API (orvdb/host.h): handlers, registry and container.
#include <gmock/gmock.h>
#include <orvdb/host.h>

#include <cstdint>
#include <functional>

#include "host/dialogs.hpp"
#include "host/exceptions.hpp"
#include "host/interfaced_object.hpp"
#include "host/object_factory.hpp"
#include "host/progress.hpp"
#include "host/reporting.hpp"
#include "module_test_support.hpp"

namespace orvdb::module_test {
namespace {

using ::testing::HasSubstr;

// What the C handlers saw, and how often the library released the context.
struct Seen {
    std::vector<std::string> calls;
    int released = 0;
};

void record(void* context, const std::string& text) {
    static_cast<Seen*>(context)->calls.push_back(text);
}
void onRelease(void* context) {
    ++static_cast<Seen*>(context)->released;
}

struct HandlerCase {
    const char* service;
    std::function<OrvHResult(Seen*)> install;
    std::function<OrvHResult()> reset;
    std::function<void()> trigger;
    const char* expected;
};

const HandlerCase kHandlerCases[] = {
    {"messages",
     [](Seen* seen) {
         return OrvSetMessageHandler([](void* c, const char* text) { record(c, text); }, seen,
                                     onRelease);
     },
     [] { return OrvSetMessageHandler(nullptr, nullptr, nullptr); },
     [] { host::showMessage("CANNOT FIND x.mdb"); }, "CANNOT FIND x.mdb"},
    {"exceptions",
     [](Seen* seen) {
         return OrvSetExceptionHandler(
             [](void* c, int32_t kind, const char* message) {
                 record(c, std::to_string(kind) + ":" + message);
             },
             seen, onRelease);
     },
     [] { return OrvSetExceptionHandler(nullptr, nullptr, nullptr); },
     [] { host::HandleException(host::EORV_DATABASEUPDATE("too old")); }, "2:too old"},
    {"questions",
     [](Seen* seen) {
         return OrvSetQuestionHandler(
             [](void* c, const char* text, const char* caption, int32_t flags) {
                 record(c, std::string(caption) + "|" + text + "|" + std::to_string(flags));
                 return ORV_IDYES;
             },
             seen, onRelease);
     },
     [] { return OrvSetQuestionHandler(nullptr, nullptr, nullptr); },
     [] { host::MessageBox("Continue?", "Merge", host::MB_YESNO, 0); }, "Merge|Continue?|4"},
    {"debug output",
     [](Seen* seen) {
         return OrvSetDebugHandler([](void* c, const char* text) { record(c, text); }, seen,
                                   onRelease);
     },
     [] { return OrvSetDebugOutput(""); }, [] { host::debugOutput("no such table"); },
     "no such table"},
    {"object factory",
     [](Seen* seen) {
         return OrvSetObjectFactory(
             [](void* c, const char* name) -> OrvIInterface* {
                 record(c, name);
                 return nullptr;
             },
             seen, onRelease);
     },
     [] { return OrvSetObjectFactory(nullptr, nullptr, nullptr); },
     [] { host::objectFactory()->createObject("DEVIS_IMAGE"); }, "DEVIS_IMAGE"},
    {"progress",
     [](Seen* seen) {
         OrvProgressHandler handler{};
         handler.context = seen;
         handler.update = [](void* c, const OrvProgressBar* upper, const OrvProgressBar* lower) {
             record(c, std::string(upper->caption) + " " + std::to_string(upper->position) + "/" +
                           std::to_string(upper->max) + "|" + lower->caption);
         };
         handler.release = onRelease;
         return OrvSetProgressHandler(&handler);
     },
     [] { return OrvSetProgressKind(ORV_PROGRESS_NONE); },
     [] {
         auto progress = host::progress();
         progress->setMax(0, 4);
         progress->step(0);
     },
     "stTablename 1/4|stFieldname"},
};

class HostApiTest : public ModuleTest {};

TEST_F(HostApiTest, HandlersGetTheLibrarysCallsAndAreReleasedOnceWhenReplaced) {
    for (const HandlerCase& c : kHandlerCases) {
        Seen seen;
        ASSERT_EQ(c.install(&seen), ORV_S_OK) << c.service << ": " << lastErrorMessage();
        c.trigger();
        ASSERT_FALSE(seen.calls.empty()) << c.service;
        EXPECT_EQ(seen.calls.back(), c.expected) << c.service;
        EXPECT_EQ(seen.released, 0) << c.service;

        ASSERT_EQ(c.reset(), ORV_S_OK) << c.service;
        EXPECT_EQ(seen.released, 1) << c.service;
        const size_t before = seen.calls.size();
        ::testing::internal::CaptureStderr();
        c.trigger();
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(seen.calls.size(), before) << c.service << ": called after the reset";
    }
}

TEST_F(HostApiTest, ResetHostServicesReleasesEveryHandler) {
    Seen seen;
    for (const HandlerCase& c : kHandlerCases) {
        ASSERT_EQ(c.install(&seen), ORV_S_OK) << c.service;
    }
    EXPECT_EQ(seen.released, 0);
    ASSERT_EQ(OrvResetHostServices(), ORV_S_OK) << lastErrorMessage();
    EXPECT_EQ(seen.released, static_cast<int>(std::size(kHandlerCases)));
}

TEST_F(HostApiTest, DefaultAnswerAndProgressKindChooseTheBuiltInServices) {
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(OrvSetDefaultAnswer(1), ORV_S_OK);
    EXPECT_EQ(host::MessageBox("Overwrite?", "Merge", host::MB_YESNO, 0), host::IDYES);
    ASSERT_EQ(OrvSetDefaultAnswer(0), ORV_S_OK);
    EXPECT_EQ(host::MessageBox("Overwrite?", "Merge", host::MB_OKCANCEL, 0), host::IDCANCEL);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("Merge: Overwrite? -> Yes"));

    EXPECT_EQ(OrvSetProgressKind(9), ORV_E_INVALIDARG);
    EXPECT_THAT(lastErrorMessage(), HasSubstr("unknown progress kind 9"));
    ASSERT_EQ(OrvSetProgressKind(ORV_PROGRESS_NONE), ORV_S_OK);
    EXPECT_NE(dynamic_cast<host::SilentProgress*>(host::progress().get()), nullptr);
}

std::string registryText(int32_t entry, OrvHResult expected = ORV_S_OK) {
    OrvBstr text = reinterpret_cast<OrvBstr>(static_cast<uintptr_t>(0xDEADBEEF));
    EXPECT_EQ(OrvGetRegistryEntry(entry, &text), expected) << "entry " << entry;
    if (ORV_FAILED(expected)) {
        EXPECT_EQ(text, nullptr);
    }
    return host::Bstr::adopt(text).utf8();
}

TEST_F(HostApiTest, RegistryEntriesAreSetAndReadByNumber) {
    ASSERT_EQ(OrvSetRegistryEntry(ORV_REGISTRY_PROVIDER_NAME, "Acme"), ORV_S_OK);
    EXPECT_EQ(registryText(ORV_REGISTRY_PROVIDER_NAME), "Acme");
    // A relative folder is taken from the current directory at once.
    ASSERT_EQ(OrvSetRegistryEntry(ORV_REGISTRY_LANGUAGE_FOLDER, "lng"), ORV_S_OK);
    EXPECT_EQ(registryText(ORV_REGISTRY_LANGUAGE_FOLDER),
              std::filesystem::current_path().generic_string() + "/lng/");
    for (int32_t outside : {-1, ORV_REGISTRY_ENTRY_COUNT}) {
        EXPECT_EQ(OrvSetRegistryEntry(outside, "x"), ORV_E_INVALIDARG);
        EXPECT_THAT(lastErrorMessage(), HasSubstr("no entry " + std::to_string(outside)));
        registryText(outside, ORV_E_INVALIDARG);
    }
    EXPECT_EQ(OrvGetRegistryEntry(ORV_REGISTRY_DATA_ROOT, nullptr), ORV_E_POINTER);
}

TEST_F(HostApiTest, ConfigFileThroughTheApiFollowsTheDataRootSetThere) {
    const std::string good = dir.file("conf/good.ini");
    writeFile(good, "[registry]\nDataRoot=/root/config\nLanguageFolder=/lng\n");
    const std::string bad = dir.file("conf/bad.ini");
    writeFile(bad, "[registry]\nDataRut=/x\n");

    ASSERT_EQ(OrvSetRegistryConfigFile(good.c_str()), ORV_S_OK) << lastErrorMessage();
    if (std::getenv("ORVDB_DATA_ROOT") == nullptr) {
        EXPECT_EQ(registryText(ORV_REGISTRY_DATA_ROOT), "/root/config/");
    }
    ASSERT_EQ(OrvSetRegistryEntry(ORV_REGISTRY_DATA_ROOT, "/root/host"), ORV_S_OK);
    EXPECT_EQ(registryText(ORV_REGISTRY_TEMPLATE_FOLDER), "/root/host/");
    EXPECT_EQ(registryText(ORV_REGISTRY_LANGUAGE_FOLDER), "/lng/");

    EXPECT_EQ(OrvSetRegistryConfigFile(bad.c_str()), ORV_E_FAIL);
    EXPECT_THAT(lastErrorMessage(), HasSubstr(bad + ":2: unknown key 'DataRut'"));
    EXPECT_EQ(registryText(ORV_REGISTRY_LANGUAGE_FOLDER), "/lng/") << "nothing changed";

    ASSERT_EQ(OrvResetRegistry(), ORV_S_OK);
    EXPECT_NE(registryText(ORV_REGISTRY_DATA_ROOT), "/root/host/");
}

// A container that refuses every name, saying so.
class RefusingContainer : public host::TInterfacedObjectEx<iMultiDatabase> {
public:
    OrvHResult RegisterDatabase(OrvBstr, iDatabase*) override { return ORV_E_NOTIMPL; }
    OrvHResult SetCurrent(OrvBstr name) override {
        asked.push_back(host::toUtf8(host::bstrView(name)));
        return host::guarded([] { throw std::runtime_error("the host's container says no"); });
    }
    OrvHResult Get_Current(iDatabase** database) override {
        host::clearOut(database);
        return ORV_E_NOTIMPL;
    }
    std::vector<std::string> asked;
};

TEST_F(HostApiTest, MergeWithoutAContainerUsesTheInstalledOne) {
    setRegistryEntry(ORV_REGISTRY_DATA_ROOT, dir.folder());
    ASSERT_EQ(OrvSetProgressKind(ORV_PROGRESS_NONE), ORV_S_OK);
    ComPtr<RefusingContainer> container(new RefusingContainer);
    ASSERT_EQ(OrvSetDatabaseContainer(reinterpret_cast<OrvIMultiDatabase*>(
                  static_cast<iMultiDatabase*>(container.get()))),
              ORV_S_OK);
    EXPECT_EQ(container->refCount(), 2) << "the library keeps a reference";
    EXPECT_EQ(MergeDatabase(nullptr, W("A").get(), W("B").get(), W("C").get(), 0, 0, nullptr, 10),
              ORV_E_FAIL);
    EXPECT_THAT(lastErrorMessage(), HasSubstr("the host's container says no"));
    EXPECT_EQ(container->asked, std::vector<std::string>{"XLIB"});

    ASSERT_EQ(OrvSetDatabaseContainer(nullptr), ORV_S_OK);
    EXPECT_EQ(container->refCount(), 1);
}

}  // namespace
}  // namespace orvdb::module_test

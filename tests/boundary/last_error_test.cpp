#include <gtest/gtest.h>
#include <orvdb/strings.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace {

using orvdb::ComPtr;
using orvdb::host::Bstr;
using orvdb::host::guarded;
using orvdb::host::StatusError;

// An interface whose single operation runs whatever body the test gives it.
struct IRunner : orvdb::IInterface {
    static constexpr OrvGuid iid = orvdb::guidFromString("3C9E1F0A-7B52-4D6E-8A14-5F2B9C0D7E31");
    using Parent = orvdb::IInterface;
    virtual OrvHResult Run() = 0;

protected:
    ~IRunner() = default;
};

class Runner final : public orvdb::host::TInterfacedObjectEx<IRunner> {
public:
    explicit Runner(std::function<OrvHResult()> body) : body_(std::move(body)) {}
    OrvHResult Run() override {
        return guarded([&] { return body_(); });
    }

private:
    std::function<OrvHResult()> body_;
};

OrvHResult runThroughInterface(std::function<OrvHResult()> body) {
    ComPtr<IRunner> runner(new Runner(std::move(body)));
    return runner->Run();
}

// The message as the boundary hands it out: "" stands for no message.
std::string lastMessage() {
    Bstr message = Bstr::adopt(OrvGetLastErrorMessage());
    if (message.get()) {
        EXPECT_GT(OrvBstrLength(message.get()), 0u) << "an empty message is NULL";
    }
    return message.utf8();
}

struct ErrorCase {
    const char* name;
    std::function<OrvHResult()> body;
    OrvHResult status;
    std::string message;
};

TEST(LastError, ExceptionsBecomeStatusesWithReadableMessages) {
    const ErrorCase cases[] = {
        {"runtime_error",
         []() -> OrvHResult { throw std::runtime_error("no such table: Article"); }, ORV_E_FAIL,
         "no such table: Article"},
        {"logic_error",
         []() -> OrvHResult { throw std::out_of_range("list index out of bounds (-1)"); },
         ORV_E_FAIL, "list index out of bounds (-1)"},
        {"status_error_keeps_code",
         []() -> OrvHResult { throw StatusError(ORV_E_INVALIDARG, "settings file missing"); },
         ORV_E_INVALIDARG, "settings file missing"},
        {"status_error_not_implemented",
         []() -> OrvHResult { throw StatusError(ORV_E_NOTIMPL, "Backup"); }, ORV_E_NOTIMPL,
         "Backup"},
        {"non_ascii_message",
         []() -> OrvHResult {
             throw std::runtime_error(
                 "\xC3\xA9"
                 "chec \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 \xF0\x9F\x92\xA5");
         },
         ORV_E_FAIL,
         "\xC3\xA9"
         "chec \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 \xF0\x9F\x92\xA5"},
        // Success after a failure clears its message.
        {"success", [] { return ORV_S_OK; }, ORV_S_OK, ""},
        {"negative_answer", [] { return ORV_S_FALSE; }, ORV_S_FALSE, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runThroughInterface(c.body), c.status);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(lastMessage(), c.message) << "reading the message does not consume it";
    }
}

TEST(LastError, NonStandardExceptionStillFails) {
    EXPECT_EQ(runThroughInterface([]() -> OrvHResult { throw 42; }), ORV_E_FAIL);
    EXPECT_FALSE(lastMessage().empty());
}

TEST(LastError, VoidBodySucceeds) {
    int calls = 0;
    EXPECT_EQ(guarded([&] { ++calls; }), ORV_S_OK);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(guarded([]() { throw std::runtime_error("void body failed"); }), ORV_E_FAIL);
    EXPECT_EQ(lastMessage(), "void body failed");
}

TEST(LastError, MessagesArePerThread) {
    runThroughInterface([]() -> OrvHResult { throw std::runtime_error("main thread failure"); });
    std::string seenByOtherBefore = "unset";
    std::string seenByOtherAfter;
    std::thread other([&] {
        seenByOtherBefore = lastMessage();
        runThroughInterface([]() -> OrvHResult { throw std::runtime_error("worker failure"); });
        seenByOtherAfter = lastMessage();
    });
    other.join();
    EXPECT_EQ(seenByOtherBefore, "");
    EXPECT_EQ(seenByOtherAfter, "worker failure");
    EXPECT_EQ(lastMessage(), "main thread failure");
}

TEST(LastError, ThrowIfFailedTurnsTheStatusBackIntoAnException) {
    const OrvHResult status = runThroughInterface(
        []() -> OrvHResult { throw StatusError(ORV_E_INVALIDARG, "bad alias"); });
    try {
        orvdb::host::throwIfFailed(status, "OpenDatabase");
        FAIL() << "no exception";
    } catch (const StatusError& e) {
        EXPECT_EQ(e.status(), ORV_E_INVALIDARG);
        EXPECT_STREQ(e.what(), "bad alias");
    }

    // Without a message the operation and the code are named.
    runThroughInterface([] { return ORV_S_OK; });
    try {
        orvdb::host::throwIfFailed(ORV_E_NOINTERFACE, "Get_ActiveQuery");
        FAIL() << "no exception";
    } catch (const StatusError& e) {
        EXPECT_EQ(e.status(), ORV_E_NOINTERFACE);
        EXPECT_NE(std::string(e.what()).find("Get_ActiveQuery"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("80004002"), std::string::npos);
    }
    EXPECT_NO_THROW(orvdb::host::throwIfFailed(ORV_S_FALSE, "Next"));
}

}  // namespace

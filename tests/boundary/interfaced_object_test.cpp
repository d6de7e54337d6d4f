// The object base of every interface (references, QueryInterface) and the
// guard each operation runs in, which turns an exception into a status and a
// message.
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
using orvdb::guidFromString;
using orvdb::IInterface;
using orvdb::host::Bstr;
using orvdb::host::guarded;
using orvdb::host::StatusError;

struct IShape : IInterface {
    static constexpr OrvGuid iid = guidFromString("6E1B0C52-1D4A-4F4B-9A51-0C6A3F7B2D10");
    using Parent = IInterface;
    virtual int32_t Corners() = 0;

protected:
    ~IShape() = default;
};

struct ISquare : IShape {
    static constexpr OrvGuid iid = guidFromString("6E1B0C52-1D4A-4F4B-9A51-0C6A3F7B2D11");
    using Parent = IShape;
    virtual int32_t Side() = 0;

protected:
    ~ISquare() = default;
};

struct ILabel : IInterface {
    static constexpr OrvGuid iid = guidFromString("6E1B0C52-1D4A-4F4B-9A51-0C6A3F7B2D12");
    using Parent = IInterface;
    virtual int32_t LabelLength() = 0;

protected:
    ~ILabel() = default;
};

struct IExtra : IInterface {
    static constexpr OrvGuid iid = guidFromString("6E1B0C52-1D4A-4F4B-9A51-0C6A3F7B2D13");
    using Parent = IInterface;

protected:
    ~IExtra() = default;
};

constexpr OrvGuid kUnknownIid = guidFromString("6E1B0C52-1D4A-4F4B-9A51-0C6A3F7B2DFF");

int gDestroyed = 0;

class Square final : public orvdb::host::TInterfacedObjectEx<ISquare, ILabel> {
public:
    explicit Square(IExtra* extra = nullptr) : extra_(extra) {}
    ~Square() override { ++gDestroyed; }
    int32_t Corners() override { return 4; }
    int32_t Side() override { return 7; }
    int32_t LabelLength() override { return 6; }

protected:
    void* queryExtra(const OrvGuid& iid) override { return iid == IExtra::iid ? extra_ : nullptr; }

private:
    IExtra* extra_;
};

class ObjectBase : public testing::Test {
protected:
    void SetUp() override { gDestroyed = 0; }
};

TEST_F(ObjectBase, QueryInterfaceAnswersForEachInterfaceAndItsParents) {
    auto* square = new Square;
    EXPECT_EQ(square->refCount(), 0) << "objects start unowned";
    ISquare* asSquare = square;
    EXPECT_EQ(asSquare->AddRef(), 1);

    struct Case {
        const char* name;
        OrvGuid iid;
        void* expected;
    };
    const Case cases[] = {
        {"ISquare", ISquare::iid, static_cast<ISquare*>(square)},
        {"IShape (parent)", IShape::iid, static_cast<IShape*>(square)},
        {"ILabel", ILabel::iid, static_cast<ILabel*>(square)},
        {"IInterface", IInterface::iid, static_cast<IInterface*>(static_cast<ISquare*>(square))},
        {"unknown", kUnknownIid, nullptr},
        {"IExtra without an extra object", IExtra::iid, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* out = reinterpret_cast<void*>(0x1234);  // stale content must not survive
        EXPECT_EQ(asSquare->QueryInterface(c.iid, &out), c.expected ? ORV_S_OK : ORV_E_NOINTERFACE);
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(square->refCount(), c.expected ? 2 : 1) << "a successful query adds a reference";
        if (out) {
            static_cast<IInterface*>(out)->Release();
        }
    }
    EXPECT_EQ(asSquare->QueryInterface(ISquare::iid, nullptr), ORV_E_POINTER);
    // The answers are usable through the pointer they gave.
    void* out = nullptr;
    ASSERT_EQ(asSquare->QueryInterface(IShape::iid, &out), ORV_S_OK);
    EXPECT_EQ(static_cast<IShape*>(out)->Corners(), 4);
    static_cast<IShape*>(out)->Release();
    ASSERT_EQ(asSquare->QueryInterface(ILabel::iid, &out), ORV_S_OK);
    EXPECT_EQ(static_cast<ILabel*>(out)->LabelLength(), 6);
    static_cast<ILabel*>(out)->Release();

    // Releasing through another interface deletes the whole object, once.
    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(static_cast<ILabel*>(square)->Release(), 0);
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ObjectBase, IdentityIsTheSameFromEveryInterface) {
    ComPtr<ISquare> square(new Square);
    ComPtr<ILabel> label = square.as<ILabel>();
    ASSERT_TRUE(label);
    ComPtr<IInterface> fromSquare = square.as<IInterface>();
    ComPtr<IInterface> fromLabel = label.as<IInterface>();
    EXPECT_EQ(fromSquare.get(), fromLabel.get());
    ComPtr<ISquare> back = label.as<ISquare>();
    EXPECT_EQ(back.get(), square.get());
    EXPECT_FALSE(square.as<IExtra>());
}

TEST_F(ObjectBase, QueryExtraAddsInterfacesAndCountsTheReference) {
    struct Extra final : IExtra {
        int32_t refs = 0;
        OrvHResult QueryInterface(const OrvGuid&, void**) override { return ORV_E_NOINTERFACE; }
        int32_t AddRef() override { return ++refs; }
        int32_t Release() override { return --refs; }
    } extra;
    auto* square = new Square(&extra);
    square->AddRef();
    void* out = nullptr;
    ASSERT_EQ(static_cast<ISquare*>(square)->QueryInterface(IExtra::iid, &out), ORV_S_OK);
    EXPECT_EQ(out, &extra);
    EXPECT_EQ(square->refCount(), 2) << "the object answering the query holds the reference";
    square->release();
    square->release();
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ObjectBase, ComPtrKeepsObjectsAliveAcrossCopiesAndMoves) {
    {
        ComPtr<ISquare> a(new Square);
        {
            ComPtr<ISquare> b = a;
            ComPtr<ILabel> label = b.as<ILabel>();
            ComPtr<ISquare> c = std::move(b);
            EXPECT_FALSE(b);
            a.reset();
            EXPECT_EQ(gDestroyed, 0);
            EXPECT_EQ(c->Side(), 7);
        }
        EXPECT_EQ(gDestroyed, 1);
        EXPECT_FALSE(a);
    }
    // adopt() takes over an out argument's reference without adding one.
    ISquare* raw = nullptr;
    {
        ComPtr<ISquare> owner(new Square);
        void* out = nullptr;
        ASSERT_EQ(owner->QueryInterface(ISquare::iid, &out), ORV_S_OK);
        raw = static_cast<ISquare*>(out);
    }
    EXPECT_EQ(gDestroyed, 1);
    { auto adopted = ComPtr<ISquare>::adopt(raw); }
    EXPECT_EQ(gDestroyed, 2);
}

TEST_F(ObjectBase, PlainObjectCountsWithoutInterfaces) {
    struct Plain final : orvdb::host::TObjectEx {
        ~Plain() override { ++gDestroyed; }
    };
    auto* plain = new Plain;
    EXPECT_EQ(plain->addRef(), 1);
    EXPECT_EQ(plain->addRef(), 2);
    EXPECT_EQ(plain->release(), 1);
    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(plain->release(), 0);
    EXPECT_EQ(gDestroyed, 1);
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
        EXPECT_EQ(guarded(c.body), c.status);
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(lastMessage(), c.message) << "reading the message does not consume it";
    }
}

TEST(LastError, NonStandardExceptionsFailAndVoidBodiesSucceed) {
    EXPECT_EQ(guarded([]() -> OrvHResult { throw 42; }), ORV_E_FAIL);
    EXPECT_FALSE(lastMessage().empty());
    int calls = 0;
    EXPECT_EQ(guarded([&] { ++calls; }), ORV_S_OK);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(guarded([]() { throw std::runtime_error("void body failed"); }), ORV_E_FAIL);
    EXPECT_EQ(lastMessage(), "void body failed");
}

TEST(LastError, MessagesArePerThread) {
    guarded([]() -> OrvHResult { throw std::runtime_error("main thread failure"); });
    std::string seenByOtherBefore = "unset";
    std::string seenByOtherAfter;
    std::thread other([&] {
        seenByOtherBefore = lastMessage();
        guarded([]() -> OrvHResult { throw std::runtime_error("worker failure"); });
        seenByOtherAfter = lastMessage();
    });
    other.join();
    EXPECT_EQ(seenByOtherBefore, "");
    EXPECT_EQ(seenByOtherAfter, "worker failure");
    EXPECT_EQ(lastMessage(), "main thread failure");
}

TEST(LastError, ThrowIfFailedTurnsTheStatusBackIntoAnException) {
    const OrvHResult status =
        guarded([]() -> OrvHResult { throw StatusError(ORV_E_INVALIDARG, "bad alias"); });
    try {
        orvdb::host::throwIfFailed(status, "OpenDatabase");
        FAIL() << "no exception";
    } catch (const StatusError& e) {
        EXPECT_EQ(e.status(), ORV_E_INVALIDARG);
        EXPECT_STREQ(e.what(), "bad alias");
    }

    // Without a message the operation and the code are named.
    guarded([] { return ORV_S_OK; });
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

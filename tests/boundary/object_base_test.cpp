#include <gtest/gtest.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include "host/interfaced_object.hpp"

namespace {

using orvdb::ComPtr;
using orvdb::guidFromString;
using orvdb::IInterface;

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
    ISquare* asSquare = square;
    asSquare->AddRef();

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* out = nullptr;
        ASSERT_EQ(asSquare->QueryInterface(c.iid, &out), ORV_S_OK);
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(square->refCount(), 2) << "a successful query adds a reference";
        static_cast<IInterface*>(out)->Release();
    }
    // The answers are usable through the pointer they gave.
    void* out = nullptr;
    ASSERT_EQ(asSquare->QueryInterface(IShape::iid, &out), ORV_S_OK);
    EXPECT_EQ(static_cast<IShape*>(out)->Corners(), 4);
    static_cast<IShape*>(out)->Release();
    ASSERT_EQ(asSquare->QueryInterface(ILabel::iid, &out), ORV_S_OK);
    EXPECT_EQ(static_cast<ILabel*>(out)->LabelLength(), 6);
    static_cast<ILabel*>(out)->Release();

    EXPECT_EQ(asSquare->Release(), 0);
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
}

TEST_F(ObjectBase, UnknownIdentifierGivesNoInterfaceAndClearsOut) {
    ComPtr<ISquare> square(new Square);
    void* out = reinterpret_cast<void*>(0x1234);  // stale content must not survive
    EXPECT_EQ(square->QueryInterface(kUnknownIid, &out), ORV_E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(square->QueryInterface(IExtra::iid, &out), ORV_E_NOINTERFACE);
    EXPECT_EQ(square->QueryInterface(ISquare::iid, nullptr), ORV_E_POINTER);
    EXPECT_EQ(square->AddRef(), 2) << "failed queries took no reference";
    square->Release();
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

TEST_F(ObjectBase, DeletedExactlyOnceWhenTheLastReferenceGoes) {
    auto* square = new Square;
    EXPECT_EQ(square->refCount(), 0) << "objects start unowned";
    ISquare* asSquare = square;
    ILabel* asLabel = square;
    EXPECT_EQ(asSquare->AddRef(), 1);
    EXPECT_EQ(asLabel->AddRef(), 2);
    EXPECT_EQ(asSquare->Release(), 1);
    EXPECT_EQ(gDestroyed, 0);
    // Releasing through the second interface deletes the whole object.
    EXPECT_EQ(asLabel->Release(), 0);
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

}  // namespace

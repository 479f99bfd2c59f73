#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/interfaces.h"
#include "classlib/core/typinfo.h"

namespace {

class IFirst : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{E3754817-49A3-4612-A228-5D44A088681D}");
    virtual int First() = 0;

protected:
    ~IFirst() = default;
};

class ISecond : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{0211aef7-ccE9-4F13-B3CE-287251C89182}");
    virtual int Second() = 0;

protected:
    ~ISecond() = default;
};

class TBoth : public TObject, public IFirst, public ISecond {
public:
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }
    bool QueryInterface(const TGUID& iid, void** obj) override {
        return QueryInterfaces<IFirst, ISecond>(this, iid, obj);
    }
    int First() override { return 1; }
    int Second() override { return 2; }
};

class TOnlyFirst : public TObject, public IFirst {
public:
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }
    bool QueryInterface(const TGUID& iid, void** obj) override { return QueryInterfaces<IFirst>(this, iid, obj); }
    int First() override { return 10; }
};

TEST(Interfaces, GuidFromText) {
    constexpr TGUID g = GUID("{7DAD5220-46EA-11D5-B0C0-4854E825F345}");
    static_assert(g.D1 == 0x7DAD5220 && g.D2 == 0x46EA && g.D3 == 0x11D5);
    static_assert(g.D4[0] == 0xB0 && g.D4[1] == 0xC0 && g.D4[7] == 0x45);
    EXPECT_EQ(g.ToString(), "{7DAD5220-46EA-11D5-B0C0-4854E825F345}");
    EXPECT_EQ(ISecond::IID.ToString(), "{0211AEF7-CCE9-4F13-B3CE-287251C89182}");
    EXPECT_FALSE(IFirst::IID == ISecond::IID);
    EXPECT_TRUE(IFirst::IID == GUID("{e3754817-49a3-4612-a228-5d44a088681d}"));
}

TEST(Interfaces, SupportsByIdentifier) {
    TBoth both;
    TOnlyFirst first;
    TObject plain;
    ASSERT_NE(Supports<IFirst>(&both), nullptr);
    EXPECT_EQ(Supports<IFirst>(&both)->First(), 1);
    EXPECT_EQ(Supports<ISecond>(&both)->Second(), 2);
    EXPECT_EQ(Supports<IFirst>(&first)->First(), 10);
    EXPECT_EQ(Supports<ISecond>(&first), nullptr);
    EXPECT_EQ(Supports<IFirst>(&plain), nullptr);
    EXPECT_EQ(Supports<IFirst>(static_cast<TObject*>(nullptr)), nullptr);
    void* p = &plain;
    EXPECT_FALSE(Supports(&first, ISecond::IID, &p));
    EXPECT_EQ(p, nullptr);
}

// ---- Counted objects --------------------------------------------------------

std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

class IPart : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{5B0E5D1E-8F3C-4C43-9B8A-2E61B7F0C001}");
    virtual int Part() = 0;

protected:
    ~IPart() = default;
};

class IWhole : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{5B0E5D1E-8F3C-4C43-9B8A-2E61B7F0C002}");
    virtual int Whole() = 0;

protected:
    ~IWhole() = default;
};

// A part aggregated into a whole: it answers IPart itself; everything else,
// and its counting, goes to the whole.
class TPart : public TAggregatedObject, public IPart {
    QL_CLASS(TPart, TAggregatedObject)
public:
    using TAggregatedObject::TAggregatedObject;
    int Part() override { return 7; }
};

TClass TPart::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPart>("TPart").Implements<IPart>().Build();
    return &info;
}

class TWhole : public TInterfacedObject, public IWhole {
    QL_CLASS(TWhole, TInterfacedObject)
public:
    TWhole() {
        // The count is 1 while constructing: a reference taken and dropped
        // here must not free the object.
        TIntfPtr<IWhole> self(this);
        CountInConstructor = RefCount();
        FPart = new TPart(this);
    }
    ~TWhole() override {
        delete FPart;
        Events().push_back("whole freed");
    }
    // Its own interfaces first, then its part's.
    bool QueryInterface(const TGUID& iid, void** obj) override {
        return GetInterface(iid, obj) || FPart->GetInterface(iid, obj);
    }
    int Whole() override { return 3; }
    IPart* PartIntf() { return FPart; }

    int CountInConstructor = 0;

private:
    TPart* FPart;
};

TClass TWhole::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWhole>("TWhole").Implements<IWhole>().Build();
    return &info;
}

TEST(CountedObjects, CountOneWhileConstructingZeroWhenMadeFreedAtTheLastRelease) {
    Events().clear();
    TWhole* whole = NewObject<TWhole>();
    EXPECT_EQ(whole->CountInConstructor, 2);
    EXPECT_EQ(whole->RefCount(), 0);
    {
        TIntfPtr<IWhole> a(whole);
        EXPECT_EQ(whole->RefCount(), 1);
        TIntfPtr<IWhole> b = a;
        EXPECT_EQ(whole->RefCount(), 2);
        TIntfPtr<IWhole> c = std::move(b);
        EXPECT_EQ(whole->RefCount(), 2);
        EXPECT_FALSE(b);
        c.Reset();
        EXPECT_EQ(whole->RefCount(), 1);
        EXPECT_TRUE(Events().empty());
    }
    EXPECT_EQ(Events(), std::vector<std::string>{"whole freed"});
}

TEST(CountedObjects, FreeingWhileReferencedIsAnError) {
    Events().clear();
    TWhole* whole = NewObject<TWhole>();
    TIntfPtr<IWhole> held(whole);
    EXPECT_THROW(whole->Free(), EInvalidPointer);
    EXPECT_TRUE(Events().empty());  // still alive
    held.Reset();
    EXPECT_EQ(Events().size(), 1u);
}

TEST(CountedObjects, ReleasingBelowZeroIsAnErrorAndFreesNothing) {
    Events().clear();
    TWhole* whole = NewObject<TWhole>();
    EXPECT_THROW(whole->_Release(), EInvalidPointer);
    EXPECT_EQ(whole->RefCount(), 0);
    EXPECT_TRUE(Events().empty());
    {
        TIntfPtr<IWhole> held(whole);
        EXPECT_EQ(whole->RefCount(), 1);
    }
    EXPECT_EQ(Events(), std::vector<std::string>{"whole freed"});
}

TEST(CountedObjects, ClassFactoryCallsAfterConstruction) {
    Events().clear();
    TObject* made = CreateObject(TWhole::StaticClass());
    auto* whole = dynamic_cast<TWhole*>(made);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->RefCount(), 0);
    TIntfPtr<IWhole> held(whole);
    held.Reset();
    EXPECT_EQ(Events().size(), 1u);
}

TEST(Aggregation, PartAnswersForTheWholeAndKeepsItAlive) {
    Events().clear();
    TIntfPtr<IWhole> whole(NewObject<TWhole>());
    // The whole finds its part's interface.
    TIntfPtr<IPart> part = IntfCast<IPart>(whole);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->Part(), 7);
    auto* object = static_cast<TWhole*>(whole.Get());
    EXPECT_EQ(object->RefCount(), 2);  // the part counts on the whole
    // The part answers for the whole.
    TIntfPtr<IWhole> back = IntfCast<IWhole>(part);
    ASSERT_TRUE(back);
    EXPECT_EQ(back.Get(), whole.Get());
    back.Reset();
    whole.Reset();
    EXPECT_TRUE(Events().empty());  // the part's reference keeps the whole
    EXPECT_EQ(part->Part(), 7);
    part.Reset();
    EXPECT_EQ(Events(), std::vector<std::string>{"whole freed"});
}

TEST(Aggregation, OwnLookupFindsOnlyWhatThePartImplements) {
    TIntfPtr<IWhole> whole(NewObject<TWhole>());
    IPart* part = static_cast<TWhole*>(whole.Get())->PartIntf();
    auto* object = dynamic_cast<TObject*>(part);
    ASSERT_NE(object, nullptr);
    void* p = nullptr;
    EXPECT_FALSE(object->GetInterface(IWhole::IID, &p));
    EXPECT_TRUE(object->GetInterface(IPart::IID, &p));
    EXPECT_TRUE(TPart::StaticClass()->Supports(IPart::IID));
    EXPECT_FALSE(TPart::StaticClass()->Supports(IWhole::IID));
    EXPECT_TRUE(TWhole::StaticClass()->Supports(IWhole::IID));
}

TEST(Aggregation, CastOfAnEmptyOrForeignPointerIsEmpty) {
    TIntfPtr<IWhole> none;
    EXPECT_FALSE(IntfCast<IPart>(none));
    TBoth both;
    EXPECT_FALSE(IntfCast<IPart>(static_cast<TObject*>(&both)));
    EXPECT_THROW(IntfCastChecked<IPart>(static_cast<IInterface*>(static_cast<IFirst*>(&both))), EIntfCastError);
}

}  // namespace

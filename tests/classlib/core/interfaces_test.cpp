#include <gtest/gtest.h>

#include "classlib/core/interfaces.h"

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
    bool QueryInterface(const TGUID& iid, void** obj) override {
        return QueryInterfaces<IFirst, ISecond>(this, iid, obj);
    }
    int First() override { return 1; }
    int Second() override { return 2; }
};

class TOnlyFirst : public TObject, public IFirst {
public:
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
    EXPECT_EQ(Supports<IFirst>(nullptr), nullptr);
    void* p = &plain;
    EXPECT_FALSE(Supports(&first, ISecond::IID, &p));
    EXPECT_EQ(p, nullptr);
}

}  // namespace

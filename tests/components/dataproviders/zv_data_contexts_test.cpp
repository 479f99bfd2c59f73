// Contexts: made only with a list, named uniquely, added and deleted with
// the provider's notifications, found by name and name path.
#include "components/dataproviders/zv_data_contexts.h"

#include <gtest/gtest.h>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

// A context with contexts of its own.
class TParentContext : public TZvDataContext {
    QL_CLASS(TParentContext, TZvDataContext)
public:
    using TZvDataContext::TZvDataContext;
    bool QueryInterface(const TGUID& iid, void** obj) override {
        if (iid == IZvDataContexts::IID && Children) {
            *obj = static_cast<IZvDataContexts*>(Children);
            return true;
        }
        return TZvDataContext::QueryInterface(iid, obj);
    }
    void BeforeDestruction() override {
        ChildrenRef.Reset();
        TZvDataContext::BeforeDestruction();
    }
    TZvDataContexts* Children = nullptr;
    TIntfPtr<IZvDataContexts> ChildrenRef;
};

TClass TParentContext::StaticClass() {
    static const TClassInfo info = TClassBuilder<TParentContext>("TParentContext").Build();
    return &info;
}

class DataContexts : public testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TZvDataContext* Add(TZvBaseDataContexts* list, const char* name) {
        auto* context = NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(list), String(name));
        list->Add(context);
        return context;
    }
    TTestDataProvider provider{nullptr, true};
};

TEST_F(DataContexts, AContextNeedsAList) {
    try {
        NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(nullptr), String("x"));
        FAIL() << "made";
    } catch (const EZVLDataContexts& e) {
        EXPECT_EQ(e.Message(), "Cannot create a context without a context list owner");
    }
}

TEST_F(DataContexts, TheListMakesItsFixedDefaultContext) {
    TZvDataContexts* list = provider.ContextList();
    ASSERT_EQ(list->GetCount(), 1);
    TIntfPtr<IZvDataContext> first = list->GetContext(0);
    EXPECT_EQ(first->Name(), "");
    EXPECT_FALSE(first->IsDeletable());
    EXPECT_EQ(list->GetContextByName(""), first);
    list->Delete(0);  // not deletable: it stays
    EXPECT_EQ(list->GetCount(), 1);
}

TEST_F(DataContexts, NamesAreUniqueInTheirList) {
    TZvDataContexts* list = provider.ContextList();
    provider.Log.clear();
    TZvDataContext* one = Add(list, "One");
    TZvDataContext* two = Add(list, "Two");
    EXPECT_EQ(provider.Log, (std::vector<String>{"changing context add", "changed context add", "changing context add",
                                                 "changed context add"}));
    one->SetName("One");  // its own name: nothing
    try {
        two->SetName("one");
        FAIL() << "renamed";
    } catch (const EZVLDataContexts& e) {
        EXPECT_EQ(e.Message(), "A context with that name already exists");
    }
    EXPECT_EQ(two->Name(), "Two");
    TIntfPtr<IZvDataContext> dup(NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(list), String("TWO")));
    EXPECT_THROW(list->Add(dup.Get()), EZVLDataContexts);
    EXPECT_EQ(list->GetCount(), 3);

    provider.Log.clear();
    list->Remove(one);
    EXPECT_EQ(provider.Log, (std::vector<String>{"changing context delete", "changed context delete"}));
    EXPECT_EQ(list->GetCount(), 2);
    list->Clear();
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(DataContexts, LookUpByNameAndNamePath) {
    TZvDataContexts* list = provider.ContextList();
    auto* parent = NewObject<TParentContext>(static_cast<IZvDataContexts*>(list), String("Parent"));
    list->Add(parent);
    parent->Children = NewObject<TZvDataContexts>(static_cast<IZvDataProvider*>(&provider),
                                                  static_cast<IZvDataContext*>(parent), nullptr);
    parent->ChildrenRef = TIntfPtr<IZvDataContexts>(parent->Children);
    Add(parent->Children, "Child");
    Add(list, "Other");
    struct Case {
        TZvBaseDataContexts* From;
        const char* Path;
        const char* Found;
    } cases[] = {
        {list, "parent", "Parent"},
        {list, "Parent\\Child", "Child"},
        {list, "Parent/child", "Child"},
        {parent->Children, "..\\Other", "Other"},
        {parent->Children, "\\Other", "Other"},
        {parent->Children, "Child", "Child"},
        {list, "..", "none"},
        {list, "..\\Other", "none"},
        {list, "Child", "none"},
        {list, "Other\\Child", "none"},
        {list, "Nope", "none"},
    };
    for (const Case& c : cases) {
        TIntfPtr<IZvDataContext> found = c.From->GetContextByName(c.Path);
        EXPECT_EQ(found ? found->Name() : String("none"), c.Found) << c.Path;
    }
    EXPECT_EQ(parent->Children->GetContextByName("Child")->Ancestor().Get(), static_cast<IZvDataContext*>(parent));
}

}  // namespace

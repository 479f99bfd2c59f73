// Contexts: named views of a provider's items. A provider (or a context)
// has a list of contexts; each context may derive from the context that
// owns its list (its ancestor). Portable.
#pragma once

#include "components/dataproviders/zv_extensible_persistent.h"

class TZvBaseDataContext;

// A list of contexts. Made with a context class, it makes one context of
// that class (named '') when constructed.
class TZvBaseDataContexts : public TExtensibleInterfacedPersistent, public IZvDataContexts {
    QL_CLASS(TZvBaseDataContexts, TExtensibleInterfacedPersistent)
public:
    TZvBaseDataContexts(IZvDataProvider* provider, IZvDataContext* ancestor, TClass defaultContextClass = nullptr);

    TIntfPtr<IZvDataProvider> Provider() override { return TIntfPtr<IZvDataProvider>(FProvider); }
    TIntfPtr<IZvDataContext> Ancestor() override { return TIntfPtr<IZvDataContext>(FAncestor); }
    int GetCount() override = 0;
    TIntfPtr<IZvDataContext> GetContext(int index) override = 0;
    // A name or a path of names separated by "\" or "/": ".." goes on in
    // the ancestor's list, a leading separator in the provider's list, and
    // every other segment names a context of the current list (case
    // ignored, the last one first) whose own context list the rest of the
    // path goes on in. Nothing above the top.
    TIntfPtr<IZvDataContext> GetContextByName(const String& name) override;

    // A context whose name another context of the list has raises
    // EZVLDataContexts "A context with that name already exists"; else it
    // is appended between the provider's notifications (reason 5).
    void Add(IZvDataContext* context);
    // Only a deletable context, between the provider's notifications
    // (reason 6).
    void Delete(int index);
    void Remove(IZvDataContext* context);
    void Clear();
    int IndexOf(IZvDataContext* context);
    // The context of this list with that name (no path), or nullptr.
    IZvDataContext* FindOwnContext(const String& name, IZvDataContext* except = nullptr);

protected:
    void InitImplementers() override;
    // Not the extensions of items, lists or consumers.
    bool AcceptsExtensionClass(TClass cls) override;
    virtual void DoAdd(IZvDataContext* context) = 0;
    virtual void DoDelete(int index) = 0;
    virtual void DoClear() = 0;

private:
    // Not counted: the provider owns this list (and the ancestor context,
    // when there is one, owns it too); counting them would make a cycle.
    IZvDataProvider* FProvider;
    IZvDataContext* FAncestor;
    TClass FDefaultContextClass;
};

// Contexts kept in a list of counted references.
class TZvDataContexts : public TZvBaseDataContexts {
    QL_CLASS(TZvDataContexts, TZvBaseDataContexts)
public:
    using TZvBaseDataContexts::TZvBaseDataContexts;
    ~TZvDataContexts() override;
    int GetCount() override { return int(FList.size()); }
    TIntfPtr<IZvDataContext> GetContext(int index) override;

protected:
    void DoAdd(IZvDataContext* context) override;
    void DoDelete(int index) override;
    void DoClear() override;

private:
    std::vector<TIntfPtr<IZvDataContext>> FList;
};

// A context: its list (required) and its name. When it goes, every item
// list of the provider is told.
class TZvBaseDataContext : public TExtensibleInterfacedPersistent, public IZvDataContext {
    QL_CLASS(TZvBaseDataContext, TExtensibleInterfacedPersistent)
public:
    // Without a list: EZVLDataContexts "Cannot create a context without a
    // context list owner".
    TZvBaseDataContext(IZvDataContexts* contexts, const String& name);
    void BeforeDestruction() override;

    String Name() override { return FName; }
    TIntfPtr<IZvDataContexts> Contexts() override { return TIntfPtr<IZvDataContexts>(FContexts); }
    TIntfPtr<IZvDataContext> Ancestor() override;
    bool IsDeletable() override { return true; }
    // Stored exactly when not deletable.
    bool IsStreamable() { return !IsDeletable(); }
    // An unchanged name does nothing; a name that another context of the
    // same list has raises "A context with that name already exists".
    void SetName(const String& name);
    // The list is going while the context stays referenced: the context
    // leaves the provider now, so the item lists hear that it goes (a text
    // kept for it must not pass to a later context at its address).
    void DetachFromList();

protected:
    // Not the extensions of items, lists or consumers.
    bool AcceptsExtensionClass(TClass cls) override;
    virtual void DoSetName(const String& name) { FName = name; }

    // Not counted: the list holds its contexts counted; a context that
    // outlives its list is detached from it as the list goes.
    IZvDataContexts* FContexts;
    String FName;

private:
    // Tells every item list of the provider that this context goes.
    void AnnounceGoing();
};

class TZvDataContext : public TZvBaseDataContext {
    QL_CLASS(TZvDataContext, TZvBaseDataContext)
public:
    using TZvBaseDataContext::TZvBaseDataContext;
};

class TZvManagedDataContext : public TZvDataContext {
    QL_CLASS(TZvManagedDataContext, TZvDataContext)
public:
    using TZvDataContext::TZvDataContext;
};

// A context that cannot be deleted.
class TZvFixedDataContext : public TZvDataContext {
    QL_CLASS(TZvFixedDataContext, TZvDataContext)
public:
    using TZvDataContext::TZvDataContext;
    bool IsDeletable() override { return false; }
};

// The standard item and list extensions that need no drawing: an item's
// text (plain, per context, or read-only), and adding and removing a
// list's items with the provider's notifications. Portable.
#pragma once

#include <utility>

#include "components/dataproviders/zv_data_items.h"

// An item's text, always editable. A change is announced to the provider
// (reason 2) before and after; an unchanged value changes nothing.
class TZvDataItemTextImpl : public TZvDataItemAggregatedObject, public IZvDataItemText {
    QL_CLASS(TZvDataItemTextImpl, TZvDataItemAggregatedObject)
public:
    using TZvDataItemAggregatedObject::TZvDataItemAggregatedObject;
    String GetText() override { return FText; }
    void SetText(const String& text) override;
    bool Editable() override { return true; }

protected:
    String FText;
};

// A text per context: reading gives the text of the selected context or of
// its nearest ancestor that has one, else the plain text; writing with a
// context selected stores that context's text, else the plain text.
class TZvDataItemContextTextImpl : public TZvDataItemAggregatedObject,
                                   public IZvDataItemText,
                                   public IZvDataContextSensitive {
    QL_CLASS(TZvDataItemContextTextImpl, TZvDataItemAggregatedObject)
public:
    using TZvDataItemAggregatedObject::TZvDataItemAggregatedObject;
    String GetText() override;
    void SetText(const String& text) override;
    bool Editable() override { return true; }
    // Drops the selected context's own text.
    void RevertToAncestor() override;
    // True when the selected context has no text of its own.
    bool IsEqualToAncestor() override;
    // A context that goes takes its text with it.
    void ContextDestroying(IZvDataContext* context) override;

private:
    IZvDataContext* SelectedContext() const;
    int IndexOf(IZvDataContext* context) const;

    String FText;
    // Keyed by the context (not counted: a context tells its lists when it goes).
    std::vector<std::pair<IZvDataContext*, String>> FContextTexts;
};

// A text that is editable exactly when not ReadOnly.
class TZvDataItemBlockableTextImpl : public TZvDataItemTextImpl {
    QL_CLASS(TZvDataItemBlockableTextImpl, TZvDataItemTextImpl)
public:
    using TZvDataItemTextImpl::TZvDataItemTextImpl;
    bool Editable() override { return !FReadOnly; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

private:
    bool FReadOnly = false;
};

// Adding, clearing, deleting and removing a list's items, each between the
// provider's changing and changed notifications (reasons 0, 3, 1 and 1).
class TZvBaseDataItemsListManagement : public TZvDataItemsAggregatedObject, public IZvDataItemsManagement {
    QL_CLASS(TZvBaseDataItemsListManagement, TZvDataItemsAggregatedObject)
public:
    using TZvDataItemsAggregatedObject::TZvDataItemsAggregatedObject;
    // Appends the item (made for this list): the result is the item. An
    // item already in the list raises EZVLDataItems "Item is already in
    // the list" before any notification.
    TIntfPtr<IZvDataItem> Add(IZvDataItem* item) override;
    void Clear() override;
    // No item at the index does nothing; an item that is not deletable
    // raises EZVLDataItems "Item cannot be deleted".
    void Delete(int index) override;
    // Only a deletable item that nothing else references (the caller's
    // one reference apart); clears the caller's reference.
    void Remove(TIntfPtr<IZvDataItem>& item) override;

private:
    IZvDataProvider* Provider() const;
    // Its list; made for something else (a stored layout may name it
    // among an item's extensions), it raises EZVLDataItems.
    TZvBaseDataItems* List() const;
};

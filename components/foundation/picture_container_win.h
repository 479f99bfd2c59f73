// TPictureContainer: a component holding named pictures, which HTML
// captions show by name (<IMG src="logo">) when their control's
// PictureContainer points to it. Its Items are a collection of
// TPictureItem, each with a name, a tag and an owned THTMLPicture.
#pragma once

#include "classlib/core/classes.h"
#include "components/foundation/html_picture_win.h"

class TPictureItem : public TCollectionItem {
    QL_CLASS(TPictureItem, TCollectionItem)
public:
    explicit TPictureItem(TCollection* collection);
    ~TPictureItem() override;

    // From another item: its Name, Tag and picture (by the picture's
    // Assign). Other sources: the class library's assignment error.
    void Assign(TPersistent* source) override;
    String GetDisplayName() override;

    THTMLPicture* Picture() const { return FPicture; }
    // Copies value into the owned picture.
    void SetPicture(THTMLPicture* value) { FPicture->Assign(value); }
    const String& Name() const { return FName; }
    void SetName(const String& value) { FName = value; }
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

private:
    THTMLPicture* FPicture;
    String FName;
    int FTag = 0;
};

// The container's items; its owner is the container.
class TPictureCollection : public TOwnedCollection {
    QL_CLASS(TPictureCollection, TOwnedCollection)
public:
    explicit TPictureCollection(TPersistent* owner) : TOwnedCollection(owner, TPictureItem::StaticClass()) {}

    TPictureItem* Items(int index) const { return static_cast<TPictureItem*>(TCollection::Items(index)); }
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
};

class TPictureContainer : public TComponent {
    QL_CLASS(TPictureContainer, TComponent)
public:
    explicit TPictureContainer(TComponent* owner);
    ~TPictureContainer() override;

    TPictureCollection* Items() const { return FItems; }
    // Copies the items of value into the container's own collection.
    void SetItems(TPictureCollection* value) { FItems->Assign(value); }
    // "1.0.0.0"; writing (a stored layout's value) does nothing.
    String Version() const;
    void SetVersion(const String&) {}

    // The picture of the first item whose Name is name, ignoring case;
    // nullptr when no item has it.
    virtual THTMLPicture* PictureByName(const String& name) const;

private:
    TPictureCollection* FItems;
};

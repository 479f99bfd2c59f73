// TPngImageList: an image list whose images are PNG pictures with alpha.
//
// The pictures live in the collection PngImages, which is what the stored
// layout holds; the native list behind Handle is rebuilt from them (one
// icon per item with a picture), so buttons and other users of the base
// image list keep showing images by index. Drawing through the list draws
// the PNG itself, dimmed by PngOptions when disabled.
//
// The fourteen list operations of the base are virtual in the class
// library, so every call of them on a TPngImageList reaches the versions
// here, also through a TCustomImageList reference.
#pragma once

#include "classlib/ui/imagelist.h"
#include "imaging/png/png_functions_win.h"

class TPngImageList;
class TPngImageCollectionItems;

// One image of the list: its name, the colour its icon is drawn on for the
// native list of older common controls, and the picture.
class TPngImageCollectionItem : public TCollectionItem {
    QL_CLASS(TPngImageCollectionItem, TCollectionItem)
public:
    // Named "PngObject<index>" with the index the item gets.
    explicit TPngImageCollectionItem(TCollection* collection);
    ~TPngImageCollectionItem() override;

    // From another item: picture, background and name.
    void Assign(TPersistent* source) override;
    // Name, or the collection's default when Name is empty.
    String GetDisplayName() override;

    const String& Name() const { return FName; }
    void SetName(const String& value) { FName = value; }
    TColor Background() const { return FBackground; }
    void SetBackground(TColor value);
    // The item's own picture (never nullptr); setting copies value.
    TPNGObject* PngObject() const { return FPngImage; }
    void SetPngImage(TPNGObject* value);

private:
    void PngImageChanged(TObject* sender);

    String FName;
    TColor FBackground = clBtnFace;
    TPNGObject* FPngImage;
};

class TPngImageCollectionItems : public TOwnedCollection {
    QL_CLASS(TPngImageCollectionItems, TOwnedCollection)
public:
    explicit TPngImageCollectionItems(TPngImageList* owner);

    TPngImageList* ImageList() const { return FImageList; }
    TPngImageCollectionItem* Items(int index) const;
    TPngImageCollectionItem* Add();
    TPngImageCollectionItem* Insert(int index);

protected:
    // Any change of the items rebuilds the owning list's native images.
    void Update(TCollectionItem* item) override;

private:
    friend class TPngImageList;
    TPngImageList* FImageList;
};

class TPngImageList : public TImageList {
    QL_CLASS(TPngImageList, TImageList)
public:
    explicit TPngImageList(TComponent* owner);
    ~TPngImageList() override;

    // From another PNG image list: the base's sizes and options, the
    // pictures and EnabledImages. From any other image list: its images,
    // each made a PNG item.
    void Assign(TPersistent* source) override;

    // The list operations over PNG items. Masks of Add, Insert and Replace
    // follow the native list's rule (white: transparent); without a mask
    // the image is opaque. Delete, Move and Replace ignore indices that
    // name no item.
    int Add(TBitmap* image, TBitmap* mask) override;
    int AddIcon(TIcon* image) override;
    int AddImage(TCustomImageList* value, int index) override;
    void AddImages(TCustomImageList* value) override;
    int AddMasked(TBitmap* image, TColor maskColor) override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, TBitmap* image, TBitmap* mask) override;
    void InsertIcon(int index, TIcon* image) override;
    void InsertMasked(int index, TBitmap* image, TColor maskColor) override;
    void Move(int curIndex, int newIndex) override;
    void Replace(int index, TBitmap* image, TBitmap* mask) override;
    void ReplaceIcon(int index, TIcon* image) override;
    void ReplaceMasked(int index, TBitmap* newImage, TColor maskColor) override;

    // Appends (inserts) an item holding a copy of png; -1 (nothing) for an
    // empty picture.
    int AddPng(TPNGObject* png, TColor background = clNone);
    void InsertPng(int index, TPNGObject* png, TColor background = clNone);
    void ReplacePng(int index, TPNGObject* png);

    // A new size empties the list, pictures included (except while the
    // stored layout is read: the pictures read stay and take the new size).
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    // Whether the native list holds the images undimmed.
    bool EnabledImages() const { return FEnabledImages; }
    virtual void SetEnabledImages(bool value);
    TPngOptions PngOptions() const { return FPngOptions; }
    void SetPngOptions(TPngOptions value);
    TPngImageCollectionItems* PngImages() const { return FPngImages; }
    virtual void SetPngImages(TPngImageCollectionItems* value);

    // The item whose icon is image nativeIndex of the native list (an item
    // with an empty picture has none there), or nullptr.
    TPngImageCollectionItem* ItemOfNativeIndex(int nativeIndex) const;

    // Makes the native list anew from the items; nothing while an operation
    // of the list is running.
    virtual void RebuildNativeList();
    void Loaded() override;

protected:
    void AssignTo(TPersistent* dest) override;
    // Draws the PNG of native image index (ItemOfNativeIndex) into x, y,
    // Width x Height.
    void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled = true) override;
    // The stored "Bitmap" holds nothing: the images come from PngImages.
    void ReadData(TStream* stream) override {}
    void WriteData(TStream* stream) override {}

private:
    // Runs operation with the update counter raised; signals the change.
    template <class F>
    auto Updating(F operation);
    // The native list from the items, whatever the counter says.
    void MakeNativeList();
    HICON ItemIcon(TPngImageCollectionItem* item);
    void AppendNativeIcon(TPngImageCollectionItem* item);
    // Where item itemIndex's icon is in the native list.
    int NativeIndexOf(int itemIndex) const;
    bool ValidIndex(int index) const { return index >= 0 && index < FPngImages->Count(); }

    TPngImageCollectionItems* FPngImages;
    bool FEnabledImages = true;
    TPngOptions FPngOptions{pngBlendOnDisabled};
    int FUpdateCount = 0;
};

// Images of items: a list extension that holds the image lists the items'
// images come from, and an item extension with the item's image indices.
#pragma once

#include "classlib/ui/imagelist.h"
#include "classlib/ui/stdctrls.h"
#include "components/dataproviders/zv_data_items.h"

// The image lists of a list's items.
class IZvDataItemsImages : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{52C677D4-2C26-479B-8A7E-6A37B2EFD915}");
    virtual TCustomImageList* GetImages() = 0;
    virtual TCustomImageList* GetHotImages() = 0;
    virtual TCustomImageList* GetDisabledImages() = 0;

protected:
    ~IZvDataItemsImages() = default;
};

// An item's image: its indices in the list's image lists and where it goes.
class IZvDataItemImage : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{BC66439A-DF4A-49FE-888B-A64B14AC4BA8}");
    virtual TAlignment GetAlignment() = 0;
    virtual int GetImageIndex() = 0;
    virtual int GetSelectedIndex() = 0;

protected:
    ~IZvDataItemImage() = default;
};

// A change of an image list is announced as a change of the whole list
// (reason 3). The image lists are the form's components, by name in the
// stored layout; an image list that is freed is dropped (announced as a
// change too).
class TZvCustomDataItemsImages : public TZvDataItemsAggregatedObject, public IZvDataItemsImages {
    QL_CLASS(TZvCustomDataItemsImages, TZvDataItemsAggregatedObject)
public:
    using TZvDataItemsAggregatedObject::TZvDataItemsAggregatedObject;
    TCustomImageList* GetImages() override { return FImages; }
    TCustomImageList* GetHotImages() override { return FHotImages; }
    TCustomImageList* GetDisabledImages() override { return FDisabledImages; }
    void SetImages(TCustomImageList* value) { Change(FImages, value); }
    void SetHotImages(TCustomImageList* value) { Change(FHotImages, value); }
    void SetDisabledImages(TCustomImageList* value) { Change(FDisabledImages, value); }

private:
    void Change(TCustomImageList*& field, TCustomImageList* value);
    void ImageListFreed(TComponent* component);

    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    // Watches the three image lists (this object is no component).
    TFreeNotifier FNotifier{[this](TComponent* component) { ImageListFreed(component); }};
};

// An item's image indices and alignment; a change is announced (reason 2).
class TZvDataItemImageImpl : public TZvDataItemAggregatedObject, public IZvDataItemImage {
    QL_CLASS(TZvDataItemImageImpl, TZvDataItemAggregatedObject)
public:
    using TZvDataItemAggregatedObject::TZvDataItemAggregatedObject;
    TAlignment GetAlignment() override { return FAlignment; }
    int GetImageIndex() override { return FImageIndex; }
    int GetSelectedIndex() override { return FSelectedIndex; }
    void SetAlignment(TAlignment value) { Change(FAlignment, value); }
    void SetImageIndex(int value) { Change(FImageIndex, value); }
    void SetSelectedIndex(int value) { Change(FSelectedIndex, value); }

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        NotifyChanging();
        field = value;
        NotifyChanged();
    }

    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = 0;
    int FSelectedIndex = 0;
};

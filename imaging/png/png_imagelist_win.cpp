#include "imaging/png/png_imagelist_win.h"

#include <algorithm>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

// ---- TPngImageCollectionItem -------------------------------------------------------

TClass TPngImageCollectionItem::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPngImageCollectionItem>("TPngImageCollectionItem")
            .Prop("Name", &TPngImageCollectionItem::Name, &TPngImageCollectionItem::SetName)
            .Prop("Background", &TPngImageCollectionItem::Background, &TPngImageCollectionItem::SetBackground)
            .Default(clBtnFace)
            .Prop("PngObject", &TPngImageCollectionItem::PngObject, &TPngImageCollectionItem::SetPngImage)
            .Build();
    return &info;
}

TPngImageCollectionItem::TPngImageCollectionItem(TCollection* collection)
    : TCollectionItem(collection), FPngImage(new TPNGObject) {
    FName = Format("PngObject%d", {Index()});
    FPngImage->OnChange = TNotifyEvent::Bind<&TPngImageCollectionItem::PngImageChanged>(this);
}

TPngImageCollectionItem::~TPngImageCollectionItem() {
    delete FPngImage;
    FPngImage = nullptr;
}

void TPngImageCollectionItem::Assign(TPersistent* source) {
    if (auto* item = dynamic_cast<TPngImageCollectionItem*>(source)) {
        FName = item->FName;
        FBackground = item->FBackground;
        FPngImage->Assign(item->FPngImage);  // ends in Changed
        return;
    }
    TCollectionItem::Assign(source);
}

String TPngImageCollectionItem::GetDisplayName() { return FName.empty() ? TCollectionItem::GetDisplayName() : FName; }

void TPngImageCollectionItem::SetBackground(TColor value) {
    if (value == FBackground) return;
    FBackground = value;
    Changed(false);
}

void TPngImageCollectionItem::SetPngImage(TPNGObject* value) {
    if (value == FPngImage) return;
    FPngImage->Assign(value);  // nullptr empties it
}

void TPngImageCollectionItem::PngImageChanged(TObject*) { Changed(false); }

// ---- TPngImageCollectionItems ----------------------------------------------------------

TClass TPngImageCollectionItems::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPngImageCollectionItems>("TPngImageCollectionItems").Build();
    return &info;
}

TPngImageCollectionItems::TPngImageCollectionItems(TPngImageList* owner)
    : TOwnedCollection(owner, TPngImageCollectionItem::StaticClass()), FImageList(owner) {}

TPngImageCollectionItem* TPngImageCollectionItems::Items(int index) const {
    return static_cast<TPngImageCollectionItem*>(TCollection::Items(index));
}

TPngImageCollectionItem* TPngImageCollectionItems::Add() {
    return static_cast<TPngImageCollectionItem*>(TCollection::Add());
}

TPngImageCollectionItem* TPngImageCollectionItems::Insert(int index) {
    return static_cast<TPngImageCollectionItem*>(TCollection::Insert(index));
}

void TPngImageCollectionItems::Update(TCollectionItem*) {
    if (FImageList) FImageList->RebuildNativeList();
}

// ---- TPngImageList -------------------------------------------------------------------------

TClass TPngImageList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPngImageList>("TPngImageList")
            .Prop("EnabledImages", &TPngImageList::EnabledImages, &TPngImageList::SetEnabledImages)
            .Default(true)
            .Prop("Height", &TPngImageList::Height, &TPngImageList::SetHeight)
            .Default(16)
            .Prop("PngImages", &TPngImageList::PngImages, &TPngImageList::SetPngImages)
            .Prop("PngOptions", &TPngImageList::PngOptions, &TPngImageList::SetPngOptions)
            .Default(TPngOptions{pngBlendOnDisabled})
            .Prop("Width", &TPngImageList::Width, &TPngImageList::SetWidth)
            .Default(16)
            .Build();
    return &info;
}

TPngImageList::TPngImageList(TComponent* owner) : TImageList(owner), FPngImages(new TPngImageCollectionItems(this)) {}

TPngImageList::~TPngImageList() {
    // Freeing the items must not rebuild a list that is going away.
    ++FUpdateCount;
    FPngImages->FImageList = nullptr;
    delete FPngImages;
}

template <class F>
auto TPngImageList::Updating(F operation) {
    auto update = [&] {
        ++FUpdateCount;
        TScopeExit done([this] { --FUpdateCount; });
        return operation();
    };
    // The list is rebuilt only when the operation succeeded.
    if constexpr (std::is_void_v<decltype(operation())>) {
        update();
        Change();
    } else {
        auto result = update();
        Change();
        return result;
    }
}

// ---- The native list ------------------------------------------------------------------------

HICON TPngImageList::ItemIcon(TPngImageCollectionItem* item) {
    TPNGObject* png = item ? item->PngObject() : nullptr;
    if (!png || png->Empty()) return nullptr;
    if (FEnabledImages || FPngOptions.Empty()) return MakeListIcon(png, item->Background());
    TPNGObject dimmed;
    dimmed.Assign(png);
    if (FPngOptions.Contains(pngBlendOnDisabled)) BlendPng(&dimmed, 127);
    if (FPngOptions.Contains(pngGrayscaleOnDisabled)) GrayscalePng(&dimmed, 255);
    return MakeListIcon(&dimmed, clNone);
}

void TPngImageList::MakeNativeList() {
    HIMAGELIST list = ImageList_Create(Width(), Height(), ILC_COLOR32 | (Masked() ? ILC_MASK : 0), 0, AllocBy());
    if (!list) throw EInvalidOperation("Invalid ImageList");
    if (BkColor() != clNone) ImageList_SetBkColor(list, BkColor() == clDefault ? CLR_DEFAULT : ColorToRGB(BkColor()));
    {
        TOnFailure destroy([list] { ImageList_Destroy(list); });
        for (int i = 0; i < FPngImages->Count(); ++i)
            if (HICON icon = ItemIcon(FPngImages->Items(i))) {
                ImageList_ReplaceIcon(list, -1, icon);
                DestroyIcon(icon);
            }
    }
    SetHandle(list);
}

void TPngImageList::RebuildNativeList() {
    // While the stored layout is read, Loaded makes the list once at the end.
    if (FUpdateCount > 0 || IsLoading()) return;
    MakeNativeList();
}

void TPngImageList::AppendNativeIcon(TPngImageCollectionItem* item) {
    if (HICON icon = ItemIcon(item)) {
        ImageList_ReplaceIcon(Handle(), -1, icon);
        DestroyIcon(icon);
    }
}

int TPngImageList::NativeIndexOf(int itemIndex) const {
    int native = 0;
    for (int i = 0; i < itemIndex && i < FPngImages->Count(); ++i)
        if (!FPngImages->Items(i)->PngObject()->Empty()) ++native;
    return native;
}

TPngImageCollectionItem* TPngImageList::ItemOfNativeIndex(int nativeIndex) const {
    if (nativeIndex < 0) return nullptr;
    for (int i = 0; i < FPngImages->Count(); ++i) {
        TPngImageCollectionItem* item = FPngImages->Items(i);
        if (!item->PngObject()->Empty() && nativeIndex-- == 0) return item;
    }
    return nullptr;
}

void TPngImageList::Loaded() {
    TImageList::Loaded();
    // Items read before a new size in the layout take the size now.
    RebuildNativeList();
}

// ---- Adding --------------------------------------------------------------------------------

int TPngImageList::AddPng(TPNGObject* png, TColor background) {
    if (!png || png->Empty()) return -1;
    return Updating([&] {
        TPngImageCollectionItem* item = FPngImages->Add();
        item->SetPngImage(png);
        item->SetBackground(background);
        AppendNativeIcon(item);
        return item->Index();
    });
}

int TPngImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    return Updating([&] {
        // The native list's masks are white where the image is transparent.
        std::unique_ptr<TPNGObject> png = PngFromImageAndMask(image, mask, true);
        return AddPng(png.get());
    });
}

int TPngImageList::AddIcon(TIcon* image) {
    if (!image || !image->Handle()) return -1;
    return Updating([&] {
        std::unique_ptr<TPNGObject> png = GraphicToPng(image);
        return AddPng(png.get());
    });
}

int TPngImageList::AddImage(TCustomImageList* value, int index) {
    return Updating([&] {
        TPNGObject png;
        PngFromImageListItem(&png, value, index);
        return AddPng(&png);
    });
}

void TPngImageList::AddImages(TCustomImageList* value) {
    if (!value || value == this) return;
    Updating([&] {
        auto* pngList = dynamic_cast<TPngImageList*>(value);
        // Each image of the other list (a PNG list's items with an empty
        // picture have none).
        int count = pngList ? pngList->NativeIndexOf(pngList->FPngImages->Count()) : value->Count();
        for (int i = 0; i < count; ++i) {
            TPNGObject png;
            PngFromImageListItem(&png, value, i);
            AddPng(&png);
        }
    });
    RebuildNativeList();
}

int TPngImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    return Updating([&] {
        std::unique_ptr<TPNGObject> png = PngFromMaskColor(image, maskColor);
        return AddPng(png.get());
    });
}

// ---- Removing and moving ---------------------------------------------------------------------

void TPngImageList::Clear() {
    Updating([&] {
        FPngImages->Clear();
        if (HandleAllocated()) ImageList_Remove(Handle(), -1);
    });
}

void TPngImageList::Delete(int index) {
    if (!ValidIndex(index)) return;
    Updating([&] {
        int native = NativeIndexOf(index);
        bool hadIcon = !FPngImages->Items(index)->PngObject()->Empty();
        FPngImages->Delete(index);
        if (hadIcon && HandleAllocated()) ImageList_Remove(Handle(), native);
    });
}

void TPngImageList::Move(int curIndex, int newIndex) {
    if (!ValidIndex(curIndex) || !ValidIndex(newIndex) || curIndex == newIndex) return;
    Updating([&] {
        FPngImages->Items(curIndex)->SetIndex(newIndex);
        MakeNativeList();
    });
}

// ---- Inserting ---------------------------------------------------------------------------------

void TPngImageList::InsertPng(int index, TPNGObject* png, TColor background) {
    if (!png || png->Empty()) return;
    Updating([&] {
        TPngImageCollectionItem* item = FPngImages->Insert(std::clamp(index, 0, FPngImages->Count()));
        item->SetPngImage(png);
        item->SetBackground(background);
        // The icons before the new one, its own, then the rest.
        MakeNativeList();
    });
}

void TPngImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return;
    std::unique_ptr<TPNGObject> png = PngFromImageAndMask(image, mask, true);
    InsertPng(index, png.get());
}

void TPngImageList::InsertIcon(int index, TIcon* image) {
    if (!image || !image->Handle()) return;
    std::unique_ptr<TPNGObject> png = GraphicToPng(image);
    InsertPng(index, png.get());
}

void TPngImageList::InsertMasked(int index, TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return;
    std::unique_ptr<TPNGObject> png = PngFromMaskColor(image, maskColor);
    InsertPng(index, png.get());
}

// ---- Replacing ------------------------------------------------------------------------------------

void TPngImageList::ReplacePng(int index, TPNGObject* png) {
    if (!ValidIndex(index) || !png) return;
    Updating([&] {
        TPngImageCollectionItem* item = FPngImages->Items(index);
        bool hadIcon = !item->PngObject()->Empty();
        item->SetPngImage(png);
        HICON icon = hadIcon && HandleAllocated() ? ItemIcon(item) : nullptr;
        if (icon) {
            ImageList_ReplaceIcon(Handle(), NativeIndexOf(index), icon);
            DestroyIcon(icon);
        } else {
            MakeNativeList();
        }
    });
}

void TPngImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    if (!ValidIndex(index) || !image || image->Empty()) return;
    std::unique_ptr<TPNGObject> png = PngFromImageAndMask(image, mask, true);
    ReplacePng(index, png.get());
}

void TPngImageList::ReplaceIcon(int index, TIcon* image) {
    if (!ValidIndex(index) || !image || !image->Handle()) return;
    std::unique_ptr<TPNGObject> png = GraphicToPng(image);
    ReplacePng(index, png.get());
}

void TPngImageList::ReplaceMasked(int index, TBitmap* newImage, TColor maskColor) {
    if (!ValidIndex(index) || !newImage || newImage->Empty()) return;
    std::unique_ptr<TPNGObject> png = PngFromMaskColor(newImage, maskColor);
    ReplacePng(index, png.get());
}

// ---- Properties ---------------------------------------------------------------------------------------

void TPngImageList::SetWidth(int value) {
    if (value == Width() || value <= 0) return;
    TImageList::SetWidth(value);
    if (!IsLoading()) Clear();
}

void TPngImageList::SetHeight(int value) {
    if (value == Height() || value <= 0) return;
    TImageList::SetHeight(value);
    if (!IsLoading()) Clear();
}

void TPngImageList::SetEnabledImages(bool value) {
    if (value == FEnabledImages) return;
    FEnabledImages = value;
    RebuildNativeList();
}

void TPngImageList::SetPngOptions(TPngOptions value) {
    if (value == FPngOptions) return;
    FPngOptions = value;
    RebuildNativeList();
}

void TPngImageList::SetPngImages(TPngImageCollectionItems* value) {
    if (!value || value == FPngImages) return;
    FPngImages->Assign(value);
    Change();
}

// ---- Copying and drawing --------------------------------------------------------------------------------

void TPngImageList::Assign(TPersistent* source) {
    if (source == this) return;
    if (auto* pngList = dynamic_cast<TPngImageList*>(source)) {
        Updating([&] {
            TImageList::Assign(source);
            FEnabledImages = pngList->FEnabledImages;
            FPngImages->Assign(pngList->FPngImages);
        });
        RebuildNativeList();
        return;
    }
    if (auto* list = dynamic_cast<TCustomImageList*>(source)) {
        Updating([&] {
            TImageList::Assign(source);
            FPngImages->Clear();
        });
        AddImages(list);
        RebuildNativeList();
        return;
    }
    TImageList::Assign(source);
}

void TPngImageList::AssignTo(TPersistent* dest) {
    if (auto* pngList = dynamic_cast<TPngImageList*>(dest)) {
        pngList->Assign(this);
        return;
    }
    TImageList::AssignTo(dest);
}

void TPngImageList::DoDraw(int index, TCanvas* canvas, int x, int y, UINT, bool enabled) {
    // The index counts the images of the native list, which every user of
    // the list counts; an item with an empty picture has none there.
    TPngImageCollectionItem* item = ItemOfNativeIndex(index);
    if (!canvas || !item) return;
    DrawPngWithOptions(item->PngObject(), canvas, Bounds(x, y, Width(), Height()),
                       enabled ? TPngOptions{} : FPngOptions);
}

#include "classlib/ui/imagelist.h"

#include <algorithm>

#include "classlib/core/scopes.h"

QL_DEFINE_ENUM(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
QL_DEFINE_ENUM(TImageType, "itImage", "itMask")

namespace {

[[noreturn]] void IndexError() { throw EInvalidOperation("Invalid ImageList Index"); }
[[noreturn]] void ReplaceError() { throw EInvalidOperation("Unable to Replace Image"); }

COLORREF ListColor(TColor color) {
    if (color == clNone) return CLR_NONE;
    if (color == clDefault) return CLR_DEFAULT;
    return ColorToRGB(color);
}

UINT StyleFlags(TDrawingStyle style, TImageType type) {
    static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    return styles[style] | (type == itMask ? ILD_MASK : 0);
}

// An IStream over movable global memory, released at the end of a block.
class THGlobalStream {
public:
    explicit THGlobalStream(HGLOBAL memory) {
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &FStream))) FStream = nullptr;
    }
    ~THGlobalStream() {
        if (FStream) FStream->Release();
    }
    THGlobalStream(const THGlobalStream&) = delete;
    THGlobalStream& operator=(const THGlobalStream&) = delete;
    IStream* Get() const { return FStream; }

private:
    IStream* FStream = nullptr;
};

}  // namespace

// ---- TChangeLink -------------------------------------------------------------------

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() { OnChange(FSender); }

// ---- TCustomImageList -----------------------------------------------------------------

TClass TCustomImageList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomImageList>("TCustomImageList").Build();
    return &info;
}

TClass TImageList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TImageList>("TImageList")
            .Prop("AllocBy", &TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy)
            .Default(4)
            .Prop("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
            .Default(clNone)
            .Prop("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
            .Default(clNone)
            .Prop("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle)
            .Default(dsNormal)
            .Prop("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
            .Default(16)
            .Prop("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType)
            .Default(itImage)
            .Prop("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked)
            .Default(true)
            .Prop("ShareImages", &TCustomImageList::ShareImages, &TCustomImageList::SetShareImages)
            .Default(false)
            .Prop("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
            .Default(16)
            .Prop("OnChange", &TCustomImageList::OnChange, &TCustomImageList::OnChange)
            .Build();
    return &info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : FClients) link->FSender = nullptr;
    FClients.clear();
    FreeHandle();
}

void TCustomImageList::CreateImageList() {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | (FMasked ? ILC_MASK : 0), FAllocBy, FAllocBy);
    if (!FHandle) throw EInvalidOperation("Invalid ImageList");
    if (FBkColor != clNone) ImageList_SetBkColor(FHandle, ListColor(FBkColor));
}

void TCustomImageList::HandleNeeded() {
    if (!FHandle) CreateImageList();
}

void TCustomImageList::FreeHandle() {
    if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
    HandleNeeded();
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST value) {
    if (value == FHandle) return;
    FreeHandle();
    FHandle = value;
    if (value) {
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(value, &cx, &cy)) {
            FWidth = cx;
            FHeight = cy;
        }
    }
    Change();
}

int TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::CheckIndex(int index, bool allowEnd) {
    int count = Count();
    if (index < 0 || index > count || (index == count && !allowEnd)) IndexError();
}

void TCustomImageList::Assign(TPersistent* source) {
    auto* list = dynamic_cast<TCustomImageList*>(source);
    if (!list) {
        TComponent::Assign(source);
        return;
    }
    if (list == this) return;
    FreeHandle();
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FMasked = list->FMasked;
    FAllocBy = list->FAllocBy;
    FBkColor = list->FBkColor;
    FBlendColor = list->FBlendColor;
    FDrawingStyle = list->FDrawingStyle;
    FImageType = list->FImageType;
    if (list->FHandle) FHandle = ImageList_Duplicate(list->FHandle);
    Change();
}

// ---- The list operations ----------------------------------------------------------------

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    HandleNeeded();
    int result = ImageList_Add(FHandle, image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
    return result;
}

int TCustomImageList::AddIcon(TIcon* image) {
    if (!image || !image->Handle()) return -1;
    HandleNeeded();
    int result = ImageList_ReplaceIcon(FHandle, -1, image->Handle());
    Change();
    return result;
}

int TCustomImageList::AddImage(TCustomImageList* value, int index) {
    if (!value || !value->FHandle || index < 0 || index >= value->Count()) return -1;
    HandleNeeded();
    HICON icon = ImageList_GetIcon(value->FHandle, index, ILD_NORMAL);
    if (!icon) return -1;
    int result = ImageList_ReplaceIcon(FHandle, -1, icon);
    DestroyIcon(icon);
    Change();
    return result;
}

void TCustomImageList::AddImages(TCustomImageList* value) {
    if (!value || value == this) return;
    TUpdateScope update(*this);
    for (int i = 0, n = value->Count(); i < n; ++i) AddImage(value, i);
}

int TCustomImageList::AddMaskedNative(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    HandleNeeded();
    // The native list blackens the masked pixels of the bitmap it is given:
    // it gets a copy.
    TBitmap copy;
    copy.Assign(image);
    if (maskColor == clNone) return ImageList_Add(FHandle, copy.Handle(), nullptr);
    if (maskColor == clDefault) maskColor = image->TransparentColor();
    return ImageList_AddMasked(FHandle, copy.Handle(), ColorToRGB(maskColor));
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    int result = AddMaskedNative(image, maskColor);
    if (result >= 0) Change();
    return result;
}

void TCustomImageList::Clear() { Delete(-1); }

void TCustomImageList::Delete(int index) {
    if (index < -1 || index >= Count()) IndexError();
    if (FHandle) ImageList_Remove(FHandle, index);
    Change();
}

void TCustomImageList::MoveNative(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    // The image goes to a spare place at the end, those between move up or
    // down one by one, and the image comes back at its new place. (Copies,
    // not swaps: swapping is not reliable in every version of the native
    // list.)
    int spare = ImageList_GetImageCount(FHandle);
    ImageList_SetImageCount(FHandle, UINT(spare + 1));
    ImageList_Copy(FHandle, spare, FHandle, curIndex, ILCF_MOVE);
    int step = newIndex > curIndex ? 1 : -1;
    for (int i = curIndex; i != newIndex; i += step) ImageList_Copy(FHandle, i, FHandle, i + step, ILCF_MOVE);
    ImageList_Copy(FHandle, newIndex, FHandle, spare, ILCF_MOVE);
    ImageList_Remove(FHandle, spare);
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index, true);
    if (!image || image->Empty()) return;
    HandleNeeded();
    int added = ImageList_Add(FHandle, image->Handle(), mask ? mask->Handle() : nullptr);
    if (added < 0) return;
    MoveNative(added, index);
    Change();
}

void TCustomImageList::InsertIcon(int index, TIcon* image) {
    CheckIndex(index, true);
    if (!image || !image->Handle()) return;
    HandleNeeded();
    int added = ImageList_ReplaceIcon(FHandle, -1, image->Handle());
    if (added < 0) return;
    MoveNative(added, index);
    Change();
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColor) {
    CheckIndex(index, true);
    int added = AddMaskedNative(image, maskColor);
    if (added < 0) return;
    MoveNative(added, index);
    Change();
}

void TCustomImageList::Move(int curIndex, int newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex) return;
    MoveNative(curIndex, newIndex);
    Change();
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    if (!ImageList_Replace(FHandle, index, image ? image->Handle() : nullptr, mask ? mask->Handle() : nullptr))
        ReplaceError();
    Change();
}

void TCustomImageList::ReplaceIcon(int index, TIcon* image) {
    CheckIndex(index);
    if (!image || !image->Handle() || ImageList_ReplaceIcon(FHandle, index, image->Handle()) < 0) ReplaceError();
    Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* newImage, TColor maskColor) {
    CheckIndex(index);
    // The native list masks only what it appends: append, copy over the old
    // image, remove the appended one.
    int added = AddMaskedNative(newImage, maskColor);
    if (added < 0) ReplaceError();
    bool copied = ImageList_Copy(FHandle, index, FHandle, added, ILCF_MOVE);
    while (Count() > added) ImageList_Remove(FHandle, added);
    if (!copied) ReplaceError();
    Change();
}

// ---- Drawing and fetching ----------------------------------------------------------------

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    Draw(canvas, x, y, index, FDrawingStyle, FImageType, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle drawingStyle, TImageType imageType,
                            bool enabled) {
    if (!FHandle || !canvas) return;
    DoDraw(index, canvas, x, y, StyleFlags(drawingStyle, imageType), enabled);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled) {
    if (!FHandle) return;
    if (enabled) {
        ImageList_DrawEx(FHandle, index, canvas->Handle(), x, y, 0, 0, ListColor(FBkColor), ListColor(FBlendColor),
                         style);
        return;
    }
    // Disabled: the image's shape, from its non-white pixels, in the
    // highlight colour one pixel down and right, and in the shadow colour
    // on top.
    HDC monoDC = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
    HGDIOBJ oldMono = SelectObject(monoDC, mono);
    PatBlt(monoDC, 0, 0, FWidth, FHeight, WHITENESS);
    ImageList_DrawEx(FHandle, index, monoDC, 0, 0, 0, 0, CLR_DEFAULT, 0, ILD_NORMAL);
    const DWORD ropDSPDxax = 0x00E20746;
    TColor savedBrush = canvas->Brush()->Color();
    TBrushStyle savedStyle = canvas->Brush()->Style();
    HDC dest = canvas->Handle();
    COLORREF oldText = GetTextColor(dest);
    COLORREF oldBk = GetBkColor(dest);
    // Black pixels of the shape take the brush, white ones leave the canvas.
    for (TColor color : {clBtnHighlight, clBtnShadow}) {
        canvas->Brush()->SetColor(color);
        dest = canvas->Handle();  // selects the brush, which sets the background colour
        ::SetTextColor(dest, RGB(255, 255, 255));
        ::SetBkColor(dest, RGB(0, 0, 0));
        int offset = color == clBtnHighlight ? 1 : 0;
        BitBlt(dest, x + offset, y + offset, FWidth, FHeight, monoDC, 0, 0, ropDSPDxax);
    }
    // The canvas thinks its font's colour and brush's colour are selected.
    ::SetTextColor(dest, oldText);
    ::SetBkColor(dest, oldBk);
    canvas->Brush()->SetColor(savedBrush);
    canvas->Brush()->SetStyle(savedStyle);
    SelectObject(monoDC, oldMono);
    DeleteObject(mono);
    DeleteDC(monoDC);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) {
    if (!image || !FHandle || index < 0 || index >= Count()) return false;
    image->SetSize(FWidth, FHeight);
    TCanvas* canvas = image->Canvas();
    TColor saved = canvas->Brush()->Color();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, FWidth, FHeight));
    canvas->Brush()->SetColor(saved);
    Draw(canvas, 0, 0, index);
    return true;
}

void TCustomImageList::GetIcon(int index, TIcon* image) { GetIcon(index, image, FDrawingStyle, FImageType); }

void TCustomImageList::GetIcon(int index, TIcon* image, TDrawingStyle drawingStyle, TImageType imageType) {
    if (!image) return;
    // A bad index gives no icon and leaves image as it was.
    HICON icon = ImageList_GetIcon(Handle(), index, StyleFlags(drawingStyle, imageType));
    if (icon) image->SetHandle(icon);
}

HBITMAP TCustomImageList::GetImageBitmap() {
    IMAGEINFO info{};
    if (!FHandle || Count() == 0 || !ImageList_GetImageInfo(FHandle, 0, &info)) return nullptr;
    return info.hbmImage;
}

HBITMAP TCustomImageList::GetMaskBitmap() {
    IMAGEINFO info{};
    if (!FHandle || Count() == 0 || !ImageList_GetImageInfo(FHandle, 0, &info)) return nullptr;
    return info.hbmMask;
}

// ---- Properties --------------------------------------------------------------------------

void TCustomImageList::SetWidth(int value) {
    if (value == FWidth || value <= 0) return;
    FWidth = value;
    if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
    Change();
}

void TCustomImageList::SetHeight(int value) {
    if (value == FHeight || value <= 0) return;
    FHeight = value;
    if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
    Change();
}

void TCustomImageList::SetMasked(bool value) {
    if (value == FMasked) return;
    FMasked = value;
    if (FHandle) {
        // A new native list of the other kind, with the same images.
        HIMAGELIST old = FHandle;
        FHandle = nullptr;
        CreateImageList();
        for (int i = 0, n = ImageList_GetImageCount(old); i < n; ++i) {
            HICON icon = ImageList_GetIcon(old, i, ILD_NORMAL);
            if (!icon) continue;
            ImageList_ReplaceIcon(FHandle, -1, icon);
            DestroyIcon(icon);
        }
        if (!FShareImages) ImageList_Destroy(old);
    }
    Change();
}

void TCustomImageList::SetBkColor(TColor value) {
    if (value == FBkColor) return;
    FBkColor = value;
    if (FHandle) ImageList_SetBkColor(FHandle, ListColor(value));
    Change();
}

void TCustomImageList::SetBlendColor(TColor value) {
    if (value == FBlendColor) return;
    FBlendColor = value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value) {
    if (value == FDrawingStyle) return;
    FDrawingStyle = value;
    Change();
}

void TCustomImageList::SetImageType(TImageType value) {
    if (value == FImageType) return;
    FImageType = value;
    Change();
}

// ---- Changes -------------------------------------------------------------------------------

void TCustomImageList::BeginUpdate() { ++FUpdateCount; }

void TCustomImageList::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::Change() {
    FChanged = true;
    if (FUpdateCount > 0) return;
    FChanged = false;
    std::vector<TChangeLink*> links = FClients;  // a link may unregister while told
    for (TChangeLink* link : links)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
    OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (!link || std::find(FClients.begin(), FClients.end(), link) != FClients.end()) return;
    if (link->FSender && link->FSender != this) link->FSender->UnRegisterChanges(link);
    link->FSender = this;
    FClients.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    if (!link) return;
    std::erase(FClients, link);
    if (link->FSender == this) link->FSender = nullptr;
}

void TCustomImageList::Loaded() {
    TComponent::Loaded();
    Change();
}

// ---- The stored "Bitmap" ---------------------------------------------------------------------

void TCustomImageList::DefineProperties(TFiler* filer) {
    TComponent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, Count() > 0);
}

void TCustomImageList::ReadData(TStream* stream) {
    Int64 size = stream->Size() - stream->Position();
    HGLOBAL memory = size > 0 ? GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size)) : nullptr;
    if (!memory) throw EReadError("Failed to read ImageList data from stream");
    void* p = GlobalLock(memory);
    Int64 got = stream->Read(p, size);
    GlobalUnlock(memory);
    THGlobalStream source(memory);  // frees the memory with the stream
    if (!source.Get()) {
        GlobalFree(memory);
        throw EReadError("Failed to read ImageList data from stream");
    }
    HIMAGELIST list = got == size ? ImageList_Read(source.Get()) : nullptr;
    if (!list) throw EReadError("Failed to read ImageList data from stream");
    SetHandle(list);
}

void TCustomImageList::WriteData(TStream* stream) {
    THGlobalStream target(nullptr);
    if (!target.Get() || !FHandle || !ImageList_Write(FHandle, target.Get()))
        throw EWriteError("Failed to write ImageList data to stream");
    ULARGE_INTEGER end{};
    LARGE_INTEGER zero{};
    target.Get()->Seek(zero, STREAM_SEEK_CUR, &end);
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(target.Get(), &memory)))
        throw EWriteError("Failed to write ImageList data to stream");
    void* p = GlobalLock(memory);
    stream->WriteBuffer(p, Int64(end.QuadPart));
    GlobalUnlock(memory);
}

#include "object_tally.h"

#include <cstring>
#include <iterator>
#include <string>
#include <unordered_map>

namespace {

struct TKindTally {
    std::unordered_map<const void*, DWORD> Live;  // handle -> its GDI object type
    long Created = 0;
    long Freed = 0;
};

TKindTally& Tally(TObjectKind kind) {
    static TKindTally tallies[2];
    return tallies[kind];
}

// Each counted function: the original it calls and the counting one in
// front of it. The counting functions have the system's signatures, so they
// are written out; the macro only saves writing the same three lines
// twenty-five times.
#define QM_COUNTED_MAKER(Result, Name, Params, Args)                                                                   \
    decltype(&::Name) real##Name = nullptr;                                                                            \
    Result WINAPI Counted##Name Params {                                                                               \
        Result made = real##Name Args;                                                                                 \
        TObjectTally::Created(okGdi, made);                                                                            \
        return made;                                                                                                   \
    }

QM_COUNTED_MAKER(HFONT, CreateFontIndirectA, (const LOGFONTA* lf), (lf))
QM_COUNTED_MAKER(HFONT, CreateFontIndirectW, (const LOGFONTW* lf), (lf))
QM_COUNTED_MAKER(HFONT, CreateFontA,
                 (int h, int w, int esc, int orient, int weight, DWORD italic, DWORD underline, DWORD strike,
                  DWORD charset, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitch, LPCSTR face),
                 (h, w, esc, orient, weight, italic, underline, strike, charset, outPrecision, clipPrecision, quality,
                  pitch, face))
QM_COUNTED_MAKER(HPEN, CreatePen, (int style, int width, COLORREF color), (style, width, color))
QM_COUNTED_MAKER(HPEN, CreatePenIndirect, (const LOGPEN* lp), (lp))
QM_COUNTED_MAKER(HPEN, ExtCreatePen, (DWORD style, DWORD width, const LOGBRUSH* lb, DWORD count, const DWORD* dashes),
                 (style, width, lb, count, dashes))
QM_COUNTED_MAKER(HBRUSH, CreateSolidBrush, (COLORREF color), (color))
QM_COUNTED_MAKER(HBRUSH, CreateBrushIndirect, (const LOGBRUSH* lb), (lb))
QM_COUNTED_MAKER(HBRUSH, CreateHatchBrush, (int hatch, COLORREF color), (hatch, color))
QM_COUNTED_MAKER(HBRUSH, CreatePatternBrush, (HBITMAP bitmap), (bitmap))
QM_COUNTED_MAKER(HBITMAP, CreateBitmap, (int w, int h, UINT planes, UINT bits, const VOID* data),
                 (w, h, planes, bits, data))
QM_COUNTED_MAKER(HBITMAP, CreateBitmapIndirect, (const BITMAP* bm), (bm))
QM_COUNTED_MAKER(HBITMAP, CreateCompatibleBitmap, (HDC dc, int w, int h), (dc, w, h))
QM_COUNTED_MAKER(HBITMAP, CreateDIBSection,
                 (HDC dc, const BITMAPINFO* info, UINT usage, VOID** bits, HANDLE section, DWORD offset),
                 (dc, info, usage, bits, section, offset))
QM_COUNTED_MAKER(HBITMAP, CreateDIBitmap,
                 (HDC dc, const BITMAPINFOHEADER* header, DWORD init, const VOID* bits, const BITMAPINFO* info,
                  UINT usage),
                 (dc, header, init, bits, info, usage))
QM_COUNTED_MAKER(HRGN, CreateRectRgn, (int l, int t, int r, int b), (l, t, r, b))
QM_COUNTED_MAKER(HRGN, CreateRectRgnIndirect, (const RECT* r), (r))
QM_COUNTED_MAKER(HRGN, CreateRoundRectRgn, (int l, int t, int r, int b, int w, int h), (l, t, r, b, w, h))
QM_COUNTED_MAKER(HRGN, CreateEllipticRgn, (int l, int t, int r, int b), (l, t, r, b))
QM_COUNTED_MAKER(HRGN, CreatePolygonRgn, (const POINT* points, int count, int mode), (points, count, mode))
QM_COUNTED_MAKER(HRGN, ExtCreateRegion, (const XFORM* xform, DWORD count, const RGNDATA* data), (xform, count, data))
QM_COUNTED_MAKER(HPALETTE, CreatePalette, (const LOGPALETTE* palette), (palette))
QM_COUNTED_MAKER(HPALETTE, CreateHalftonePalette, (HDC dc), (dc))
QM_COUNTED_MAKER(HDC, CreateCompatibleDC, (HDC dc), (dc))
QM_COUNTED_MAKER(HDC, GetDC, (HWND window), (window))
QM_COUNTED_MAKER(HDC, GetWindowDC, (HWND window), (window))
QM_COUNTED_MAKER(HDC, GetDCEx, (HWND window, HRGN clip, DWORD flags), (window, clip, flags))

#undef QM_COUNTED_MAKER

decltype(&::DeleteObject) realDeleteObject = nullptr;
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
    BOOL done = realDeleteObject(object);
    if (done) TObjectTally::Freed(okGdi, object);
    return done;
}
decltype(&::DeleteDC) realDeleteDC = nullptr;
BOOL WINAPI CountedDeleteDC(HDC dc) {
    BOOL done = realDeleteDC(dc);
    if (done) TObjectTally::Freed(okGdi, dc);
    return done;
}
decltype(&::ReleaseDC) realReleaseDC = nullptr;
int WINAPI CountedReleaseDC(HWND window, HDC dc) {
    int done = realReleaseDC(window, dc);
    if (done) TObjectTally::Freed(okGdi, dc);
    return done;
}

// GDI+: the functions that make and free native objects, written with
// plain types of the same sizes (the handles are opaque pointers). The
// status 0 is Ok; only then did the function make its object.
#define QM_COUNTED_GDIPLUS_MAKER(Name, Params, Args, Made)                                                             \
    using Name##Fn = int(WINAPI*) Params;                                                                              \
    Name##Fn real##Name = nullptr;                                                                                     \
    int WINAPI Counted##Name Params {                                                                                  \
        int status = real##Name Args;                                                                                  \
        if (status == 0) TObjectTally::Created(okGdiPlus, Made);                                                       \
        return status;                                                                                                 \
    }
#define QM_COUNTED_GDIPLUS_FREER(Name)                                                                                 \
    using Name##Fn = int(WINAPI*)(void*);                                                                              \
    Name##Fn real##Name = nullptr;                                                                                     \
    int WINAPI Counted##Name(void* object) {                                                                           \
        int status = real##Name(object);                                                                               \
        if (status == 0) TObjectTally::Freed(okGdiPlus, object);                                                       \
        return status;                                                                                                 \
    }

QM_COUNTED_GDIPLUS_MAKER(GdipCreateFromHDC, (HDC dc, void** made), (dc, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreatePen1, (UINT color, float width, int unit, void** made), (color, width, unit, made),
                         *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateSolidFill, (UINT color, void** made), (color, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateLineBrushFromRect,
                         (const void* rect, UINT color1, UINT color2, int mode, int wrap, void** made),
                         (rect, color1, color2, mode, wrap, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreatePathGradientFromPath, (const void* path, void** made), (path, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreatePath, (int fillMode, void** made), (fillMode, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateRegionPath, (void* path, void** made), (path, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateFontFamilyFromName, (const WCHAR* name, void* collection, void** made),
                         (name, collection, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateFont, (const void* family, float size, int style, int unit, void** made),
                         (family, size, style, unit, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateStringFormat, (int flags, WORD language, void** made), (flags, language, made),
                         *made)
QM_COUNTED_GDIPLUS_MAKER(GdipLoadImageFromStream, (IStream * stream, void** made), (stream, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipLoadImageFromStreamICM, (IStream * stream, void** made), (stream, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateBitmapFromStream, (IStream * stream, void** made), (stream, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateBitmapFromStreamICM, (IStream * stream, void** made), (stream, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateBitmapFromScan0,
                         (int width, int height, int stride, int format, BYTE* scan0, void** made),
                         (width, height, stride, format, scan0, made), *made)
QM_COUNTED_GDIPLUS_MAKER(GdipCreateImageAttributes, (void** made), (made), *made)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteGraphics)
QM_COUNTED_GDIPLUS_FREER(GdipDeletePen)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteBrush)
QM_COUNTED_GDIPLUS_FREER(GdipDeletePath)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteRegion)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteFontFamily)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteFont)
QM_COUNTED_GDIPLUS_FREER(GdipDeleteStringFormat)
QM_COUNTED_GDIPLUS_FREER(GdipDisposeImage)
QM_COUNTED_GDIPLUS_FREER(GdipDisposeImageAttributes)

#undef QM_COUNTED_GDIPLUS_MAKER
#undef QM_COUNTED_GDIPLUS_FREER

template <class F>
void Hook(const char* dll, const char* name, F& real, F counted) {
    void* before = HookImport(dll, name, reinterpret_cast<void*>(counted));
    // Not imported: nothing calls it, and the real one is there for those
    // who would.
    if (!before) before = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name));
    real = reinterpret_cast<F>(before);
}

// A GDI+ function is routed only where the program imports gdiplus.dll:
// a program that does not has nothing to count.
template <class F>
void HookGdiplus(const char* name, F& real, F counted) {
    real = reinterpret_cast<F>(HookImport("gdiplus.dll", name, reinterpret_cast<void*>(counted)));
}

// Counting starts with the program: an object made before counting and
// freed while a balance runs would look like one leaked by its successor.
[[maybe_unused]] const bool countingFromTheStart = (TObjectTally::CountGdiObjects(), true);

}  // namespace

void* HookImport(const char* dll, const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    void* before = nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names =
            reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            before = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
        }
    }
    return before;
}

void TObjectTally::CountGdiObjects() {
    static const bool hooked = [] {
#define QM_HOOK(dll, Name) Hook(dll, #Name, real##Name, &Counted##Name)
        QM_HOOK("gdi32.dll", CreateFontIndirectA);
        QM_HOOK("gdi32.dll", CreateFontIndirectW);
        QM_HOOK("gdi32.dll", CreateFontA);
        QM_HOOK("gdi32.dll", CreatePen);
        QM_HOOK("gdi32.dll", CreatePenIndirect);
        QM_HOOK("gdi32.dll", ExtCreatePen);
        QM_HOOK("gdi32.dll", CreateSolidBrush);
        QM_HOOK("gdi32.dll", CreateBrushIndirect);
        QM_HOOK("gdi32.dll", CreateHatchBrush);
        QM_HOOK("gdi32.dll", CreatePatternBrush);
        QM_HOOK("gdi32.dll", CreateBitmap);
        QM_HOOK("gdi32.dll", CreateBitmapIndirect);
        QM_HOOK("gdi32.dll", CreateCompatibleBitmap);
        QM_HOOK("gdi32.dll", CreateDIBSection);
        QM_HOOK("gdi32.dll", CreateDIBitmap);
        QM_HOOK("gdi32.dll", CreateRectRgn);
        QM_HOOK("gdi32.dll", CreateRectRgnIndirect);
        QM_HOOK("gdi32.dll", CreateRoundRectRgn);
        QM_HOOK("gdi32.dll", CreateEllipticRgn);
        QM_HOOK("gdi32.dll", CreatePolygonRgn);
        QM_HOOK("gdi32.dll", ExtCreateRegion);
        QM_HOOK("gdi32.dll", CreatePalette);
        QM_HOOK("gdi32.dll", CreateHalftonePalette);
        QM_HOOK("gdi32.dll", CreateCompatibleDC);
        QM_HOOK("gdi32.dll", DeleteObject);
        QM_HOOK("gdi32.dll", DeleteDC);
        QM_HOOK("user32.dll", GetDC);
        QM_HOOK("user32.dll", GetWindowDC);
        QM_HOOK("user32.dll", GetDCEx);
        QM_HOOK("user32.dll", ReleaseDC);
#undef QM_HOOK
#define QM_HOOK_GDIPLUS(Name) HookGdiplus(#Name, real##Name, &Counted##Name)
        QM_HOOK_GDIPLUS(GdipCreateFromHDC);
        QM_HOOK_GDIPLUS(GdipCreatePen1);
        QM_HOOK_GDIPLUS(GdipCreateSolidFill);
        QM_HOOK_GDIPLUS(GdipCreateLineBrushFromRect);
        QM_HOOK_GDIPLUS(GdipCreatePathGradientFromPath);
        QM_HOOK_GDIPLUS(GdipCreatePath);
        QM_HOOK_GDIPLUS(GdipCreateRegionPath);
        QM_HOOK_GDIPLUS(GdipCreateFontFamilyFromName);
        QM_HOOK_GDIPLUS(GdipCreateFont);
        QM_HOOK_GDIPLUS(GdipCreateStringFormat);
        QM_HOOK_GDIPLUS(GdipLoadImageFromStream);
        QM_HOOK_GDIPLUS(GdipLoadImageFromStreamICM);
        QM_HOOK_GDIPLUS(GdipCreateBitmapFromStream);
        QM_HOOK_GDIPLUS(GdipCreateBitmapFromStreamICM);
        QM_HOOK_GDIPLUS(GdipCreateBitmapFromScan0);
        QM_HOOK_GDIPLUS(GdipCreateImageAttributes);
        QM_HOOK_GDIPLUS(GdipDeleteGraphics);
        QM_HOOK_GDIPLUS(GdipDeletePen);
        QM_HOOK_GDIPLUS(GdipDeleteBrush);
        QM_HOOK_GDIPLUS(GdipDeletePath);
        QM_HOOK_GDIPLUS(GdipDeleteRegion);
        QM_HOOK_GDIPLUS(GdipDeleteFontFamily);
        QM_HOOK_GDIPLUS(GdipDeleteFont);
        QM_HOOK_GDIPLUS(GdipDeleteStringFormat);
        QM_HOOK_GDIPLUS(GdipDisposeImage);
        QM_HOOK_GDIPLUS(GdipDisposeImageAttributes);
#undef QM_HOOK_GDIPLUS
        return true;
    }();
    (void)hooked;
}

void TObjectTally::Created(TObjectKind kind, const void* handle) {
    if (!handle) return;
    TKindTally& t = Tally(kind);
    t.Live[handle] = kind == okGdi ? GetObjectType(HGDIOBJ(handle)) : 0;
    ++t.Created;
}

void TObjectTally::Freed(TObjectKind kind, const void* handle) {
    TKindTally& t = Tally(kind);
    if (t.Live.erase(handle)) ++t.Freed;
}

std::vector<DWORD> TObjectTally::LiveTypes(TObjectKind kind) {
    std::vector<DWORD> types;
    for (const auto& [handle, type] : Tally(kind).Live) types.push_back(type);
    return types;
}

long TObjectTally::Live(TObjectKind kind) { return long(Tally(kind).Live.size()); }
long TObjectTally::CreatedCount(TObjectKind kind) { return Tally(kind).Created; }
long TObjectTally::FreedCount(TObjectKind kind) { return Tally(kind).Freed; }

TObjectBalance::TObjectBalance() {
    TObjectTally::CountGdiObjects();
    for (TObjectKind kind : {okGdi, okGdiPlus}) {
        FLive[kind] = TObjectTally::Live(kind);
        FCreated[kind] = TObjectTally::CreatedCount(kind);
        FFreed[kind] = TObjectTally::FreedCount(kind);
    }
    FLiveTypes = TypeCounts();
}

std::map<DWORD, long> TObjectBalance::TypeCounts() {
    std::map<DWORD, long> counts;
    for (DWORD type : TObjectTally::LiveTypes(okGdi)) ++counts[type];
    return counts;
}

String TObjectBalance::Describe() const {
    static const char* const names[] = {"?",         "pen",     "brush",           "DC",           "metafile DC",
                                        "palette",   "font",    "bitmap",          "region",       "metafile",
                                        "memory DC", "ext pen", "enh metafile DC", "enh metafile", "colour space"};
    std::map<DWORD, long> change = TypeCounts();
    for (const auto& [type, count] : FLiveTypes) change[type] -= count;
    String text;
    for (const auto& [type, count] : change)
        if (count)
            text += (text.empty() ? "" : ", ") + String(type < std::size(names) ? names[type] : "?") + ": " +
                    std::to_string(count);
    return text.empty() ? "none" : text;
}

long TObjectBalance::Created(TObjectKind kind) const { return TObjectTally::CreatedCount(kind) - FCreated[kind]; }
long TObjectBalance::Freed(TObjectKind kind) const { return TObjectTally::FreedCount(kind) - FFreed[kind]; }
long TObjectBalance::Leaked(TObjectKind kind) const { return TObjectTally::Live(kind) - FLive[kind]; }

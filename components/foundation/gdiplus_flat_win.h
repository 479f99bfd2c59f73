// The flat interface of gdiplus.dll that the wrappers call, declared here
// with the wrappers' own types (gdiplus_types.h), and the table of entry
// points the wrappers call it through.
//
// The table is there for tests: a test replaces an entry to provoke what
// the real library never does (an allocation that fails, the tokens of
// start-up and the notification hook) and puts the table back afterwards:
//
//   TGdiplusApiOverride api;               // restores the table when it ends
//   api->GdipAlloc = &AlwaysFails;
//
// Its entries are the program's imports of gdiplus.dll, so a test program
// that routes those imports (the GDI+ object tally, object_tally.h) sees
// every call the wrappers make.
#pragma once

#include "classlib/os/dll_functions.h"
#include "classlib/os/win.h"
#include "components/foundation/gdiplus_types.h"

// The native objects: opaque, pointer-sized handles.
struct GpGraphics;
struct GpPen;
struct GpBrush;  // solid fills, line and path gradients
struct GpPath;
struct GpRegion;
struct GpFontFamily;
struct GpFontCollection;
struct GpFont;
struct GpStringFormat;
struct GpImage;  // images and bitmaps
struct GpImageAttributes;

using TGdiplusNotificationHook = TStatus(WINAPI*)(ULONG_PTR* token);
using TGdiplusNotificationUnhook = void(WINAPI*)(ULONG_PTR token);

struct TGdiplusStartupInput {
    UINT32 GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};

struct TGdiplusStartupOutput {
    TGdiplusNotificationHook NotificationHook = nullptr;
    TGdiplusNotificationUnhook NotificationUnhook = nullptr;
};

extern "C" {
TStatus WINAPI GdiplusStartup(ULONG_PTR* token, const TGdiplusStartupInput* input, TGdiplusStartupOutput* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);
void* WINAPI GdipAlloc(SIZE_T size);
void WINAPI GdipFree(void* memory);

TStatus WINAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
TStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics);
TStatus WINAPI GdipSetSmoothingMode(GpGraphics* graphics, TSmoothingMode mode);
TStatus WINAPI GdipSetTextRenderingHint(GpGraphics* graphics, TTextRenderingHint hint);
TStatus WINAPI GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
TStatus WINAPI GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, float x, float y, float width, float height);
TStatus WINAPI GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, float x, float y, float width, float height);
TStatus WINAPI GdipDrawString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                              const TGPRectF* layout, const GpStringFormat* format, const GpBrush* brush);
TStatus WINAPI GdipMeasureString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                                 const TGPRectF* layout, const GpStringFormat* format, TGPRectF* boundingBox,
                                 INT* codepointsFitted, INT* linesFilled);
TStatus WINAPI GdipDrawImageRect(GpGraphics* graphics, GpImage* image, float x, float y, float width, float height);
TStatus WINAPI GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, float dstX, float dstY, float dstWidth,
                                     float dstHeight, float srcX, float srcY, float srcWidth, float srcHeight,
                                     TGPUnit srcUnit, const GpImageAttributes* attributes, void* abortCallback,
                                     void* callbackData);
TStatus WINAPI GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, TCombineMode mode);
TStatus WINAPI GdipResetClip(GpGraphics* graphics);

TStatus WINAPI GdipCreatePen1(ARGB color, float width, TGPUnit unit, GpPen** pen);
TStatus WINAPI GdipDeletePen(GpPen* pen);
TStatus WINAPI GdipSetPenDashStyle(GpPen* pen, TDashStyle style);

TStatus WINAPI GdipCreateSolidFill(ARGB color, GpBrush** brush);
TStatus WINAPI GdipCreateLineBrushFromRect(const TGPRectF* rect, ARGB color1, ARGB color2, TLinearGradientMode mode,
                                           TWrapMode wrapMode, GpBrush** brush);
TStatus WINAPI GdipCreatePathGradientFromPath(const GpPath* path, GpBrush** brush);
TStatus WINAPI GdipDeleteBrush(GpBrush* brush);
TStatus WINAPI GdipSetPathGradientCenterColor(GpBrush* brush, ARGB color);
TStatus WINAPI GdipGetPathGradientPointCount(GpBrush* brush, INT* count);
TStatus WINAPI GdipSetPathGradientSurroundColorsWithCount(GpBrush* brush, const ARGB* colors, INT* count);
TStatus WINAPI GdipSetPathGradientCenterPointI(GpBrush* brush, const TGPPoint* point);

TStatus WINAPI GdipCreatePath(TFillMode fillMode, GpPath** path);
TStatus WINAPI GdipDeletePath(GpPath* path);
TStatus WINAPI GdipClosePathFigure(GpPath* path);
TStatus WINAPI GdipAddPathLine(GpPath* path, float x1, float y1, float x2, float y2);
TStatus WINAPI GdipAddPathArc(GpPath* path, float x, float y, float width, float height, float startAngle,
                              float sweepAngle);
TStatus WINAPI GdipAddPathEllipse(GpPath* path, float x, float y, float width, float height);
TStatus WINAPI GdipAddPathBezier(GpPath* path, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                                 float y4);
TStatus WINAPI GdipAddPathCurve2I(GpPath* path, const TGPPoint* points, INT count, float tension);

TStatus WINAPI GdipCreateRegionPath(GpPath* path, GpRegion** region);
TStatus WINAPI GdipDeleteRegion(GpRegion* region);

TStatus WINAPI GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* collection, GpFontFamily** family);
TStatus WINAPI GdipDeleteFontFamily(GpFontFamily* family);
TStatus WINAPI GdipCreateFont(const GpFontFamily* family, float emSize, INT style, TGPUnit unit, GpFont** font);
TStatus WINAPI GdipDeleteFont(GpFont* font);

TStatus WINAPI GdipCreateStringFormat(INT formatFlags, LANGID language, GpStringFormat** format);
TStatus WINAPI GdipDeleteStringFormat(GpStringFormat* format);
TStatus WINAPI GdipSetStringFormatAlign(GpStringFormat* format, TStringAlignment alignment);
TStatus WINAPI GdipSetStringFormatLineAlign(GpStringFormat* format, TStringAlignment alignment);
TStatus WINAPI GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
TStatus WINAPI GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);

TStatus WINAPI GdipLoadImageFromStream(IStream* stream, GpImage** image);
TStatus WINAPI GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
TStatus WINAPI GdipCreateBitmapFromStream(IStream* stream, GpImage** bitmap);
TStatus WINAPI GdipCreateBitmapFromStreamICM(IStream* stream, GpImage** bitmap);
TStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, INT pixelFormat, BYTE* scan0,
                                         GpImage** bitmap);
TStatus WINAPI GdipDisposeImage(GpImage* image);
TStatus WINAPI GdipGetImageRawFormat(GpImage* image, TGUID* format);  // TGUID has GUID's layout
TStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width);
TStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height);
TStatus WINAPI GdipBitmapGetPixel(GpImage* bitmap, INT x, INT y, ARGB* color);

TStatus WINAPI GdipCreateImageAttributes(GpImageAttributes** attributes);
TStatus WINAPI GdipDisposeImageAttributes(GpImageAttributes* attributes);
TStatus WINAPI GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, TColorAdjustType type, BOOL enable,
                                               ARGB low, ARGB high);
}

// Every entry point of the table, in one list.
#define QM_GDIPLUS_FUNCTIONS(X)                                                                                        \
    X(GdiplusStartup)                                                                                                  \
    X(GdiplusShutdown)                                                                                                 \
    X(GdipAlloc)                                                                                                       \
    X(GdipFree)                                                                                                        \
    X(GdipCreateFromHDC)                                                                                               \
    X(GdipDeleteGraphics)                                                                                              \
    X(GdipSetSmoothingMode)                                                                                            \
    X(GdipSetTextRenderingHint)                                                                                        \
    X(GdipDrawPath)                                                                                                    \
    X(GdipFillRectangle)                                                                                               \
    X(GdipDrawRectangle)                                                                                               \
    X(GdipDrawString)                                                                                                  \
    X(GdipMeasureString)                                                                                               \
    X(GdipDrawImageRect)                                                                                               \
    X(GdipDrawImageRectRect)                                                                                           \
    X(GdipSetClipRegion)                                                                                               \
    X(GdipResetClip)                                                                                                   \
    X(GdipCreatePen1)                                                                                                  \
    X(GdipDeletePen)                                                                                                   \
    X(GdipSetPenDashStyle)                                                                                             \
    X(GdipCreateSolidFill)                                                                                             \
    X(GdipCreateLineBrushFromRect)                                                                                     \
    X(GdipCreatePathGradientFromPath)                                                                                  \
    X(GdipDeleteBrush)                                                                                                 \
    X(GdipSetPathGradientCenterColor)                                                                                  \
    X(GdipGetPathGradientPointCount)                                                                                   \
    X(GdipSetPathGradientSurroundColorsWithCount)                                                                      \
    X(GdipSetPathGradientCenterPointI)                                                                                 \
    X(GdipCreatePath)                                                                                                  \
    X(GdipDeletePath)                                                                                                  \
    X(GdipClosePathFigure)                                                                                             \
    X(GdipAddPathLine)                                                                                                 \
    X(GdipAddPathArc)                                                                                                  \
    X(GdipAddPathEllipse)                                                                                              \
    X(GdipAddPathBezier)                                                                                               \
    X(GdipAddPathCurve2I)                                                                                              \
    X(GdipCreateRegionPath)                                                                                            \
    X(GdipDeleteRegion)                                                                                                \
    X(GdipCreateFontFamilyFromName)                                                                                    \
    X(GdipDeleteFontFamily)                                                                                            \
    X(GdipCreateFont)                                                                                                  \
    X(GdipDeleteFont)                                                                                                  \
    X(GdipCreateStringFormat)                                                                                          \
    X(GdipDeleteStringFormat)                                                                                          \
    X(GdipSetStringFormatAlign)                                                                                        \
    X(GdipSetStringFormatLineAlign)                                                                                    \
    X(GdipSetStringFormatTrimming)                                                                                     \
    X(GdipSetStringFormatHotkeyPrefix)                                                                                 \
    X(GdipLoadImageFromStream)                                                                                         \
    X(GdipLoadImageFromStreamICM)                                                                                      \
    X(GdipCreateBitmapFromStream)                                                                                      \
    X(GdipCreateBitmapFromStreamICM)                                                                                   \
    X(GdipCreateBitmapFromScan0)                                                                                       \
    X(GdipDisposeImage)                                                                                                \
    X(GdipGetImageRawFormat)                                                                                           \
    X(GdipGetImageWidth)                                                                                               \
    X(GdipGetImageHeight)                                                                                              \
    X(GdipBitmapGetPixel)                                                                                              \
    X(GdipCreateImageAttributes)                                                                                       \
    X(GdipDisposeImageAttributes)                                                                                      \
    X(GdipSetImageAttributesColorKeys)

// The imports are stdcall on 32 bits (their decorated names say so to the
// linker); the table's entries keep that convention.
#define QM_GDIPLUS_CONVENTION(Name)                                                                                    \
    static_assert(IsWinApiFunctionPointer<decltype(&::Name)>, #Name " is declared WINAPI");
QM_GDIPLUS_FUNCTIONS(QM_GDIPLUS_CONVENTION)
#undef QM_GDIPLUS_CONVENTION

struct TGdiplusApi {
#define QM_GDIPLUS_ENTRY(Name) decltype(&::Name) Name = &::Name;
    QM_GDIPLUS_FUNCTIONS(QM_GDIPLUS_ENTRY)
#undef QM_GDIPLUS_ENTRY
};

// The table the wrappers call through (the imports, unless a test changed it).
TGdiplusApi& GdiplusApi();

// Keeps a copy of the table and puts it back when it ends.
class TGdiplusApiOverride {
public:
    TGdiplusApiOverride() : FSaved(GdiplusApi()) {}
    ~TGdiplusApiOverride() { GdiplusApi() = FSaved; }
    TGdiplusApiOverride(const TGdiplusApiOverride&) = delete;
    TGdiplusApiOverride& operator=(const TGdiplusApiOverride&) = delete;
    TGdiplusApi* operator->() { return &GdiplusApi(); }
    // The table as it was.
    const TGdiplusApi& Saved() const { return FSaved; }

private:
    TGdiplusApi FSaved;
};

// The plain types of the GDI+ wrappers (gdiplus_win.h): status codes and
// the rule by which a wrapper remembers its last failure, the enumerations
// its methods take, ARGB colours, point and rectangle records, the image
// formats by their GUIDs, and the guard of SetSurroundColors. Portable:
// the host build tests all of it.
#pragma once

#include "classlib/core/interfaces.h"
#include "classlib/core/types.h"
#include "classlib/ui/graphics_types.h"

// ---- Status ---------------------------------------------------------------

// What every GDI+ call answers (GDI+'s own numbering).
enum class TStatus : int {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
    ProfileNotFound = 21,
};

// A wrapper's last status: the most recent failure. A method's status is
// kept only when it failed, so a later success does not clear it; the
// creating call's status is kept whatever it is.
class TGPLastStatus {
public:
    TStatus Value() const { return FValue; }
    // A method's status: kept when it is not Ok; returned as it is.
    TStatus Keep(TStatus status) {
        if (status != TStatus::Ok) FValue = status;
        return status;
    }
    // The creating call's status.
    void Set(TStatus status) { FValue = status; }

private:
    TStatus FValue = TStatus::Ok;
};

// ---- Enumerations ---------------------------------------------------------
//
// The values GDI+ takes, under GDI+'s names.

// The glow button's choice of drawing quality.
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

// How text that does not fit is cut (passed to SetTrimming as it is).
enum StringTrimming {
    StringTrimmingNone,
    StringTrimmingCharacter,
    StringTrimmingWord,
    StringTrimmingEllipsisCharacter,
    StringTrimmingEllipsisWord,
    StringTrimmingEllipsisPath,
};

enum TSmoothingMode : int {
    SmoothingModeInvalid = -1,
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
};

enum TTextRenderingHint : int {
    TextRenderingHintSystemDefault,
    TextRenderingHintSingleBitPerPixelGridFit,
    TextRenderingHintSingleBitPerPixel,
    TextRenderingHintAntiAliasGridFit,
    TextRenderingHintAntiAlias,
    TextRenderingHintClearTypeGridFit,
};

enum TGPUnit : int {
    UnitWorld,
    UnitDisplay,
    UnitPixel,
    UnitPoint,
    UnitInch,
    UnitDocument,
    UnitMillimeter,
};

enum TFillMode : int { FillModeAlternate, FillModeWinding };

enum TDashStyle : int {
    DashStyleSolid,
    DashStyleDash,
    DashStyleDot,
    DashStyleDashDot,
    DashStyleDashDotDot,
    DashStyleCustom,
};

enum TLinearGradientMode : int {
    LinearGradientModeHorizontal,
    LinearGradientModeVertical,
    LinearGradientModeForwardDiagonal,
    LinearGradientModeBackwardDiagonal,
};

enum TWrapMode : int { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };

enum TStringAlignment : int { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };

enum THotkeyPrefix : int { HotkeyPrefixNone, HotkeyPrefixShow, HotkeyPrefixHide };

enum TCombineMode : int {
    CombineModeReplace,
    CombineModeIntersect,
    CombineModeUnion,
    CombineModeXor,
    CombineModeExclude,
    CombineModeComplement,
};

enum TColorAdjustType : int {
    ColorAdjustTypeDefault,
    ColorAdjustTypeBitmap,
    ColorAdjustTypeBrush,
    ColorAdjustTypePen,
    ColorAdjustTypeText,
};

// Font styles: flags, combined with |.
enum TFontStyleFlags : int {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

// String format flags: combined with |.
enum TStringFormatFlags : int {
    StringFormatFlagsDirectionRightToLeft = 0x0001,
    StringFormatFlagsDirectionVertical = 0x0002,
    StringFormatFlagsNoFitBlackBox = 0x0004,
    StringFormatFlagsDisplayFormatControl = 0x0020,
    StringFormatFlagsNoFontFallback = 0x0400,
    StringFormatFlagsMeasureTrailingSpaces = 0x0800,
    StringFormatFlagsNoWrap = 0x1000,
    StringFormatFlagsLineLimit = 0x2000,
    StringFormatFlagsNoClip = 0x4000,
};

// ---- Colours --------------------------------------------------------------

// 0xAARRGGBB: alpha in the top byte, blue in the lowest.
using ARGB = LongWord;

constexpr ARGB MakeARGB(Byte alpha, Byte red, Byte green, Byte blue) {
    return ARGB(alpha) << 24 | ARGB(red) << 16 | ARGB(green) << 8 | ARGB(blue);
}
constexpr ARGB MakeARGB(Byte red, Byte green, Byte blue) { return MakeARGB(255, red, green, blue); }
constexpr Byte GetAlpha(ARGB color) { return Byte(color >> 24); }
constexpr Byte GetRed(ARGB color) { return Byte(color >> 16); }
constexpr Byte GetGreen(ARGB color) { return Byte(color >> 8); }
constexpr Byte GetBlue(ARGB color) { return Byte(color); }

// An opaque ARGB colour from a plain 0x00BBGGRR value.
constexpr ARGB RGBToARGB(LongWord rgb) { return MakeARGB(Byte(rgb), Byte(rgb >> 8), Byte(rgb >> 16)); }

// A class-library colour as opaque ARGB, system colours resolved by
// systemColor (index -> 0x00BBGGRR). ColorToARGB (gdiplus_base_win.h)
// resolves them with the system's colours.
ARGB ColorToARGBWith(TColor color, LongWord (*systemColor)(int index));

// ---- Points and rectangles -----------------------------------------------

// The layouts GDI+ takes (GpPoint, GpRectF).
struct TGPPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TGPPoint&) const = default;
};

struct TGPRectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const TGPRectF&) const = default;
};

constexpr TGPPoint MakePoint(int x, int y) { return {x, y}; }
constexpr TGPRectF MakeRect(float x, float y, float width, float height) { return {x, y, width, height}; }

// ---- Image formats --------------------------------------------------------

// What TGPImage::GetFormat answers.
enum TGPImageFormat {
    ifUndefined = 0,
    ifMemoryBMP = 1,
    ifBMP = 2,
    ifEMF = 3,
    ifWMF = 4,
    ifJPEG = 5,
    ifPNG = 6,
    ifGIF = 7,
    ifTIFF = 8,
    ifEXIF = 9,
    ifIcon = 10,
};

// GDI+'s published raw-format identifiers.
inline constexpr TGUID ImageFormatMemoryBMP = GUID("{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatBMP = GUID("{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatEMF = GUID("{B96B3CAC-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatWMF = GUID("{B96B3CAD-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatJPEG = GUID("{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatPNG = GUID("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatGIF = GUID("{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatTIFF = GUID("{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatEXIF = GUID("{B96B3CB2-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr TGUID ImageFormatIcon = GUID("{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}");

// The format of a raw-format GUID; ifUndefined for any other.
TGPImageFormat ImageFormatFromGUID(const TGUID& format);

// ---- Path gradients -------------------------------------------------------

// SetSurroundColors hands the colours to GDI+ only when there are colours,
// the brush has at least one point and count does not exceed its points.
constexpr bool SurroundColorsAccepted(const ARGB* colors, int pointCount, int count) {
    return colors != nullptr && pointCount >= 1 && count <= pointCount;
}

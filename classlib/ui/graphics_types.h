// Colours, font character sets and the enumerations of fonts, pens and
// brushes, with the type information and registered names the stored layout
// uses ("Color = clBtnFace", "Font.Charset = DEFAULT_CHARSET",
// "Font.Style = [fsBold]"). Portable: no windows.h, so the layout tests of
// the host build can use them too. The drawing side is in graphics.h.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/core/sysutils.h"
#include "classlib/core/typinfo.h"

// ---- Colours ---------------------------------------------------------------
//
// A colour is 0x00BBGGRR (red in the lowest byte), or a system colour:
// 0xFF000000 plus the system's colour index (COLOR_BTNFACE...), resolved by
// ColorToRGB. clNone and clDefault are markers, not colours.
enum TColor : int {};

namespace colors_detail {
constexpr TColor SystemColor(int index) { return TColor(int(0xFF000000u | unsigned(index))); }
}  // namespace colors_detail

inline constexpr TColor clSystemColor{int(0xFF000000u)};

inline constexpr TColor clScrollBar = colors_detail::SystemColor(0);
inline constexpr TColor clBackground = colors_detail::SystemColor(1);
inline constexpr TColor clActiveCaption = colors_detail::SystemColor(2);
inline constexpr TColor clInactiveCaption = colors_detail::SystemColor(3);
inline constexpr TColor clMenu = colors_detail::SystemColor(4);
inline constexpr TColor clWindow = colors_detail::SystemColor(5);
inline constexpr TColor clWindowFrame = colors_detail::SystemColor(6);
inline constexpr TColor clMenuText = colors_detail::SystemColor(7);
inline constexpr TColor clWindowText = colors_detail::SystemColor(8);
inline constexpr TColor clCaptionText = colors_detail::SystemColor(9);
inline constexpr TColor clActiveBorder = colors_detail::SystemColor(10);
inline constexpr TColor clInactiveBorder = colors_detail::SystemColor(11);
inline constexpr TColor clAppWorkSpace = colors_detail::SystemColor(12);
inline constexpr TColor clHighlight = colors_detail::SystemColor(13);
inline constexpr TColor clHighlightText = colors_detail::SystemColor(14);
inline constexpr TColor clBtnFace = colors_detail::SystemColor(15);
inline constexpr TColor clBtnShadow = colors_detail::SystemColor(16);
inline constexpr TColor clGrayText = colors_detail::SystemColor(17);
inline constexpr TColor clBtnText = colors_detail::SystemColor(18);
inline constexpr TColor clInactiveCaptionText = colors_detail::SystemColor(19);
inline constexpr TColor clBtnHighlight = colors_detail::SystemColor(20);
inline constexpr TColor cl3DDkShadow = colors_detail::SystemColor(21);
inline constexpr TColor cl3DLight = colors_detail::SystemColor(22);
inline constexpr TColor clInfoText = colors_detail::SystemColor(23);
inline constexpr TColor clInfoBk = colors_detail::SystemColor(24);
inline constexpr TColor clHotLight = colors_detail::SystemColor(26);
inline constexpr TColor clGradientActiveCaption = colors_detail::SystemColor(27);
inline constexpr TColor clGradientInactiveCaption = colors_detail::SystemColor(28);
inline constexpr TColor clMenuHighlight = colors_detail::SystemColor(29);
inline constexpr TColor clMenuBar = colors_detail::SystemColor(30);

inline constexpr TColor clBlack{0x000000};
inline constexpr TColor clMaroon{0x000080};
inline constexpr TColor clGreen{0x008000};
inline constexpr TColor clOlive{0x008080};
inline constexpr TColor clNavy{0x800000};
inline constexpr TColor clPurple{0x800080};
inline constexpr TColor clTeal{0x808000};
inline constexpr TColor clGray{0x808080};
inline constexpr TColor clSilver{0xC0C0C0};
inline constexpr TColor clRed{0x0000FF};
inline constexpr TColor clLime{0x00FF00};
inline constexpr TColor clYellow{0x00FFFF};
inline constexpr TColor clBlue{0xFF0000};
inline constexpr TColor clFuchsia{0xFF00FF};
inline constexpr TColor clAqua{0xFFFF00};
inline constexpr TColor clLtGray{0xC0C0C0};
inline constexpr TColor clDkGray{0x808080};
inline constexpr TColor clWhite{0xFFFFFF};
inline constexpr TColor clMoneyGreen{0xC0DCC0};
inline constexpr TColor clSkyBlue{0xF0CAA6};
inline constexpr TColor clCream{0xF0FBFF};
inline constexpr TColor clMedGray{0xA4A0A0};

inline constexpr TColor clNone{0x1FFFFFFF};
inline constexpr TColor clDefault{0x20000000};

// True for 0xFF000000 + index values.
constexpr bool IsSystemColor(TColor color) { return (unsigned(color) & 0xFF000000u) == 0xFF000000u; }

// The names the stored layout writes, in the order a value is looked up
// (the first name of a value is the one written).
inline const std::vector<TIdentMapEntry>& ColorIdents() {
    static const std::vector<TIdentMapEntry> idents = {
        {clBlack, "clBlack"},
        {clMaroon, "clMaroon"},
        {clGreen, "clGreen"},
        {clOlive, "clOlive"},
        {clNavy, "clNavy"},
        {clPurple, "clPurple"},
        {clTeal, "clTeal"},
        {clGray, "clGray"},
        {clSilver, "clSilver"},
        {clRed, "clRed"},
        {clLime, "clLime"},
        {clYellow, "clYellow"},
        {clBlue, "clBlue"},
        {clFuchsia, "clFuchsia"},
        {clAqua, "clAqua"},
        {clWhite, "clWhite"},
        {clMoneyGreen, "clMoneyGreen"},
        {clSkyBlue, "clSkyBlue"},
        {clCream, "clCream"},
        {clMedGray, "clMedGray"},
        {clActiveBorder, "clActiveBorder"},
        {clActiveCaption, "clActiveCaption"},
        {clAppWorkSpace, "clAppWorkSpace"},
        {clBackground, "clBackground"},
        {clBtnFace, "clBtnFace"},
        {clBtnHighlight, "clBtnHighlight"},
        {clBtnShadow, "clBtnShadow"},
        {clBtnText, "clBtnText"},
        {clCaptionText, "clCaptionText"},
        {clDefault, "clDefault"},
        {clGradientActiveCaption, "clGradientActiveCaption"},
        {clGradientInactiveCaption, "clGradientInactiveCaption"},
        {clGrayText, "clGrayText"},
        {clHighlight, "clHighlight"},
        {clHighlightText, "clHighlightText"},
        {clHotLight, "clHotLight"},
        {clInactiveBorder, "clInactiveBorder"},
        {clInactiveCaption, "clInactiveCaption"},
        {clInactiveCaptionText, "clInactiveCaptionText"},
        {clInfoBk, "clInfoBk"},
        {clInfoText, "clInfoText"},
        {clMenu, "clMenu"},
        {clMenuBar, "clMenuBar"},
        {clMenuHighlight, "clMenuHighlight"},
        {clMenuText, "clMenuText"},
        {clNone, "clNone"},
        {clScrollBar, "clScrollBar"},
        {cl3DDkShadow, "cl3DDkShadow"},
        {cl3DLight, "cl3DLight"},
        {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"},
        {clWindowText, "clWindowText"},
        // Read, never written: the first names of these values are above.
        {clLtGray, "clLtGray"},
        {clDkGray, "clDkGray"},
    };
    return idents;
}

// The type TColor. Its names are registered with it, so any property of
// this type reads and writes them. Values are 32-bit; the layout may give
// them signed or unsigned ($FF00000F and -16777201 are the same colour).
inline const TTypeInfo* TypeInfoOf(TColor*) {
    static const TTypeInfo* info = [] {
        static TTypeInfo t = MakeOrdinalTypeInfo(tkInteger, "TColor", INT32_MIN, UINT32_MAX);
        RegisterIntegerIdents(&t, ColorIdents());
        return &t;
    }();
    return info;
}

inline bool ColorToIdent(TColor color, String& ident) {
    return IntToIdent(TypeInfoOf(static_cast<TColor*>(nullptr)), color, ident);
}

inline bool IdentToColor(const String& ident, TColor& color) {
    Int64 v = 0;
    if (!IdentToInt(TypeInfoOf(static_cast<TColor*>(nullptr)), ident, v)) return false;
    color = TColor(int(v));
    return true;
}

// "clBtnFace", or "$00FF8040" for a colour without a name.
inline String ColorToString(TColor color) {
    String ident;
    if (ColorToIdent(color, ident)) return ident;
    return "$" + IntToHex(int(color), 8);
}

// A colour name (case ignored) or an integer ("$00FF8040", "16711680").
// Raises EConvertError "'%s' is not a valid integer value" for anything else.
inline TColor StringToColor(const String& text) {
    TColor color;
    if (IdentToColor(text, color)) return color;
    return TColor(StrToInt(text));
}

// ---- Text alignment ------------------------------------------------------------
//
// Where a caption sits across its box (labels, panels, the pager's tabs).
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
QL_DECLARE_ENUM(TAlignment);
inline QL_DEFINE_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

    // ---- Font character sets ------------------------------------------------------
    //
    // A font's character set is a byte; the stored layout names the usual ones.
    using TFontCharset = Byte;

inline const TTypeInfo* TypeInfoFontCharset() {
    static const TTypeInfo* info = [] {
        static TTypeInfo t = MakeOrdinalTypeInfo(tkInteger, "TFontCharset", 0, 255);
        RegisterIntegerIdents(&t, {
                                      {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
                                      {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
                                      {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
                                      {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
                                      {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
                                      {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
                                      {255, "OEM_CHARSET"},
                                  });
        return &t;
    }();
    return info;
}

// ---- Fonts, pens and brushes ------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
QL_DECLARE_ENUM(TFontStyle);
inline QL_DEFINE_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline",
                      "fsStrikeOut") using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
QL_DECLARE_ENUM(TFontPitch);
inline QL_DEFINE_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

    enum TPenStyle {
        psSolid,
        psDash,
        psDot,
        psDashDot,
        psDashDotDot,
        psClear,
        psInsideFrame
    };
QL_DECLARE_ENUM(TPenStyle);
inline QL_DEFINE_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")

    // The raster operation a pen draws with.
    enum TPenMode {
        pmBlack,
        pmWhite,
        pmNop,
        pmNot,
        pmCopy,
        pmNotCopy,
        pmMergePenNot,
        pmMaskPenNot,
        pmMergeNotPen,
        pmMaskNotPen,
        pmMerge,
        pmNotMerge,
        pmMask,
        pmNotMask,
        pmXor,
        pmNotXor
    };
QL_DECLARE_ENUM(TPenMode);
inline QL_DEFINE_ENUM(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                      "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
                      "pmXor", "pmNotXor")

    enum TBrushStyle {
        bsSolid,
        bsClear,
        bsHorizontal,
        bsVertical,
        bsFDiagonal,
        bsBDiagonal,
        bsCross,
        bsDiagCross
    };
QL_DECLARE_ENUM(TBrushStyle);
inline QL_DEFINE_ENUM(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                      "bsCross", "bsDiagCross")

// GDI+ text objects: font families by name, fonts, and string formats.
#pragma once

#include "components/foundation/gdiplus_base_win.h"

class TGPFontFamily : public TGdiplusBase {
    QL_CLASS(TGPFontFamily, TGdiplusBase)
public:
    // The family of that name among the installed fonts (collection:
    // another collection; none for the installed fonts). A name GDI+ does
    // not know makes no family (FontFamilyNotFound).
    explicit TGPFontFamily(const WCHAR* name, GpFontCollection* collection = nullptr);
    ~TGPFontFamily() override;

    GpFontFamily* Native() const { return FNative; }

private:
    GpFontFamily* FNative = nullptr;
};

class TGPFont : public TGdiplusBase {
    QL_CLASS(TGPFont, TGdiplusBase)
public:
    // style: FontStyle... flags; emSize in unit.
    TGPFont(TGPFontFamily* family, float emSize, int style = FontStyleRegular, TGPUnit unit = UnitPoint);
    ~TGPFont() override;

    GpFont* Native() const { return FNative; }

private:
    GpFont* FNative = nullptr;
};

class TGPStringFormat : public TGdiplusBase {
    QL_CLASS(TGPStringFormat, TGdiplusBase)
public:
    // formatFlags: StringFormatFlags... combined.
    explicit TGPStringFormat(int formatFlags = 0, LANGID language = LANG_NEUTRAL);
    ~TGPStringFormat() override;

    GpStringFormat* Native() const { return FNative; }

    TStatus SetAlignment(TStringAlignment alignment);
    TStatus SetLineAlignment(TStringAlignment alignment);
    TStatus SetTrimming(StringTrimming trimming);
    TStatus SetHotkeyPrefix(THotkeyPrefix prefix);

private:
    GpStringFormat* FNative = nullptr;
};

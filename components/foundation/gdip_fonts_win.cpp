#include "components/foundation/gdip_fonts_win.h"

#include "classlib/core/typinfo.h"

TClass TGPFontFamily::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPFontFamily>("TGPFontFamily").Build();
    return &info;
}

TGPFontFamily::TGPFontFamily(const WCHAR* name, GpFontCollection* collection) {
    SetCreateStatus(Api().GdipCreateFontFamilyFromName(name, collection, &FNative));
}

TGPFontFamily::~TGPFontFamily() {
    if (FNative) Api().GdipDeleteFontFamily(FNative);
}

TClass TGPFont::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPFont>("TGPFont").Build();
    return &info;
}

TGPFont::TGPFont(TGPFontFamily* family, float emSize, int style, TGPUnit unit) {
    SetCreateStatus(Api().GdipCreateFont(family ? family->Native() : nullptr, emSize, style, unit, &FNative));
}

TGPFont::~TGPFont() {
    if (FNative) Api().GdipDeleteFont(FNative);
}

TClass TGPStringFormat::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPStringFormat>("TGPStringFormat").Build();
    return &info;
}

TGPStringFormat::TGPStringFormat(int formatFlags, LANGID language) {
    SetCreateStatus(Api().GdipCreateStringFormat(formatFlags, language, &FNative));
}

TGPStringFormat::~TGPStringFormat() {
    if (FNative) Api().GdipDeleteStringFormat(FNative);
}

TStatus TGPStringFormat::SetAlignment(TStringAlignment alignment) {
    return SetStatus(Api().GdipSetStringFormatAlign(FNative, alignment));
}

TStatus TGPStringFormat::SetLineAlignment(TStringAlignment alignment) {
    return SetStatus(Api().GdipSetStringFormatLineAlign(FNative, alignment));
}

TStatus TGPStringFormat::SetTrimming(StringTrimming trimming) {
    return SetStatus(Api().GdipSetStringFormatTrimming(FNative, trimming));
}

TStatus TGPStringFormat::SetHotkeyPrefix(THotkeyPrefix prefix) {
    return SetStatus(Api().GdipSetStringFormatHotkeyPrefix(FNative, prefix));
}

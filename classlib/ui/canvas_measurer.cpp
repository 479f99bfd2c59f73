#include "classlib/ui/canvas_measurer.h"

void TCanvasTextMeasurer::SetFont(const TMeasureFont& font) {
    TFont* target = FCanvas->Font();
    if (!font.Name.empty()) target->SetName(font.Name);
    if (font.Height != 0) target->SetHeight(font.Height);
    TFontStyles style;
    if (font.Bold) style.Include(fsBold);
    if (font.Italic) style.Include(fsItalic);
    if (font.Underline) style.Include(fsUnderline);
    if (font.StrikeOut) style.Include(fsStrikeOut);
    target->SetStyle(style);
}

TTextExtent TCanvasTextMeasurer::TextExtent(const String& text) {
    TSize size = FCanvas->TextExtent(text);
    return {size.cx, size.cy};
}

TFontMeasures TCanvasTextMeasurer::FontMeasures() {
    TEXTMETRICA metrics{};
    GetTextMetricsA(FCanvas->Handle(), &metrics);
    return {int(metrics.tmHeight), int(metrics.tmAscent), int(metrics.tmDescent), int(metrics.tmExternalLeading),
            int(metrics.tmAveCharWidth)};
}

TMeasureFont MeasureFontOf(const TFont* font) {
    const TFontStyles style = font->Style();
    return {font->Name(),
            font->Height(),
            style.Contains(fsBold),
            style.Contains(fsItalic),
            style.Contains(fsUnderline),
            style.Contains(fsStrikeOut)};
}

// Text measuring for layout code (HTML captions, tab widths). Layout code
// sets the font it lays out in and asks the extent of its pieces of text
// through ITextMeasurer, never through a device context of its own, so that
// a test can hand it a TFixedPitchMeasurer and know every width exactly:
//
//   TFixedPitchMeasurer measurer;        // 7 px a character, 8 bold, 16 high
//   TabWidths(measurer, {"One", "Two"}); // each 3 * 7 px plus the margins
//
// The measurer over a canvas's device context (the font a control paints
// in) is TCanvasTextMeasurer in classlib/ui/canvas_measurer.h.
#pragma once

#include "classlib/core/types.h"

// The font to measure in, as layout code describes it.
struct TMeasureFont {
    String Name;
    // Character height in pixels; negative: the em height (as a LOGFONT's).
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TMeasureFont&) const = default;
};

struct TTextExtent {
    int Width = 0;
    int Height = 0;

    bool operator==(const TTextExtent&) const = default;
};

// The vertical measures of a font, in pixels: Height = Ascent + Descent.
struct TFontMeasures {
    int Height = 0;
    int Ascent = 0;
    int Descent = 0;
    int ExternalLeading = 0;
    // The font's average character width; text drawing with tabs expanded
    // puts a tab stop every eight of them.
    int AveCharWidth = 0;

    bool operator==(const TFontMeasures&) const = default;
};

class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // The font the next measures are in.
    virtual void SetFont(const TMeasureFont& font) = 0;
    // The extent of text on one line (tabs and line breaks not expanded).
    virtual TTextExtent TextExtent(const String& text) = 0;
    virtual TFontMeasures FontMeasures() = 0;

    int TextWidth(const String& text) { return TextExtent(text).Width; }
    int TextHeight(const String& text) { return TextExtent(text).Height; }
};

// Every character CharWidth pixels wide (BoldCharWidth in a bold font), every
// line Height pixels high, whatever the face and size: layouts measured with
// it come out in whole, predictable numbers.
class TFixedPitchMeasurer : public ITextMeasurer {
public:
    struct TPitch {
        int CharWidth = 7;
        int BoldCharWidth = 8;
        int Height = 16;
        int Ascent = 13;
        int ExternalLeading = 0;
    };
    TFixedPitchMeasurer() = default;
    explicit TFixedPitchMeasurer(const TPitch& pitch) : FPitch(pitch) {}

    void SetFont(const TMeasureFont& font) override { FFont = font; }
    TTextExtent TextExtent(const String& text) override;
    TFontMeasures FontMeasures() override;

    const TMeasureFont& Font() const { return FFont; }
    const TPitch& Pitch() const { return FPitch; }

private:
    TPitch FPitch;
    TMeasureFont FFont;
};

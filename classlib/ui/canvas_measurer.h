// Text measuring on a canvas's device context: the real ITextMeasurer that
// layout code gets when it paints (a test gives it a TFixedPitchMeasurer
// from classlib/core/textmeasure.h instead).
#pragma once

#include "classlib/core/textmeasure.h"
#include "classlib/ui/graphics.h"

// Measures with GetTextExtentPoint32A and GetTextMetricsA in the canvas's
// font. SetFont changes that font, so that what is painted on the canvas
// afterwards is in the font measured; an empty name or a height of 0 keeps
// the canvas font's own.
class TCanvasTextMeasurer : public ITextMeasurer {
public:
    explicit TCanvasTextMeasurer(TCanvas* canvas) : FCanvas(canvas) {}

    void SetFont(const TMeasureFont& font) override;
    TTextExtent TextExtent(const String& text) override;
    TFontMeasures FontMeasures() override;

private:
    TCanvas* FCanvas;
};

// The description of a font that layout code sets on a measurer.
TMeasureFont MeasureFontOf(const TFont* font);

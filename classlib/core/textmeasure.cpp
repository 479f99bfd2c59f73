#include "classlib/core/textmeasure.h"

TTextExtent TFixedPitchMeasurer::TextExtent(const String& text) {
    const int width = FFont.Bold ? FPitch.BoldCharWidth : FPitch.CharWidth;
    return {int(text.size()) * width, FPitch.Height};
}

TFontMeasures TFixedPitchMeasurer::FontMeasures() {
    return {FPitch.Height, FPitch.Ascent, FPitch.Height - FPitch.Ascent, FPitch.ExternalLeading,
            FFont.Bold ? FPitch.BoldCharWidth : FPitch.CharWidth};
}

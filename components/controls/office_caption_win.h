// The caption of the office check box and radio button: drawn, measured
// and hit-tested in one place, so the controls do not care how. For now it
// is the caption's text on one line (tags are shown as they are written);
// the HTML-subset renderer takes its place here.
#pragma once

#include "classlib/ui/graphics.h"
#include "classlib/ui/imagelist.h"

// What the controls pass on with every caption.
struct TOfficeCaptionStyle {
    TCustomImageList* Images = nullptr;
    TColor ShadowColor = TColor(0x808080);
    int ShadowOffset = 1;
    TColor URLColor = TColor(0xFF0000);
    // Cut with an ellipsis at the end when it does not fit.
    bool Ellipsis = false;
};

// Draws caption into rect in the canvas's font, or only measures it; the
// size it takes.
TSize DrawOfficeCaption(TCanvas* canvas, const String& caption, const TRect& rect, const TOfficeCaptionStyle& style,
                        bool measureOnly);
// The target of the anchor under point when caption is drawn into rect;
// empty when there is none.
String OfficeCaptionAnchorAt(TCanvas* canvas, const String& caption, const TRect& rect,
                             const TOfficeCaptionStyle& style, TPoint point);

// The caption of the office check box and radio button, written in the
// HTML subset: drawn, measured and hit-tested through the renderer
// (components/foundation/html_text_win.h) with what the controls pass on
// every call.
#pragma once

#include "classlib/ui/graphics.h"
#include "classlib/ui/imagelist.h"
#include "components/foundation/html_picture_win.h"
#include "components/foundation/picture_container_win.h"

// What the controls pass with every caption.
struct TOfficeCaptionStyle {
    TCustomImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache* PictureCache = nullptr;
    TColor ShadowColor = TColor(0x808080);
    int ShadowOffset = 1;
    TColor URLColor = TColor(0xFF0000);
    // Cut with an ellipsis at the end instead of wrapping.
    bool Ellipsis = false;
};

// Draws caption into rect in the canvas's font, or only measures it; the
// size it takes.
TSize DrawOfficeCaption(TCanvas* canvas, const String& caption, const TRect& rect, const TOfficeCaptionStyle& style,
                        bool measureOnly);
// The size caption takes when laid out in rect as the paint lays it out
// (lines that would start below rect are left out), without painting.
TSize OfficeCaptionShownSize(TCanvas* canvas, const String& caption, const TRect& rect,
                             const TOfficeCaptionStyle& style);
// The target of the anchor under point when caption is drawn into rect;
// empty when there is none.
String OfficeCaptionAnchorAt(TCanvas* canvas, const String& caption, const TRect& rect,
                             const TOfficeCaptionStyle& style, TPoint point);

// DrawHtmlText: draws, measures or hit-tests a caption written in the HTML
// subset on a canvas; the panel, the office check box and radio button call
// it for their captions and to find the anchor under the mouse:
//
//   String anchor, plain, focused;
//   int width, height, links, mouseLink;
//   TRect linkRect;
//   DrawHtmlText(canvas, "<B>Bold</B> and <A href=\"go\">a link</A>", ClientRect(), images, 0, 0, -1, -1, 2,
//                false, false, false, false, true, false, true, 1.0, clBlue, clNone, clNone, clGray, anchor, plain,
//                focused, width, height, links, mouseLink, linkRect, nullptr, pictureContainer, 0);
//
// The layout (tags, entities, line breaking, alignment, anchors, lists,
// the hit-test) is html_layout.h's; this is the canvas it measures and
// draws on and the pictures it finds.
#pragma once

#include "classlib/ui/graphics.h"
#include "classlib/ui/imagelist.h"
#include "components/foundation/html_picture_win.h"
#include "components/foundation/picture_container_win.h"

// Returns true when a HitTestOnly call found (mouseX, mouseY) on an anchor.
// The canvas comes back with its font and brush as they were; its pen and
// background mode (transparent) may be changed.
bool DrawHtmlText(TCanvas* canvas, const String& text, const TRect& bounds, TCustomImageList* images, int mouseX,
                  int mouseY, int focusLink, int hoverLink, int shadowOffset, bool hitTestOnly, bool measureOnly,
                  bool printMode, bool selected, bool blinkVisible, bool hoverOnlyLinks, bool wordWrap,
                  double resolutionFactor, TColor urlColor, TColor hoverColor, TColor hoverFontColor,
                  TColor shadowColor, String& anchorUnderMouse, String& plainText, String& focusedAnchor,
                  int& measuredWidth, int& measuredHeight, int& linkCount, int& mouseLink, TRect& mouseLinkRect,
                  THTMLPictureCache* pictureCache, TPictureContainer* pictureContainer, int lineSpacing);

#include "components/controls/office_caption_win.h"

#include "components/foundation/html_text_win.h"

namespace {

struct TCaptionResult {
    bool OnAnchor = false;
    String Anchor;
    TSize Size;
};

TCaptionResult Render(TCanvas* canvas, const String& caption, const TRect& rect, const TOfficeCaptionStyle& s,
                      TPoint mouse, bool hitTest, bool measure) {
    TCaptionResult r;
    String plain, focused;
    int links = 0, mouseLink = -1;
    TRect linkRect;
    r.OnAnchor =
        DrawHtmlText(canvas, caption, rect, s.Images, mouse.X, mouse.Y, -1, -1, s.ShadowOffset, hitTest, measure, false,
                     false, false, false, !s.Ellipsis, 1.0, s.URLColor, clNone, clNone, s.ShadowColor, r.Anchor, plain,
                     focused, r.Size.cx, r.Size.cy, links, mouseLink, linkRect, s.PictureCache, s.PictureContainer, 0);
    return r;
}

}  // namespace

TSize DrawOfficeCaption(TCanvas* canvas, const String& caption, const TRect& rect, const TOfficeCaptionStyle& style,
                        bool measureOnly) {
    return Render(canvas, caption, rect, style, TPoint{}, false, measureOnly).Size;
}

TSize OfficeCaptionShownSize(TCanvas* canvas, const String& caption, const TRect& rect,
                             const TOfficeCaptionStyle& style) {
    return Render(canvas, caption, rect, style, TPoint{}, true, false).Size;
}

String OfficeCaptionAnchorAt(TCanvas* canvas, const String& caption, const TRect& rect,
                             const TOfficeCaptionStyle& style, TPoint point) {
    const TCaptionResult r = Render(canvas, caption, rect, style, point, true, false);
    return r.OnAnchor ? r.Anchor : String();
}

#include "components/controls/office_caption_win.h"

TSize DrawOfficeCaption(TCanvas* canvas, const String& caption, const TRect& rect, const TOfficeCaptionStyle& style,
                        bool measureOnly) {
    UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;
    if (style.Ellipsis) flags |= DT_END_ELLIPSIS;
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    RECT measured = r;
    DrawTextA(canvas->Handle(), caption.c_str(), int(caption.size()), &measured, flags | DT_CALCRECT);
    if (!measureOnly) {
        const int mode = SetBkMode(canvas->Handle(), TRANSPARENT);
        DrawTextA(canvas->Handle(), caption.c_str(), int(caption.size()), &r, flags);
        SetBkMode(canvas->Handle(), mode);
    }
    return TSize{std::min(int(measured.right - measured.left), rect.Width()), int(measured.bottom - measured.top)};
}

String OfficeCaptionAnchorAt(TCanvas*, const String&, const TRect&, const TOfficeCaptionStyle&, TPoint) {
    return String();
}

// Helpers of the office check box, radio button and radio group tests:
// mouse and key input delivered to a control's own window as the system
// delivers it (through the program's message loop), the glyph's place,
// and the glyph painted compared pixel by pixel with the program's bitmap.
#pragma once

#include "classlib/ui/bitmaps.h"
#include "components/controls/office_button_control_win.h"
#include "components/foundation/visual_styles_win.h"
#include "option_controls_test_support_win.h"

namespace option_controls_test {

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A press, a move and a release of the left button at a point of the
// control's client area, posted to its window and handled.
inline void Press(TWinControl* c, int x, int y) {
    PostMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    Pump();
}
inline void Move(TWinControl* c, int x, int y) {
    PostMessageA(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(x, y));
    Pump();
}
inline void Release(TWinControl* c, int x, int y) {
    PostMessageA(c->Handle(), WM_LBUTTONUP, 0, At(x, y));
    Pump();
}
// A click at the middle of the control.
inline void Click(TWinControl* c) {
    Press(c, c->Width() / 2, c->Height() / 2);
    Release(c, c->Width() / 2, c->Height() / 2);
}
// A key pressed and released in the focused control c, through the
// message loop (where dialog keys such as Tab and the arrows are taken).
inline void Key(TWinControl* c, WORD key) {
    PostMessageA(c->Handle(), WM_KEYDOWN, key, 1);
    Pump();
    PostMessageA(c->Handle(), WM_KEYUP, key, LPARAM(0xC0000001));
    Pump();
}
// The mouse over the control or not, as the class library reports it.
inline void SetHot(TControl* c, bool hot) { c->Perform(hot ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, LPARAM(c)); }

// Where the 13 x 13 glyph bitmap of a control goes (top alignment, left).
inline TPoint GlyphPlace(TControl* c, bool radio) {
    return OfficeGlyphPlace(radio, false, false, TGlyphLayout::Top, TSize{c->ClientWidth(), c->ClientHeight()},
                            MeasureText(c->Font(), "gh").cy, TSize{13, 13});
}

// The painted glyph at place is the named bitmap, its key colour showing
// the parent's colour behind.
inline bool GlyphMatches(TPaintTarget& target, const char* bitmapName, TColor behind, TPoint place,
                         std::string* why = nullptr) {
    TBitmap* glyph = OfficeGlyphBitmap(bitmapName);
    const TColor key = glyph->Canvas()->Pixels(0, glyph->Height() - 1);
    for (int y = 0; y < glyph->Height(); ++y)
        for (int x = 0; x < glyph->Width(); ++x) {
            const TColor own = glyph->Canvas()->Pixels(x, y);
            const TColor expected = own == key ? behind : own;
            const TColor painted = target.PixelAt(place.X + x, place.Y + y);
            if (painted != expected) {
                if (why) *why = std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(int(painted));
                return false;
            }
        }
    return true;
}

inline void ExpectGlyph(TWinControl* c, const char* bitmapName, TColor behind, TPoint place) {
    TPaintTarget target(c->Width(), c->Height(), clBlack);
    target.PaintInParents(c);
    std::string why;
    EXPECT_TRUE(GlyphMatches(target, bitmapName, behind, place, &why)) << bitmapName << " differs at " << why;
}

// Visual styles off for the program while it lives.
class TThemeOff {
public:
    TThemeOff() {
        TVisualStylesBinding& styles = VisualStyles();
        if (styles.GetThemeAppProperties && styles.SetThemeAppProperties) {
            FBefore = styles.GetThemeAppProperties();
            styles.SetThemeAppProperties(0);
            FSet = true;
        }
    }
    ~TThemeOff() {
        if (FSet) VisualStyles().SetThemeAppProperties(FBefore);
    }
    TThemeOff(const TThemeOff&) = delete;
    TThemeOff& operator=(const TThemeOff&) = delete;

private:
    DWORD FBefore = 0;
    bool FSet = false;
};

}  // namespace option_controls_test

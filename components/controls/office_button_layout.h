// The arithmetic of the office check box and radio button: which state of
// the visual style and which of the program's glyph bitmaps shows the
// control, where the glyph goes and where the caption goes. Portable: the
// controls (office_check_box_win.h, office_radio_button_win.h) draw.
#pragma once

#include "classlib/ui/geometry.h"

// What the glyph shows; the values are those of the class library's
// TCheckBoxState and TTextLayout, in their order.
enum class TGlyphCheck { Unchecked, Checked, Grayed };
enum class TGlyphLayout { Top, Center, Bottom };

// How the glyph looks now.
struct TGlyphLook {
    TGlyphCheck Check = TGlyphCheck::Unchecked;
    bool Enabled = true;
    bool Down = false;  // pressed
    bool Hot = false;   // under the mouse
};

// The state of the visual style's "button" part: part 3 (check box) or 2
// (radio button). A hot glyph shows the pressed state, as the office look
// does, except a grayed check box, which has a hot state of its own.
int CheckBoxThemeState(const TGlyphLook& look);
int RadioButtonThemeState(const TGlyphLook& look);

// The name of the program's bitmap resource for the glyph: pressed before
// hot before normal; a grayed check box shows the unchecked pictures.
const char* CheckBoxGlyphResource(const TGlyphLook& look);
const char* RadioButtonGlyphResource(const TGlyphLook& look);

// The side length of the themed glyph's square.
inline constexpr int kThemedGlyphSize = 16;

// Where the glyph of size glyph goes in a client area of size client: at
// the left, or at the right for a right-aligned caption; vertically by
// layout (textHeight: the height of "gh" in the control's font). themed:
// the visual style's 16 x 16 glyph, else the bitmap.
TPoint OfficeGlyphPlace(bool radio, bool themed, bool rightSide, TGlyphLayout layout, TSize client, int textHeight,
                        TSize glyph);

// Where the caption starts before it is measured: beside the glyph (16
// pixels for the check box, 18 for the radio button), 4 pixels down.
TRect OfficeCaptionRect(bool radio, bool rightSide, const TRect& client);

// Right to left the measured caption (captionWidth wide) ends 3 pixels
// short of the rectangle's right edge, beside the glyph.
TRect OfficeCaptionRightToLeft(TRect rect, int captionWidth);

// The radio button's caption moved down by layout, once its height is
// known.
TRect RadioCaptionAligned(TRect rect, TGlyphLayout layout, int captionHeight);

#include "components/controls/office_button_layout.h"

namespace {

// Theme states by check: disabled, pressed, hot, normal.
constexpr int kCheckStates[3][4] = {{4, 3, 3, 1}, {8, 7, 7, 5}, {12, 11, 10, 9}};

int ThemeState(const int (&states)[4], const TGlyphLook& look) {
    if (!look.Enabled) return states[0];
    if (look.Down) return states[1];
    if (look.Hot) return states[2];
    return states[3];
}

const char* Resource(const char* const (&names)[2][3], const TGlyphLook& look) {
    const int checked = look.Check == TGlyphCheck::Checked ? 1 : 0;
    return names[checked][look.Down ? 0 : look.Hot ? 1 : 2];
}

constexpr const char* kCheckBoxResources[2][3] = {{"QOROFCUD", "QOROFCUH", "QOROFCU"},
                                                  {"QOROFCCD", "QOROFCCH", "QOROFCC"}};
constexpr const char* kRadioResources[2][3] = {{"QOROFRUD", "QOROFRUH", "QOROFRU"},
                                               {"QOROFRCD", "QOROFRCH", "QOROFRC"}};

}  // namespace

int CheckBoxThemeState(const TGlyphLook& look) { return ThemeState(kCheckStates[int(look.Check)], look); }

int RadioButtonThemeState(const TGlyphLook& look) {
    return ThemeState(kCheckStates[look.Check == TGlyphCheck::Checked ? 1 : 0], look);
}

const char* CheckBoxGlyphResource(const TGlyphLook& look) { return Resource(kCheckBoxResources, look); }

const char* RadioButtonGlyphResource(const TGlyphLook& look) { return Resource(kRadioResources, look); }

TPoint OfficeGlyphPlace(bool radio, bool themed, bool rightSide, TGlyphLayout layout, TSize client, int textHeight,
                        TSize glyph) {
    if (themed) glyph = {kThemedGlyphSize, kThemedGlyphSize};
    TPoint p;
    p.X = rightSide ? client.cx - glyph.cx - 1 : 0;
    switch (layout) {
    case TGlyphLayout::Top: p.Y = radio ? 4 : (textHeight - glyph.cy) / 2 + 4; break;
    case TGlyphLayout::Center: p.Y = client.cy / 2 - glyph.cy / 2; break;
    case TGlyphLayout::Bottom: p.Y = client.cy - glyph.cy - (radio && !themed ? 2 : 0); break;
    }
    return p;
}

TRect OfficeCaptionRect(bool radio, bool rightSide, const TRect& client) {
    const int indent = radio ? 18 : 16;
    TRect r = client;
    if (rightSide) {
        r.Left = 0;
        r.Right -= indent;
    } else {
        r.Left += indent;
    }
    r.Top += 4;
    return r;
}

TRect OfficeCaptionRightToLeft(TRect r, int captionWidth) {
    r.Left = r.Right - captionWidth - 3;
    return r;
}

TRect RadioCaptionAligned(TRect r, TGlyphLayout layout, int captionHeight) {
    if (layout == TGlyphLayout::Center)
        r.Top += (r.Bottom - r.Top - captionHeight) / 2 - 3;
    else if (layout == TGlyphLayout::Bottom)
        r.Top = r.Bottom - captionHeight - 3;
    return r;
}

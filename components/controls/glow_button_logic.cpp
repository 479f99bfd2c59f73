#include "components/controls/glow_button_logic.h"

#include <algorithm>

QL_DEFINE_ENUM(TLumButtonStyle, "bsButton", "bsCheck")
QL_DEFINE_ENUM(TButtonLayout, "blGlyphLeft", "blGlyphTop", "blGlyphRight", "blGlyphBottom", "blGlyphLeftAdjusted",
               "blGlyphRightAdjusted", "blGlyphTopAdjusted", "blGlyphBottomAdjusted")
QL_DEFINE_ENUM(TDropDownPosition, "dpRight", "dpBottom")
QL_DEFINE_ENUM(TDropDownDirection, "ddDown", "ddRight")
QL_DEFINE_ENUM(TFocusType, "ftBorder", "ftHot", "ftHotBorder", "ftNone")
QL_DEFINE_ENUM(TShortCutHintPos, "shpLeft", "shpTop", "shpRight", "shpBottom", "shpCenter", "shpAuto", "shpTopLeft",
               "shpTopRight", "shpAboveTop", "shpAboveTopLeft", "shpAboveTopRight", "shpBottomLeft", "shpBottomRight",
               "shpBelowBottom", "shpBelowBottomLeft", "shpBelowBottomRight", "shpBelowBottomCenter")
QL_DEFINE_ENUM(TButtonPosition, "bpStandalone", "bpLeft", "bpMiddle", "bpRight")
QL_DEFINE_ENUM(TButtonSizeState, "bsGlyph", "bsLabel", "bsLarge")

// ============================================================================
// TGlowFade
// ============================================================================

void TGlowFade::EnsureTimer() {
    if (!FTimer) FTimer = Clock().StartTimer(kGlowFadeInterval, [this] { Tick(); });
}

void TGlowFade::Tick() {
    if (Mode == fmIdle) return;
    int& value = Mode == fmGlow ? GlowValue : PressValue;
    value += Step;
    if ((Step > 0 && value <= 100) || (Step < 0 && value >= 0)) {
        if (OnInvalidate) OnInvalidate();
        return;
    }
    // The fade has run out: no further paint, and no timer until the next.
    value = std::clamp(value, 0, 100);
    const bool pressFadedOut = Mode == fmPress && Step < 0;
    Mode = fmIdle;
    FTimer.reset();  // the timer's own callback: the clock allows it
    if (pressFadedOut && OnPressFadedOut) OnPressFadedOut();
}

// ============================================================================
// Hit zones
// ============================================================================

bool DropDownPressHit(TDropDownPosition position, int x, int y, int width, int height) {
    return position == dpRight ? x > width - 14 : y > height - 14;
}

bool DropDownHotHit(TDropDownPosition position, int x, int y, int width, int height) {
    return position == dpRight ? x > width - 12 : y > height - 12;
}

// ============================================================================
// The look of a paint
// ============================================================================

int GlowPaintState(const TGlowPaintInput& in) {
    int state = in.State;
    if (!in.Enabled) return gsDisabled;
    if (state == gsDisabled) state = in.Down && in.GroupIndex != 0 ? gsCheckedDown : gsNormal;
    if (in.Style == bsCheck && in.Down) state = gsPressed;
    return state;
}

TGlowColorSet ChooseGlowColors(const TGlowButtonAppearance& a, const TGlowPaintInput& in) {
    const int state = GlowPaintState(in);
    const bool checked = state == gsCheckedDown || (in.Style == bsCheck && in.Down);
    const bool focusHot = GlowFocusHot(in);
    const bool hot = in.Hot || focusHot;
    TGlowColorSet set;
    bool disabledLook = false;
    if (state == gsDisabled && in.ShowDisabled) {
        set = a.DisabledSet();
        disabledLook = true;
    } else if (state == gsPressed && in.Style == bsButton) {
        set = a.DownSet();
    } else if (checked) {
        set = a.CheckedSet();
        if (in.FadeRunning && (in.Hot || in.GroupIndex == 0)) set = Blend(a.DownSet(), set, in.PressValue);
    } else if (hot) {
        set = a.HotSet();
    } else {
        set = a.NormalSet();
    }
    if (in.FadeRunning && !disabledLook) {
        if (in.Pressed && in.Style == bsCheck)
            set = Blend(a.DownSet(), a.CheckedSet(), in.PressValue);
        else if (in.Pressed)
            set = Blend(a.DownSet(), a.HotSet(), in.PressValue);
        else if (!in.Transparent && !checked && !focusHot)
            set = Blend(a.HotSet(), a.NormalSet(), in.GlowValue);
    }
    // A button in a row keeps the row's border while it is held.
    if (in.Position != bpStandalone && in.Held) set.Border = a.BorderColor();
    return set;
}

// ============================================================================
// Sizes
// ============================================================================

TSize GlowContentSize(TButtonLayout layout, TSize text, TSize picture, int s) {
    switch (layout) {
    case blGlyphTop:
    case blGlyphBottom:
    case blGlyphTopAdjusted:
    case blGlyphBottomAdjusted: return {std::max(text.cx + s, picture.cx + s), text.cy + picture.cy + s};
    default: return {text.cx + picture.cx + s, std::max(text.cy + s, picture.cy + s)};
    }
}

TSize GlowAutoSize(TSize content, int spacing, int marginHorz, int marginVert, bool dropDown,
                   TDropDownPosition dropDownPosition) {
    TSize size{3 * spacing + content.cx + 2 * marginHorz + 2, 2 * spacing + content.cy + 2 * marginVert};
    if (dropDown) (dropDownPosition == dpRight ? size.cx : size.cy) += 14;
    return size;
}

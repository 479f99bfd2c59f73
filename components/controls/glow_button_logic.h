// The glow button's rules that need no window: its enumerations, the hover
// and press fade on the clock seam, the drop-down part's hit zones, the
// visual state and colour-set choice of a paint, and the content and
// auto-size arithmetic. The button (glow_button_win.h) feeds them its state
// and acts on their answers; tests step the fade with a TManualClock.
#pragma once

#include <functional>
#include <memory>

#include "classlib/core/clock.h"
#include "classlib/ui/geometry.h"
#include "components/controls/glow_button_appearance.h"

enum TLumButtonStyle { bsButton, bsCheck };
QL_DECLARE_ENUM(TLumButtonStyle);
enum TButtonLayout {
    blGlyphLeft,
    blGlyphTop,
    blGlyphRight,
    blGlyphBottom,
    blGlyphLeftAdjusted,
    blGlyphRightAdjusted,
    blGlyphTopAdjusted,
    blGlyphBottomAdjusted
};
QL_DECLARE_ENUM(TButtonLayout);
enum TDropDownPosition { dpRight, dpBottom };
QL_DECLARE_ENUM(TDropDownPosition);
enum TDropDownDirection { ddDown, ddRight };
QL_DECLARE_ENUM(TDropDownDirection);
enum TFocusType { ftBorder, ftHot, ftHotBorder, ftNone };
QL_DECLARE_ENUM(TFocusType);
enum TShortCutHintPos {
    shpLeft,
    shpTop,
    shpRight,
    shpBottom,
    shpCenter,
    shpAuto,
    shpTopLeft,
    shpTopRight,
    shpAboveTop,
    shpAboveTopLeft,
    shpAboveTopRight,
    shpBottomLeft,
    shpBottomRight,
    shpBelowBottom,
    shpBelowBottomLeft,
    shpBelowBottomRight,
    shpBelowBottomCenter
};
QL_DECLARE_ENUM(TShortCutHintPos);
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };
QL_DECLARE_ENUM(TButtonPosition);
enum TButtonSizeState { bsGlyph, bsLabel, bsLarge };
QL_DECLARE_ENUM(TButtonSizeState);

// The visual states of a button.
enum : int { gsNormal = 0, gsDisabled = 1, gsPressed = 2, gsCheckedDown = 4 };

// ---- The fade ------------------------------------------------------------------

// The interval of every button's fade timer, in milliseconds.
inline constexpr unsigned kGlowFadeInterval = 30;

enum TGlowFadeMode { fmGlow = 0, fmPress = 1, fmIdle = 2 };

// The hover glow and the press fade of one button: two values from 0 to
// 100 and a timer on Clock() that moves one of them by Step each tick.
// The timer exists only while a fade runs (the button paints blended
// colours while it does).
class TGlowFade {
public:
    int GlowValue = 0;
    int PressValue = 0;
    int Step = 0;
    TGlowFadeMode Mode = fmIdle;

    // A tick that moved a value inside 0..100: the button repaints.
    std::function<void()> OnInvalidate;
    // A press fade that ran out downwards: the button is no longer pressed.
    std::function<void()> OnPressFadedOut;

    bool Running() const { return FTimer != nullptr; }
    // Makes the timer when there is none.
    void EnsureTimer();
    // Starts (or turns) a fade: the timer when none, the step and the mode.
    void Start(int step, TGlowFadeMode mode) {
        EnsureTimer();
        Step = step;
        Mode = mode;
    }
    // One expiry of the timer. The last one of a fade frees the timer.
    void Tick();
    void Stop() { FTimer.reset(); }

private:
    std::unique_ptr<IClockTimer> FTimer;
};

// ---- Hit zones -------------------------------------------------------------------

// A press at x, y hits the drop-down part (14 pixels at the right or the
// bottom).
bool DropDownPressHit(TDropDownPosition position, int x, int y, int width, int height);
// The mouse at x, y lights the drop-down part (12 pixels).
bool DropDownHotHit(TDropDownPosition position, int x, int y, int width, int height);
// Inside the client area for a release or a move while pressed: x in
// 0..width-1, y in 0..height (the bottom row below the client counts).
inline bool InsideForPress(int x, int y, int width, int height) {
    return x >= 0 && x <= width - 1 && y >= 0 && y <= height;
}

// ---- The look of a paint -------------------------------------------------------------

// What a paint reads of the button to choose its colours.
struct TGlowPaintInput {
    bool Enabled = true;
    bool ShowDisabled = true;
    int State = gsNormal;
    TLumButtonStyle Style = bsButton;
    bool Down = false;
    int GroupIndex = 0;
    bool Hot = false;
    bool Pressed = false;  // held down (mouse or key)
    bool Held = false;     // held with the mouse
    bool Transparent = false;
    bool FadeRunning = false;
    int GlowValue = 0;
    int PressValue = 0;
    TButtonPosition Position = bpStandalone;
    bool Focused = false;
    TFocusType FocusType = ftBorder;
};

// A focused button whose FocusType lights it, not held: drawn as if hot.
inline bool GlowFocusHot(const TGlowPaintInput& in) {
    return in.Focused && (in.FocusType == ftHot || in.FocusType == ftHotBorder) && !in.Pressed;
}
// The state a button rests in when no press holds it: a down bsCheck
// button pressed, a down group button checked-down, else normal.
inline int GlowRestingState(TLumButtonStyle style, bool down) {
    return !down ? gsNormal : style == bsCheck ? gsPressed : gsCheckedDown;
}
// The state a paint draws: disabled buttons 1; an enabled 1 becomes 4 when
// down in a group, else 0; a down bsCheck button 2.
int GlowPaintState(const TGlowPaintInput& in);
// The colours a paint draws with, for the state GlowPaintState gives: the
// disabled, down, checked, hot or normal set, blended while a fade runs.
TGlowColorSet ChooseGlowColors(const TGlowButtonAppearance& appearance, const TGlowPaintInput& in);

// ---- Sizes -------------------------------------------------------------------------

// The size of a button's content (picture and text together), with text
// size tw x th, picture size pw x ph and spacing s; notes are part of the
// text size.
TSize GlowContentSize(TButtonLayout layout, TSize text, TSize picture, int spacing);
// The size AutoSize gives a button with that content.
TSize GlowAutoSize(TSize content, int spacing, int marginHorz, int marginVert, bool dropDown,
                   TDropDownPosition dropDownPosition);

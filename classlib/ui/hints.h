// Hints: the small window of text that shows when the mouse rests on a
// control with ShowHint, and the rules of when it shows and hides.
//
// When the cursor comes to rest on a control that shows hints (the control
// under it or the nearest parent with ShowHint), the application waits
// HintPause, then sends the control CM_HINTSHOW with a THintInfo; the
// control may change the text, the colour, the position, the window class
// and the part of itself the hint is for (CursorRect), or refuse the hint.
// Then Application->OnShowHint may do the same. The hint window shows until
// HintHidePause has passed, the cursor leaves CursorRect or the control, a
// key or button is pressed, or Application->CancelHint() is called; leaving
// CursorRect within the control asks the control again after the pause
// (hints per tab, per link). The pauses run on the application's TTimer,
// that is on Clock(): a test steps them with a TManualClock.
#pragma once

#include "classlib/ui/controls.h"

// The window a hint shows in: borderless but for a thin frame, on top of
// everything, never active. A control may name a class of its own in
// THintInfo::HintWindowClass (a descendant with its own size, look or
// content, such as a title, notes and a picture read from HintData).
class THintWindow : public TCustomControl {
    QL_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);
    // The size the hint needs, as a rectangle at (0, 0), at most maxWidth
    // wide. data is the hint's HintData.
    virtual TRect CalcHintRect(int maxWidth, const String& hint, void* data);
    // Shows hint in rect (screen coordinates) without taking the focus.
    virtual void ActivateHint(TRect rect, const String& hint);
    // Keeps data (HintData() while the hint shows), then ActivateHint.
    virtual void ActivateHintData(TRect rect, const String& hint, void* data);
    // Hides the window.
    void ReleaseHandle();
    void* HintData() const { return FHintData; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void* FHintData = nullptr;

    // ---- Message handlers ----
    void WMNCHitTest(TMessage& message);
};

// ---- When a hint shows and hides ------------------------------------------
//
// The application keeps a THintState and moves it with the three steps
// below; each returns what to do with the hint window and the hint timer.
// They make no window calls, so the rules are tested by calling them.

enum THintTimerMode { htmNone, htmShow, htmHide };

struct THintState {
    // The control whose hint is awaited or shown (nullptr: none).
    TControl* Control = nullptr;
    // Control was asked for its hint since the cursor came to it; the
    // answer holds while the cursor stays in CursorRect (screen coordinates).
    bool Asked = false;
    TRect CursorRect;
    // The hint window shows.
    bool Active = false;
    // What the running hint timer leads to.
    THintTimerMode Timer = htmNone;
};

struct THintStep {
    // Hide the hint window.
    bool Hide = false;
    // Stop the hint timer and, unless the state's Timer is htmNone, start
    // it again with Interval milliseconds.
    bool RestartTimer = false;
    int Interval = 0;
    // Ask the state's Control for its hint now and show it (then report the
    // outcome with HintShownStep).
    bool Ask = false;
};

// The cursor is at pos (screen coordinates) over control, the control whose
// hint applies there (nullptr: none).
THintStep HintMouseStep(THintState& state, TControl* control, TPoint pos, int hintPause);
// The hint timer expired.
THintStep HintTimerStep(THintState& state);
// The control was asked: shown tells whether its hint now shows, cursorRect
// (screen coordinates) is the part of the control the answer is for, and
// hideTimeout the time it may show (0 or less: no limit).
THintStep HintShownStep(THintState& state, bool shown, TRect cursorRect, int hideTimeout);
// The hint is cancelled: hidden; the next mouse step starts a new pause.
THintStep HintCancelStep(THintState& state);

// The hover glow and click pulse of one pager tab, on the clock seam
// (classlib/core/clock.h). Each page owns one: the pager starts it when the
// mouse enters or leaves the tab or the tab is clicked, and the tab painter
// reads Position (hover, percent) and ClickPosition (click pulse). A hover
// climbs 0, 20, .., 100, holds at 120 while the cursor stays on the tab,
// and after it has left falls by 20 every 50 ms to -20, where the timer is
// freed.
//
//   TTabGlow glow(host);
//   glow.Start(+20, TTabGlow::gsHover, true);   // a 50 ms timer on Clock()
#pragma once

#include <memory>

#include "classlib/core/clock.h"

// What a glow step asks of the pager.
class ITabGlowHost {
public:
    virtual ~ITabGlowHost() = default;
    // Repaints the tab row.
    virtual void RepaintTabs() = 0;
    // True when the cursor is on this glow's tab.
    virtual bool CursorOnTab() = 0;
    // The pager forgets its hot tab (-1).
    virtual void ClearHotTab() = 0;
    // False for a page not in a pager (the full-glow check needs one).
    virtual bool HasPager() { return true; }
};

class TTabGlow {
public:
    enum TGlowState { gsHover = 0, gsClick = 1, gsIdle = 2 };
    static constexpr unsigned Interval = 50;

    explicit TTabGlow(ITabGlowHost& host) : FHost(host) {}

    int Step() const { return FStep; }
    int Position() const { return FPosition; }
    int ClickPosition() const { return FClickPosition; }
    int State() const { return FState; }
    bool Running() const { return FTimer != nullptr; }

    // Sets the step and mode; starts the timer when none runs and glow is
    // on (without glow only the step and mode change).
    void Start(int step, TGlowState state, bool glow);
    // Frees the timer (the page closes or goes away).
    void Stop() { FTimer.reset(); }
    // One timer step (public so a page without a clock can be stepped).
    void TimerStep();

private:
    void Finish();

    ITabGlowHost& FHost;
    std::unique_ptr<IClockTimer> FTimer;
    int FStep = 0;
    int FPosition = 0;
    int FClickPosition = 0;
    int FState = gsIdle;
};

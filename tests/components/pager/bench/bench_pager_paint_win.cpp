// Paint time of the office pager with three tabs, against the standard tab
// control that stood in its place, painted the same way (PaintTo into a
// 32-bit DIB): a full paint of the pager and its active page, then one
// hover step (the tab row repainted with a tab half way up its glow), and
// where the time of a full paint goes (the tab row, the active page).
//
//   bench_pager_paint.exe [paints]   (default 500) medians of 7 rounds, in microseconds a paint
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "classlib/core/clock.h"
#include "classlib/ui/comctrls.h"
#include "classlib/ui/forms.h"
#include "components/pager/lum_office_pager_win.h"
#include "tests/classlib/ui/support/bench_timing.h"
#include "tests/classlib/ui/support/paint_harness.h"
#include "tests/components/pager/pager_test_support_win.h"

namespace {

const char* const kCaptions[] = {"Editor Settings", "IDE Style", "Output Settings"};

}  // namespace

int main(int argc, char** argv) {
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    pager_test::StartUnits();
    SetCursorPos(1270, 1010);
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, 520, 560);
    const int w = 457, h = 238;

    auto* standard = new TPageControl(form);
    standard->SetParent(form);
    standard->SetBounds(0, 0, w, h);
    for (const char* caption : kCaptions) {
        auto* sheet = new TTabSheet(form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(standard);
    }
    standard->SetActivePageIndex(0);

    auto* pager = new TLumOfficePager(form);
    pager->SetParent(form);
    pager->SetBounds(0, 250, w, h);
    std::vector<TLumOfficePage*> pages;
    for (const char* caption : kCaptions) {
        auto* page = new TLumOfficePage(form);
        page->SetCaption(caption);
        page->SetPager(pager);
        pages.push_back(page);
    }
    pager->SetActivePageIndex(0);
    form->Show();

    TPaintTarget target(w, h);
    target.Paint(standard);
    target.Paint(pager);
    const double standardTime = MicrosecondsPer(paints, [&] { target.Paint(standard); });
    std::printf("one paint of a %d x %d page control with three tabs, %d paints, median of 7 rounds (us)\n", w, h,
                paints);
    std::printf("standard tab control            %8.1f\n", standardTime);
    auto report = [&](const char* what, double t) { std::printf("%-32s %8.1f  %5.1fx\n", what, t, t / standardTime); };
    report("office pager, full paint", MicrosecondsPer(paints, [&] { target.Paint(pager); }));

    // Where the time goes: the pager's own paint (tab row) and the page's.
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    report("  tab row only", MicrosecondsPer(paints, [&] { pager->PaintTabsTo(&canvas); }));
    report("  active page only", MicrosecondsPer(paints, [&] { target.Paint(pages[0]); }));

    // One hover step: the second tab half way up its glow, the row painted.
    TManualClock clock;
    TClockScope scope(clock);
    const TRect tab = pager->GetTabRect(1);
    pager->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
    clock.Advance(150);
    report("office pager, one hover step", MicrosecondsPer(paints, [&] { pager->PaintTabsTo(&canvas); }));
    canvas.SetHandle(nullptr);
    delete form;
    return 0;
}

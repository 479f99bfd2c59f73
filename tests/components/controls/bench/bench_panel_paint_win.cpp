// Paint time of a gradient panel with a caption, a shaded caption and text,
// against the standard panel that stood in its place, painted the same way
// (PaintTo into a 32-bit DIB), and how often the caption's shading is made:
// once per change, never per paint.
//
//   bench_panel_paint.exe [paints]   (default 2000) medians of 7 rounds, in microseconds a paint
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "classlib/ui/extctrls.h"
#include "classlib/ui/forms.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/lum_panel_win.h"
#include "components/controls/panels_unit_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "tests/classlib/ui/support/bench_timing.h"
#include "tests/classlib/ui/support/paint_harness.h"

int main(int argc, char** argv) {
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    ClasslibUiInitialize();
    FoundationInitialize();
    PanelsInitialize();
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, 500, 300);
    const int w = 465, h = 120;

    auto* standard = new TPanel(form);
    standard->SetParent(form);
    standard->SetBevelOuter(bvNone);
    standard->SetBounds(0, 0, w, h);

    auto* styler = new TLumPanelStyler(form);
    styler->SetStyle(TLumPanelStyle::psOffice2007Luna);
    auto* panel = new TLumPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 150, w, h);
    panel->SetStyler(styler);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText("<B>Advanced</B> settings");
    panel->Caption()->SetCloseButton(true);
    panel->Caption()->SetMinMaxButton(true);
    panel->SetText("Some body text with a <A href=\"x\">link</A> in it, long enough to wrap once or twice across the "
                   "panel's width.");

    TPaintTarget target(w, h);
    target.Paint(standard);
    target.Paint(panel);
    const double standardTime = MicrosecondsPer(paints, [&] { target.Paint(standard); });
    std::printf("one paint of a %d x %d panel, %d paints, median of 7 rounds (us)\n", w, h, paints);
    std::printf("standard panel                     %8.1f\n", standardTime);
    auto report = [&](const char* look) {
        const double t = MicrosecondsPer(paints, [&] { target.Paint(panel); });
        std::printf("gradient panel, %-19s %8.1f  %5.1fx\n", look, t, t / standardTime);
    };
    report("caption and text");
    const int before = panel->CaptionShadeBuilds();
    panel->Caption()->SetShadeType(stSoftBump);
    const int afterChange = panel->CaptionShadeBuilds();
    report("soft bump caption");
    std::printf("shading made by the change: %d time(s); by the %d paints: %d time(s)\n", afterChange - before,
                7 * paints, panel->CaptionShadeBuilds() - afterChange);
    panel->SetBuffered(false);
    report("not buffered");
    panel->SetBuffered(true);
    panel->SetText("");
    panel->Caption()->SetText("");
    report("no text");
    delete form;
    return 0;
}

// Repaint benchmark of the option controls (under Wine, not a test): the
// program's whole window, expanded, read from its stored layout, painted
// into a 32-bit DIB through the class library's paint path, against the
// same window with the standard controls in the option controls' places
// (TCheckBox, TRadioGroup, TGroupBox, TComboBox). Prints the median time of
// a repaint of each and their ratio, and whether a thousand repaints of the
// window with the option controls leave GDI objects behind.
//
//   build/win64/tests/components/controls/bench_option_controls.exe [repaints]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/program_units_win.h"
#include "classlib/ui/forms.h"
#include "object_tally.h"
#include "paint_harness.h"

namespace {

// The window's layout as a plain form's: no handlers to bind.
std::string PlainFormLayout(std::string text) {
    text = std::regex_replace(text, std::regex("object frmMain: TfrmMain"), "object frmMain: TForm");
    return std::regex_replace(text, std::regex(R"(\n *On[A-Za-z]+ = [A-Za-z_0-9]+\r?)"), "");
}

// The same layout with the standard controls in the option controls' places
// (a form of another name: both are the application's).
std::string StandInLayout(std::string text) {
    text = std::regex_replace(text, std::regex("object frmMain: TForm"), "object frmStandIns: TForm");
    const std::pair<const char*, const char*> classes[] = {{": TLumOfficeCheckBox\n", ": TCheckBox\n"},
                                                           {": TLumOfficeRadioGroup\n", ": TRadioGroup\n"},
                                                           {": TLumGroupBox\n", ": TGroupBox\n"},
                                                           {": TLumComboBox\n", ": TComboBox\n"}};
    for (const auto& [from, to] : classes)
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, strlen(from), to);
    return text;
}

// A path of the build machine as Wine sees it (its root is Z:).
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

TForm* MakeForm(const std::string& layout) {
    auto* form = new TForm(Application);
    form->ReadLayout(String(layout), "bench");
    return form;
}

double MedianRepaintMicroseconds(TForm* form, TPaintTarget& target, int repaints) {
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        target.Paint(form);
        GdiFlush();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    TUnitList units = ProgramUnits();
    units.InitializeAll();
    TObjectTally::CountGdiObjects();
    Application->Initialize();

    std::ifstream file(WindowsPath(QM_MAIN_LAYOUT), std::ios::binary);
    const std::string layout = PlainFormLayout(std::string(std::istreambuf_iterator<char>(file), {}));
    if (layout.empty()) {
        std::printf("cannot read %s\n", QM_MAIN_LAYOUT);
        return 1;
    }
    TForm* controls = MakeForm(layout);
    TForm* standIns = MakeForm(StandInLayout(layout));
    TPaintTarget target(controls->Width(), controls->Height(), clBlack);
    target.Paint(controls);
    target.Paint(standIns);

    // Alternating, so that both see the same machine.
    double withControls = 0, withStandIns = 0;
    for (int round = 0; round < 3; ++round) {
        withControls += MedianRepaintMicroseconds(controls, target, repaints);
        withStandIns += MedianRepaintMicroseconds(standIns, target, repaints);
    }
    std::printf("expanded window %dx%d, median of %d repaints, 3 rounds\n", controls->Width(), controls->Height(),
                repaints);
    std::printf("  option controls: %.0f us\n", withControls / 3);
    std::printf("  stand-ins:       %.0f us\n", withStandIns / 3);
    std::printf("  ratio:           %.2f\n", withControls / withStandIns);

    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) target.Paint(controls);
    std::printf("GDI objects left after 1000 repaints: %ld (%s)\n", balance.Leaked(okGdi), balance.Describe().c_str());

    delete standIns;
    delete controls;
    units.FinalizeAll();
    return 0;
}

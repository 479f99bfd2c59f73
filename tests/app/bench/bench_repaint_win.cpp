// Repaint time of the program's window against a bare Windows program's,
// in the same run: the time a helper process (this one) takes for
// RedrawWindow(invalidate, erase, all children, update now) of the whole
// window, first with the program's window collapsed, then expanded (after
// a click on its expand button, as the end-to-end driver makes it).
// Rounds alternate between the bare window and the program's.
//
//   bench_repaint.exe <quillmere.exe> <bare_window.exe> [rounds]
//   bench_repaint.exe <quillmere.exe> <bare_window.exe> --marks
//
// With --marks it repaints each window kMarkedRepaints times, between atoms
// added to the global atom table ("qm-mark-<what>-begin", "qm-mark-<what>-end"), and
// prints the thread ids of both programs: a Wine server trace
// (WINEDEBUG=+server) then shows what each repaint, and the program's
// start-up, asked of the server (scripts/bench-repaint.sh --server).
#include "tests/app/bench/bench_program_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using bench::Median;
using bench::Sync;
using bench::TProgram;

// Marks a moment in a server trace: the request adds the named atom.
void Mark(const std::string& what) {
    if (ATOM atom = GlobalAddAtomA(("qm-mark-" + what).c_str())) GlobalDeleteAtom(atom);
}

// Repaints between two marks (how often the program's own message loop
// paints beside the sent WM_PAINT varies from one repaint to the next).
constexpr int kMarkedRepaints = 5;

// The expand button is the one button without a caption (a glow button,
// or the standard button of older builds); a click of the mouse at its
// middle grows the window. False when it did not.
bool Expand(TProgram& program) {
    HWND button = program.FindChild("", "TLumGlowButton");
    if (!button) button = program.FindChild("", "TButton");
    if (!button) return false;
    const int before = program.Height();
    RECT r{};
    GetClientRect(button, &r);
    const LPARAM middle = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageTimeoutA(button, WM_LBUTTONDOWN, MK_LBUTTON, middle, SMTO_NORMAL, 10000, nullptr);
    SendMessageTimeoutA(button, WM_LBUTTONUP, 0, middle, SMTO_NORMAL, 10000, nullptr);
    Sync(program.Window());
    // Whatever the change of size left to paint is painted before timing.
    RedrawWindow(program.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return program.Height() > before;
}

int Run(const std::string& programExe, const std::string& bareExe, int rounds, bool marks) {
    TProgram bare(bareExe, bench::kBareCaption);
    if (!bare.Start()) {
        std::fprintf(stderr, "the bare window did not appear\n");
        return 1;
    }
    TProgram program(programExe, bench::kProgramCaption);
    if (marks) Mark("startup-begin");
    if (!program.Start()) {
        std::fprintf(stderr, "the program's window did not appear\n");
        return 1;
    }
    if (marks) Mark("startup-end");

    // The first repaints fill caches (fonts, brushes, the system's own).
    for (int i = 0; i < 3; ++i) {
        bare.Repaint();
        program.Repaint();
    }
    std::vector<double> bareTimes, collapsedTimes, expandedTimes;
    if (marks) {
        Mark("bare-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) bare.Repaint();
        Mark("bare-end");
        Mark("collapsed-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) program.Repaint();
        Mark("collapsed-end");
    } else {
        for (int i = 0; i < rounds; ++i) {
            bareTimes.push_back(bare.Repaint());
            collapsedTimes.push_back(program.Repaint());
        }
    }
    if (!Expand(program)) {
        std::fprintf(stderr, "the expand button did not expand the window\n");
        return 1;
    }
    for (int i = 0; i < 3; ++i) program.Repaint();
    if (marks) {
        Mark("expanded-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) program.Repaint();
        Mark("expanded-end");
        std::printf("repaints between marks %d\nbare window threads %s\nquillmere threads %s\n", kMarkedRepaints,
                    bare.ThreadIds().c_str(), program.ThreadIds().c_str());
        return 0;
    }
    for (int i = 0; i < rounds; ++i) {
        bareTimes.push_back(bare.Repaint());
        expandedTimes.push_back(program.Repaint());
    }

    const double b = Median(bareTimes), c = Median(collapsedTimes), e = Median(expandedTimes);
    std::printf("full repaint (RedrawWindow invalidate|erase|allchildren|updatenow), %d rounds, median (ms)\n", rounds);
    std::printf("%-22s %8.2f\n", "bare window", b * 1e3);
    std::printf("%-22s %8.2f  %6.1fx\n", "quillmere collapsed", c * 1e3, c / b);
    std::printf("%-22s %8.2f  %6.1fx\n", "quillmere expanded", e * 1e3, e / b);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_repaint <quillmere.exe> <bare_window.exe> [rounds | --marks]\n");
        return 2;
    }
    const bool marks = argc > 3 && std::strcmp(argv[3], "--marks") == 0;
    const int rounds = argc > 3 && !marks ? std::max(1, std::atoi(argv[3])) : 20;
    const bench::TBenchFolder folder("qm-bench-repaint");
    const std::string program = folder.CopyInProgram(argv[1]);
    const std::string bare = folder.CopyIn(argv[2], "Bare");
    const int rc = Run(program, bare, rounds, marks);
    return rc;
}

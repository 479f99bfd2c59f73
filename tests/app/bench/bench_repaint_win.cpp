// Repaint time of the program's window against a bare Windows program's
// and against the same-shape floor's (a bare program with the program's
// window tree, each window painting a plain fill), in the same run: the time
// a helper process (this one) takes for RedrawWindow(invalidate, erase, all
// children, update now) of the whole window, first with the program's
// window collapsed, then expanded (after a click on its expand button, as
// the end-to-end driver makes it; the floor has a process for each shape).
// Rounds alternate between the bare window, the floor and the program.
//
//   bench_repaint.exe <quillmere.exe> <bare_window.exe> <shape_floor.exe> [rounds]
//   bench_repaint.exe <quillmere.exe> <bare_window.exe> <shape_floor.exe> --marks
//   bench_repaint.exe <quillmere.exe> <bare_window.exe> <shape_floor.exe> --tree
//
// With --marks it repaints each window kMarkedRepaints times, between atoms
// added to the global atom table ("qm-mark-<what>-begin", "qm-mark-<what>-end"), and
// prints the thread ids of both programs: a Wine server trace
// (WINEDEBUG=+server) then shows what each repaint, and the program's
// start-up, asked of the server (scripts/bench-repaint.sh --server).
//
// With --tree it prints the program's window tree, collapsed and expanded,
// as the floor's table (tests/app/bench/shape_floor_tree.inc).
#include "tests/app/bench/bench_program_win.h"
#include "tests/app/bench/shape_floor_win.h"

#include <map>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

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

// The window tree of a top window: the top window first, then each child
// as EnumChildWindows gives them.
BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> Tree(HWND top) {
    std::vector<HWND> windows{top};
    EnumChildWindows(top, CollectWindow, LPARAM(&windows));
    return windows;
}

bench::TFloorPlace PlaceOf(HWND window) {
    bench::TFloorPlace place{DWORD(GetWindowLongPtrA(window, GWL_STYLE)), {}};
    GetWindowRect(window, &place.Bounds);
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place.Bounds), 2);
    else
        OffsetRect(&place.Bounds, -place.Bounds.left, -place.Bounds.top);
    return place;
}

void PrintPlace(const bench::TFloorPlace& p) {
    std::printf("{0x%08lx, {%ld, %ld, %ld, %ld}}", p.Style, p.Bounds.left, p.Bounds.top, p.Bounds.right,
                p.Bounds.bottom);
}

// Prints the floor's table of the program's window, collapsed and expanded.
int PrintTree(TProgram& program) {
    const std::vector<HWND> windows = Tree(program.Window());
    std::map<HWND, bench::TFloorPlace> collapsed;
    for (HWND w : windows) collapsed[w] = PlaceOf(w);
    if (!Expand(program)) {
        std::fprintf(stderr, "the expand button did not expand the window\n");
        return 1;
    }
    if (Tree(program.Window()).size() != windows.size())
        std::fprintf(stderr, "expanding the window changed the number of its windows\n");
    std::map<HWND, int> index;
    std::printf("// The program's main window and its %d child windows, written by\n"
                "// bench_repaint.exe --tree: parent, extended style, class style,\n"
                "// collapsed {style, bounds}, expanded {style, bounds}.\n",
                int(windows.size()) - 1);
    for (HWND w : windows) {
        const int parent = w == program.Window() ? -1 : index.at(GetAncestor(w, GA_PARENT));
        index[w] = int(index.size());
        std::printf("{%d, 0x%08lx, 0x%08lx, ", parent, DWORD(GetWindowLongPtrA(w, GWL_EXSTYLE)),
                    DWORD(GetClassLongPtrA(w, GCL_STYLE)));
        PrintPlace(collapsed[w]);
        std::printf(", ");
        PrintPlace(PlaceOf(w));
        std::printf("},\n");
    }
    return 0;
}

int Run(const std::string& programExe, const std::string& bareExe, const std::string& floorExe, int rounds, bool marks,
        bool tree) {
    TProgram bare(bareExe, bench::kBareCaption);
    TProgram floor(floorExe, bench::kFloorCaption), floorExpanded(floorExe, bench::kFloorCaption, "expanded");
    if (!tree && !(bare.Start() && floor.Start() && floorExpanded.Start())) {
        std::fprintf(stderr, "the bare window or the floor did not appear\n");
        return 1;
    }
    TProgram program(programExe, bench::kProgramCaption);
    if (marks) Mark("startup-begin");
    if (!program.Start()) {
        std::fprintf(stderr, "the program's window did not appear\n");
        return 1;
    }
    if (marks) Mark("startup-end");
    if (tree) return PrintTree(program);

    // The first repaints fill caches (fonts, brushes, the system's own).
    for (int i = 0; i < 3; ++i) {
        bare.Repaint();
        floor.Repaint();
        floorExpanded.Repaint();
        program.Repaint();
    }
    std::vector<double> bareTimes, floorTimes, collapsedTimes, bareTimes2, floorTimes2, expandedTimes;
    if (marks) {
        Mark("bare-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) bare.Repaint();
        Mark("bare-end");
        Mark("floor-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) floor.Repaint();
        Mark("floor-end");
        Mark("collapsed-begin");
        for (int i = 0; i < kMarkedRepaints; ++i) program.Repaint();
        Mark("collapsed-end");
    } else {
        for (int i = 0; i < rounds; ++i) {
            bareTimes.push_back(bare.Repaint());
            floorTimes.push_back(floor.Repaint());
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
        std::printf("repaints between marks %d\nbare window threads %s\nfloor threads %s\nquillmere threads %s\n",
                    kMarkedRepaints, bare.ThreadIds().c_str(), floor.ThreadIds().c_str(), program.ThreadIds().c_str());
        return 0;
    }
    for (int i = 0; i < rounds; ++i) {
        bareTimes2.push_back(bare.Repaint());
        floorTimes2.push_back(floorExpanded.Repaint());
        expandedTimes.push_back(program.Repaint());
    }

    std::printf("full repaint (RedrawWindow invalidate|erase|allchildren|updatenow), %d interleaved rounds each:\n"
                "median, range (ms); per-round ratios\n",
                rounds);
    bench::PrintRow("bare window", bareTimes);
    bench::PrintRow("floor collapsed", floorTimes, {{"bare", &bareTimes}});
    bench::PrintRow("quillmere collapsed", collapsedTimes, {{"bare", &bareTimes}, {"floor", &floorTimes}});
    bench::PrintRow("bare window", bareTimes2);
    bench::PrintRow("floor expanded", floorTimes2, {{"bare", &bareTimes2}});
    bench::PrintRow("quillmere expanded", expandedTimes, {{"bare", &bareTimes2}, {"floor", &floorTimes2}});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: bench_repaint <quillmere.exe> <bare_window.exe> <shape_floor.exe> [rounds | --marks | "
                     "--tree]\n");
        return 2;
    }
    const bool marks = argc > 4 && std::strcmp(argv[4], "--marks") == 0;
    const bool tree = argc > 4 && std::strcmp(argv[4], "--tree") == 0;
    const int rounds = argc > 4 && !marks && !tree ? std::max(1, std::atoi(argv[4])) : 20;
    const bench::TBenchFolder folder("qm-bench-repaint");
    const std::string program = folder.CopyInProgram(argv[1]);
    const std::string bare = folder.CopyIn(argv[2], "Bare");
    const std::string floor = folder.CopyIn(argv[3], "Floor");
    const int rc = Run(program, bare, floor, rounds, marks, tree);
    return rc;
}

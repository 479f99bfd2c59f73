// Start-up time of the program against a bare Windows program and against
// the same-shape floor (a bare program with the program's window tree, each
// window painting a plain fill), in the same run: from CreateProcess to the
// first moment the main window is visible and neither it nor any of its
// visible children waits for a paint. Each round starts the three once, in
// turn, from folders of their own (the program's with one layout and one
// colour scheme, and no "Settings.ini", so every run is a first run).
//
//   bench_startup.exe <quillmere.exe> <bare_window.exe> <shape_floor.exe> [rounds]
#include "tests/app/bench/bench_program_win.h"
#include "tests/app/bench/shape_floor_win.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Seconds from the start of the process to its first painted window; a
// negative value when none came within 30 s.
double TimeToFirstPaint(const std::string& exe, const char* caption) {
    bench::TProgram program(exe, caption);
    return program.Start() ? program.SecondsToFirstPaint() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_startup <quillmere.exe> <bare_window.exe> <shape_floor.exe> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 10;
    const bench::TBenchFolder folder("qm-bench-startup");
    const std::string program = folder.CopyInProgram(argv[1]);
    const std::string bare = folder.CopyIn(argv[2], "Bare");
    const std::string floor = folder.CopyIn(argv[3], "Floor");
    const std::string settings = folder.ProgramSettings();

    std::vector<double> programTimes, bareTimes, floorTimes;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(settings.c_str());
        const double b = TimeToFirstPaint(bare, bench::kBareCaption);
        const double f = TimeToFirstPaint(floor, bench::kFloorCaption);
        const double p = TimeToFirstPaint(program, bench::kProgramCaption);
        if (b < 0 || f < 0 || p < 0) {
            std::fprintf(stderr, "round %d: a window did not appear\n", i + 1);
            return 1;
        }
        bareTimes.push_back(b);
        floorTimes.push_back(f);
        programTimes.push_back(p);
    }

    std::printf("start-up to the first painted window, %d interleaved rounds: median, range (ms); per-round ratios\n",
                rounds);
    bench::PrintRow("bare window", bareTimes);
    bench::PrintRow("same-shape floor", floorTimes, {{"bare", &bareTimes}});
    bench::PrintRow("quillmere", programTimes, {{"bare", &bareTimes}, {"floor", &floorTimes}});
    return 0;
}

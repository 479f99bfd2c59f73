// Start-up time of the program against a bare Windows program and against
// the same-shape floor (a bare program with the program's window tree, each
// window painting a plain fill), in the same run: from CreateProcess to the
// first moment the main window is visible and neither it nor any of its
// visible children waits for a paint. Each round starts the three once, in
// turn, from folders of their own (the program's with one layout and one
// colour scheme, and no "Settings.ini", so every run is a first run).
// Then the private bytes and the peak working set of each right after its
// first paint.
//
//   bench_startup.exe <quillmere.exe> <bare_window.exe> <shape_floor.exe> [rounds]
#include "tests/app/bench/bench_program_win.h"
#include "tests/app/bench/shape_floor_win.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct TStart {
    double Seconds = -1;                          // to the first painted window; negative when none came within 30 s
    double PrivateBytes = 0, PeakWorkingSet = 0;  // right after that paint
};

TStart StartOnce(const std::string& exe, const char* caption) {
    bench::TProgram program(exe, caption);
    TStart s;
    if (program.Start()) {
        s.Seconds = program.SecondsToFirstPaint();
        if (!program.Memory(s.PrivateBytes, s.PeakWorkingSet))
            std::fprintf(stderr, "no memory figures for %s (error %lu)\n", exe.c_str(), GetLastError());
    }
    return s;
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
    std::vector<double> programPrivate, barePrivate, floorPrivate, programPeak, barePeak, floorPeak;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(settings.c_str());
        const TStart b = StartOnce(bare, bench::kBareCaption);
        const TStart f = StartOnce(floor, bench::kFloorCaption);
        const TStart p = StartOnce(program, bench::kProgramCaption);
        if (b.Seconds < 0 || f.Seconds < 0 || p.Seconds < 0) {
            std::fprintf(stderr, "round %d: a window did not appear\n", i + 1);
            return 1;
        }
        bareTimes.push_back(b.Seconds);
        floorTimes.push_back(f.Seconds);
        programTimes.push_back(p.Seconds);
        barePrivate.push_back(b.PrivateBytes);
        floorPrivate.push_back(f.PrivateBytes);
        programPrivate.push_back(p.PrivateBytes);
        barePeak.push_back(b.PeakWorkingSet);
        floorPeak.push_back(f.PeakWorkingSet);
        programPeak.push_back(p.PeakWorkingSet);
    }

    std::printf("start-up to the first painted window, %d interleaved rounds: median, range (ms); per-round ratios\n",
                rounds);
    bench::PrintRow("bare window", bareTimes);
    bench::PrintRow("same-shape floor", floorTimes, {{"bare", &bareTimes}});
    bench::PrintRow("quillmere", programTimes, {{"bare", &bareTimes}, {"floor", &floorTimes}});
    if (barePrivate.front() > 0) {
        const double mb = 1.0 / (1024 * 1024);
        std::printf("\nmemory right after the first paint: median, range (MB); per-round ratios\n");
        bench::PrintRow("bare, private", barePrivate, {}, mb);
        bench::PrintRow("floor, private", floorPrivate, {{"bare", &barePrivate}}, mb);
        bench::PrintRow("quillmere, private", programPrivate, {{"bare", &barePrivate}, {"floor", &floorPrivate}}, mb);
        bench::PrintRow("bare, peak set", barePeak, {}, mb);
        bench::PrintRow("floor, peak set", floorPeak, {{"bare", &barePeak}}, mb);
        bench::PrintRow("quillmere, peak set", programPeak, {{"bare", &barePeak}, {"floor", &floorPeak}}, mb);
    }
    return 0;
}

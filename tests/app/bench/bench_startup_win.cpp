// Start-up time of the program against a bare Windows program, in the
// same run: from CreateProcess to the first moment the main window is
// visible and neither it nor any of its visible children waits for a
// paint. Each round starts both once, in turn, from folders of their own
// (the program's with one layout and one colour scheme, and no
// "Settings.ini", so every run is a first run).
//
//   bench_startup.exe <quillmere.exe> <bare_window.exe> [rounds]
#include "tests/app/bench/bench_program_win.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct TSummary {
    double Min, Median, Max;
};

TSummary Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

// Seconds from the start of the process to its first painted window; a
// negative value when none came within 30 s.
double TimeToFirstPaint(const std::string& exe, const char* caption) {
    bench::TProgram program(exe, caption);
    return program.Start() ? program.SecondsToFirstPaint() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup <quillmere.exe> <bare_window.exe> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    const bench::TBenchFolder folder("qm-bench-startup");
    const std::string program = folder.CopyInProgram(argv[1]);
    const std::string bare = folder.CopyIn(argv[2], "Bare");
    const std::string settings = folder.ProgramSettings();

    std::vector<double> programTimes, bareTimes;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(settings.c_str());
        const double b = TimeToFirstPaint(bare, bench::kBareCaption);
        const double p = TimeToFirstPaint(program, bench::kProgramCaption);
        if (b < 0 || p < 0) {
            std::fprintf(stderr, "round %d: a window did not appear\n", i + 1);
            return 1;
        }
        bareTimes.push_back(b);
        programTimes.push_back(p);
    }

    const TSummary b = Summarise(bareTimes), p = Summarise(programTimes);
    std::printf("start-up to the first painted window, %d rounds (ms)\n", rounds);
    std::printf("%-12s %8s %8s %8s\n", "", "min", "median", "max");
    std::printf("%-12s %8.1f %8.1f %8.1f\n", "bare window", b.Min * 1e3, b.Median * 1e3, b.Max * 1e3);
    std::printf("%-12s %8.1f %8.1f %8.1f\n", "quillmere", p.Min * 1e3, p.Median * 1e3, p.Max * 1e3);
    std::printf("median ratio %.2fx, median difference %.1f ms\n", p.Median / b.Median, (p.Median - b.Median) * 1e3);
    return 0;
}

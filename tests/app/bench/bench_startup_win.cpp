// Start-up time of the program against a bare Windows program, in the
// same run: from CreateProcess to the first moment the main window is
// visible and neither it nor any of its visible children waits for a
// paint. Each round starts both once, in turn, from folders of their own
// (the program's with one layout and one colour scheme, and no
// "Settings.ini", so every run is a first run).
//
//   bench_startup.exe <quillmere.exe> <bare_window.exe> [rounds]
#include "classlib/os/win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

struct TFind {
    DWORD ProcessId;
    const char* Caption;
    HWND Found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM data) {
    auto* f = reinterpret_cast<TFind*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char text[256] = {};
    if (pid != f->ProcessId || !IsWindowVisible(window)) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (std::string(text) != f->Caption) return TRUE;
    f->Found = window;
    return FALSE;
}

BOOL CALLBACK PendingChildProc(HWND window, LPARAM data) {
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(data) = true;
        return FALSE;
    }
    return TRUE;
}

bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(window, &PendingChildProc, LPARAM(&pending));
    return !pending;
}

// Seconds from the start of the process to its first painted window; a
// negative value when none came within 30 s.
double TimeToFirstPaint(const std::string& exe, const char* caption) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    double seconds = -1;
    HWND window = nullptr;
    while (Now() - start < 30) {
        if (!window) {
            TFind f{process.dwProcessId, caption, nullptr};
            EnumWindows(&FindProc, LPARAM(&f));
            window = f.Found;
        }
        if (window && Painted(window)) {
            seconds = Now() - start;
            break;
        }
        Sleep(0);
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return seconds;
}

struct TSummary {
    double Min, Median, Max;
};

TSummary Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

std::string CopyInto(const std::string& exe, const std::string& folder) {
    std::filesystem::create_directories(folder);
    const std::string target = folder + "\\" + std::filesystem::path(exe).filename().string();
    CopyFileA(exe.c_str(), target.c_str(), FALSE);
    return target;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup <quillmere.exe> <bare_window.exe> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "qm-bench-startup-" + std::to_string(GetCurrentProcessId());
    const std::string program = CopyInto(argv[1], root + "\\Quillmere");
    const std::string bare = CopyInto(argv[2], root + "\\Bare");
    std::filesystem::create_directories(root + "\\Quillmere\\Layouts");
    std::filesystem::create_directories(root + "\\Quillmere\\Color Schemes");
    std::ofstream(root + "\\Quillmere\\Layouts\\Default.dat") << "layout";
    std::ofstream(root + "\\Quillmere\\Color Schemes\\Default.col") << "scheme";
    const std::string settings = root + "\\Quillmere\\Settings.ini";

    std::vector<double> programTimes, bareTimes;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(settings.c_str());
        const double b = TimeToFirstPaint(bare, "Bare window");
        const double p = TimeToFirstPaint(program, "Quillmere for zodozE compilers v1.50 by Brontall Software");
        if (b < 0 || p < 0) {
            std::fprintf(stderr, "round %d: a window did not appear\n", i + 1);
            return 1;
        }
        bareTimes.push_back(b);
        programTimes.push_back(p);
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);

    const TSummary b = Summarise(bareTimes), p = Summarise(programTimes);
    std::printf("start-up to the first painted window, %d rounds (ms)\n", rounds);
    std::printf("%-12s %8s %8s %8s\n", "", "min", "median", "max");
    std::printf("%-12s %8.1f %8.1f %8.1f\n", "bare window", b.Min * 1e3, b.Median * 1e3, b.Max * 1e3);
    std::printf("%-12s %8.1f %8.1f %8.1f\n", "quillmere", p.Min * 1e3, p.Median * 1e3, p.Max * 1e3);
    std::printf("median ratio %.2fx, median difference %.1f ms\n", p.Median / b.Median, (p.Median - b.Median) * 1e3);
    return 0;
}

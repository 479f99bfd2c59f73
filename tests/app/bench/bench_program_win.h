// What the start-up and repaint benchmarks share: a clock, a copy of the
// program in a folder of its own with a layout and a colour scheme, and a
// started program whose window is found by its caption and waited for
// until it is painted.
#pragma once

#include "classlib/os/win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include <psapi.h>
#include <tlhelp32.h>

namespace bench {

inline double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct TSummary {
    double Min, Median, Max;
};

inline TSummary Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

// Each round's a / b.
inline std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) r.push_back(a[i] / b[i]);
    return r;
}

// "name   median  min-max" of times in milliseconds (of values times
// scale), then of the ratios of each round to the references given, named.
inline void PrintRow(const char* name, const std::vector<double>& times,
                     std::initializer_list<std::pair<const char*, const std::vector<double>*>> references = {},
                     double scale = 1e3) {
    const TSummary t = Summarise(times);
    std::printf("%-20s %8.2f  %7.2f-%-7.2f", name, t.Median * scale, t.Min * scale, t.Max * scale);
    for (auto& [what, reference] : references) {
        const TSummary r = Summarise(Ratios(times, *reference));
        std::printf("  x %s %5.2f (%.2f-%.2f)", what, r.Median, r.Min, r.Max);
    }
    std::printf("\n");
}

// A folder under the temporary folder, removed with everything in it when
// the object goes: the programs are copied in, and the program's copy has
// one layout and one colour scheme beside it (and no "Settings.ini", so
// every run is a first run).
class TBenchFolder {
public:
    explicit TBenchFolder(const char* name) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        FRoot = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    }
    ~TBenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FRoot, ec);
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    // Copies exe into a sub-folder of its own and gives the copy's path.
    std::string CopyIn(const std::string& exe, const std::string& folder) const {
        const std::string target = FRoot + "\\" + folder;
        std::filesystem::create_directories(target);
        const std::string copy = target + "\\" + std::filesystem::path(exe).filename().string();
        CopyFileA(exe.c_str(), copy.c_str(), FALSE);
        return copy;
    }
    // The program's copy, with a layout and a colour scheme beside it.
    std::string CopyInProgram(const std::string& exe) const {
        const std::string copy = CopyIn(exe, "Quillmere");
        std::filesystem::create_directories(FRoot + "\\Quillmere\\Layouts");
        std::filesystem::create_directories(FRoot + "\\Quillmere\\Color Schemes");
        std::ofstream(FRoot + "\\Quillmere\\Layouts\\Default.dat") << "layout";
        std::ofstream(FRoot + "\\Quillmere\\Color Schemes\\Default.col") << "scheme";
        return copy;
    }
    std::string ProgramSettings() const { return FRoot + "\\Quillmere\\Settings.ini"; }

private:
    std::string FRoot;
};

constexpr const char* kProgramCaption = "Quillmere for zodozE compilers v1.50 by Brontall Software";
constexpr const char* kBareCaption = "Bare window";

// Waits until the window's thread has handled everything sent so far.
inline void Sync(HWND window) { SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr); }

// A program started from its own folder; closed (and, if need be, ended)
// when the object goes.
class TProgram {
public:
    // arguments: what the command line holds after the program's name.
    TProgram(std::string exe, const char* caption, std::string arguments = {})
        : FExe(std::move(exe)), FCaption(caption), FArguments(std::move(arguments)) {}
    ~TProgram() {
        if (!FProcess.hProcess) return;
        if (FWindow) PostMessageA(FWindow, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(FProcess.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(FProcess.hProcess, 1);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Starts the program and waits (up to 30 s) until its window is visible
    // and neither it nor any of its visible children waits for a paint.
    bool Start() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + FExe + "\"";
        if (!FArguments.empty()) commandLine += " " + FArguments;
        const std::string folder = FExe.substr(0, FExe.find_last_of('\\'));
        const double start = Now();
        if (!CreateProcessA(FExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &FProcess))
            return false;
        while (Now() - start < 30) {
            if (!FWindow) {
                TFind f{FProcess.dwProcessId, FCaption, nullptr, nullptr};
                EnumWindows(&FindTopProc, LPARAM(&f));
                FWindow = f.Found;
            }
            if (FWindow && Painted(FWindow)) {
                FSecondsToFirstPaint = Now() - start;
                Sync(FWindow);
                return true;
            }
            Sleep(0);
        }
        return false;
    }

    // The running program's private bytes and peak working set, in bytes;
    // false when the system does not tell.
    bool Memory(double& privateBytes, double& peakWorkingSet) const {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (!K32GetProcessMemoryInfo(FProcess.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                     sizeof counters))
            return false;
        // The commit charge (PagefileUsage) is the private memory too, where
        // PrivateUsage is not filled in.
        privateBytes = double(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
        peakWorkingSet = double(counters.PeakWorkingSetSize);
        return true;
    }

    // From CreateProcess to the first painted window, after Start.
    double SecondsToFirstPaint() const { return FSecondsToFirstPaint; }
    HWND Window() const { return FWindow; }

    // Seconds one full repaint of the window takes.
    double Repaint() const {
        const double start = Now();
        RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return Now() - start;
    }

    int Height() const {
        RECT r{};
        GetWindowRect(FWindow, &r);
        return r.bottom - r.top;
    }

    HWND FindChild(const char* text, const char* className) const {
        TFind f{0, text, className, nullptr};
        EnumChildWindows(FWindow, &FindChildProc, LPARAM(&f));
        return f.Found;
    }

    // The ids of the process's threads, as a server trace shows them.
    std::string ThreadIds() const {
        std::string ids;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return ids;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
            if (entry.th32OwnerProcessID != FProcess.dwProcessId) continue;
            char id[16];
            std::snprintf(id, sizeof id, "%s%04lx", ids.empty() ? "" : ",", entry.th32ThreadID);
            ids += id;
        }
        CloseHandle(snapshot);
        return ids;
    }

private:
    struct TFind {
        DWORD ProcessId;
        const char* Caption;
        const char* ClassName;
        HWND Found;
    };

    static bool Matches(HWND window, const TFind& f, bool child) {
        char text[256] = {};
        if (f.ClassName) {
            GetClassNameA(window, text, sizeof text);
            if (std::strcmp(text, f.ClassName) != 0) return false;
        }
        text[0] = '\0';
        if (child)  // GetWindowText does not ask a control of another process
            SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
        else  // the caption the system keeps, without a message to a program still starting
            GetWindowTextA(window, text, sizeof text);
        return std::strcmp(text, f.Caption) == 0;
    }

    static BOOL CALLBACK FindTopProc(HWND window, LPARAM data) {
        auto* f = reinterpret_cast<TFind*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != f->ProcessId || !IsWindowVisible(window) || !Matches(window, *f, false)) return TRUE;
        f->Found = window;
        return FALSE;
    }

    static BOOL CALLBACK FindChildProc(HWND window, LPARAM data) {
        auto* f = reinterpret_cast<TFind*>(data);
        if (!Matches(window, *f, true)) return TRUE;
        f->Found = window;
        return FALSE;
    }

    static BOOL CALLBACK PendingChildProc(HWND window, LPARAM data) {
        if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
            *reinterpret_cast<bool*>(data) = true;
            return FALSE;
        }
        return TRUE;
    }

    static bool Painted(HWND window) {
        if (GetUpdateRect(window, nullptr, FALSE)) return false;
        bool pending = false;
        EnumChildWindows(window, &PendingChildProc, LPARAM(&pending));
        return !pending;
    }

    std::string FExe;
    const char* FCaption;
    std::string FArguments;
    PROCESS_INFORMATION FProcess{};
    HWND FWindow = nullptr;
    double FSecondsToFirstPaint = -1;
};

}  // namespace bench

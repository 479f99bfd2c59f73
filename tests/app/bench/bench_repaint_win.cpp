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
#include "classlib/os/win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <tlhelp32.h>

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
    const char* ClassName;
    HWND Found;
};

bool Matches(HWND window, const TFind& f) {
    char text[256] = {};
    if (f.ClassName) {
        GetClassNameA(window, text, sizeof text);
        if (std::strcmp(text, f.ClassName) != 0) return false;
    }
    // WM_GETTEXT: GetWindowText does not ask a control of another process.
    text[0] = '\0';
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return std::strcmp(text, f.Caption) == 0;
}

BOOL CALLBACK FindTopProc(HWND window, LPARAM data) {
    auto* f = reinterpret_cast<TFind*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != f->ProcessId || !IsWindowVisible(window) || !Matches(window, *f)) return TRUE;
    f->Found = window;
    return FALSE;
}

BOOL CALLBACK FindChildProc(HWND window, LPARAM data) {
    auto* f = reinterpret_cast<TFind*>(data);
    if (!Matches(window, *f)) return TRUE;
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

// Waits until the window's thread has handled everything sent so far.
void Sync(HWND window) { SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr); }

// Marks a moment in a server trace: the request adds the named atom.
void Mark(const std::string& what) {
    if (ATOM atom = GlobalAddAtomA(("qm-mark-" + what).c_str())) GlobalDeleteAtom(atom);
}

class TProgram {
public:
    TProgram(std::string exe, const char* caption) : FExe(std::move(exe)), FCaption(caption) {}
    ~TProgram() {
        if (!FProcess.hProcess) return;
        if (FWindow) PostMessageA(FWindow, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(FProcess.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(FProcess.hProcess, 1);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Starts the program and waits (up to 30 s) for its window to be shown
    // and painted.
    bool Start() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + FExe + "\"";
        const std::string folder = FExe.substr(0, FExe.find_last_of('\\'));
        if (!CreateProcessA(FExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &FProcess))
            return false;
        const double start = Now();
        while (Now() - start < 30) {
            if (!FWindow) {
                TFind f{FProcess.dwProcessId, FCaption, nullptr, nullptr};
                EnumWindows(&FindTopProc, LPARAM(&f));
                FWindow = f.Found;
            }
            if (FWindow && Painted(FWindow)) {
                Sync(FWindow);
                return true;
            }
            Sleep(1);
        }
        return false;
    }

    HWND Window() const { return FWindow; }
    DWORD ProcessId() const { return FProcess.dwProcessId; }

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
    std::string FExe;
    const char* FCaption;
    PROCESS_INFORMATION FProcess{};
    HWND FWindow = nullptr;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string CopyInto(const std::string& exe, const std::string& folder) {
    std::filesystem::create_directories(folder);
    const std::string target = folder + "\\" + std::filesystem::path(exe).filename().string();
    CopyFileA(exe.c_str(), target.c_str(), FALSE);
    return target;
}

// Repaints between two marks (how often the program's own message loop
// paints beside the sent WM_PAINT varies from one repaint to the next).
constexpr int kMarkedRepaints = 5;

constexpr const char* kCaption = "Quillmere for zodozE compilers v1.50 by Brontall Software";

// The expand button is the one button without a caption; a click on it
// grows the window. False when it did not.
bool Expand(TProgram& program) {
    HWND button = program.FindChild("", "TButton");
    if (!button) return false;
    const int before = program.Height();
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, nullptr);
    Sync(program.Window());
    // Whatever the change of size left to paint is painted before timing.
    RedrawWindow(program.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return program.Height() > before;
}

int Run(const std::string& programExe, const std::string& bareExe, int rounds, bool marks) {
    TProgram bare(bareExe, "Bare window");
    if (!bare.Start()) {
        std::fprintf(stderr, "the bare window did not appear\n");
        return 1;
    }
    TProgram program(programExe, kCaption);
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
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "qm-bench-repaint-" + std::to_string(GetCurrentProcessId());
    const std::string program = CopyInto(argv[1], root + "\\Quillmere");
    const std::string bare = CopyInto(argv[2], root + "\\Bare");
    std::filesystem::create_directories(root + "\\Quillmere\\Layouts");
    std::filesystem::create_directories(root + "\\Quillmere\\Color Schemes");
    std::ofstream(root + "\\Quillmere\\Layouts\\Default.dat") << "layout";
    std::ofstream(root + "\\Quillmere\\Color Schemes\\Default.col") << "scheme";
    const int rc = Run(program, bare, rounds, marks);
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return rc;
}

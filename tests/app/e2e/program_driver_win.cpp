#include "program_driver_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "classlib/ui/gdi_helpers.h"
#include "imaging/png/png_object_win.h"

namespace {

// The static control that holds a message box's text.
constexpr int kBoxTextId = 0xFFFF;

struct TSearch {
    DWORD ProcessId = 0;
    const std::string* Text = nullptr;
    const char* ClassName = nullptr;
    HWND Found = nullptr;
};

bool Matches(HWND window, const TSearch& s) {
    if (s.ClassName && TProgramDriver::ClassOf(window) != s.ClassName) return false;
    return !s.Text || TProgramDriver::Text(window) == *s.Text;
}

BOOL CALLBACK FindChildProc(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<TSearch*>(data);
    if (!Matches(window, *s)) return TRUE;
    s->Found = window;
    return FALSE;
}

BOOL CALLBACK FindTopProc(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<TSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->ProcessId || !IsWindowVisible(window) || !Matches(window, *s)) return TRUE;
    s->Found = window;
    return FALSE;
}

HWND FindTop(DWORD processId, const std::string* text, const char* className) {
    TSearch s{processId, text, className, nullptr};
    EnumWindows(&FindTopProc, LPARAM(&s));
    return s.Found;
}

struct TOthers {
    DWORD ProcessId;
    std::set<HWND> Windows;
};

BOOL CALLBACK OthersProc(HWND window, LPARAM data) {
    auto* o = reinterpret_cast<TOthers*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != o->ProcessId && pid != GetCurrentProcessId() && IsWindowVisible(window)) o->Windows.insert(window);
    return TRUE;
}

}  // namespace

std::set<HWND> TProgramDriver::OtherWindows(DWORD processId) {
    TOthers o{processId, {}};
    EnumWindows(&OthersProc, LPARAM(&o));
    return o.Windows;
}

TProgramDriver::TProgramDriver(std::string exe) : FExe(std::move(exe)) {}

TProgramDriver::~TProgramDriver() {
    if (Running()) TerminateProcess(FProcess.hProcess, 1);
    if (FProcess.hProcess) {
        WaitForSingleObject(FProcess.hProcess, 5000);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
    }
}

std::string TProgramDriver::Text(HWND window) {
    // WM_GETTEXT, not GetWindowText: the latter does not ask a window of
    // another process for the text of a control.
    char buffer[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, LPARAM(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

std::string TProgramDriver::ClassOf(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

bool TProgramDriver::Start(const std::string& caption, DWORD timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const std::string folder = FExe.substr(0, FExe.find_last_of('\\'));
    std::string commandLine = "\"" + FExe + "\"";
    if (!CreateProcessA(FExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &FProcess))
        return false;
    WaitForInputIdle(FProcess.hProcess, timeoutMs);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && Running()) {
        if ((FWindow = FindTop(FProcess.dwProcessId, &caption, nullptr))) {
            Sync();
            return true;
        }
        Sleep(20);
    }
    return false;
}

bool TProgramDriver::Running() const {
    return FProcess.hProcess && WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT;
}

void TProgramDriver::Sync() const {
    if (FWindow) SendMessageTimeoutA(FWindow, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
}

HWND TProgramDriver::Find(const std::string& text, const char* className, HWND parent) const {
    TSearch s{0, &text, className, nullptr};
    EnumChildWindows(parent ? parent : FWindow, &FindChildProc, LPARAM(&s));
    return s.Found;
}

HWND TProgramDriver::FindClass(const char* className, HWND parent) const {
    TSearch s{0, nullptr, className, nullptr};
    EnumChildWindows(parent ? parent : FWindow, &FindChildProc, LPARAM(&s));
    return s.Found;
}

HWND TProgramDriver::Need(const std::string& text, const char* className, HWND parent) const {
    HWND window = Find(text, className, parent);
    EXPECT_NE(window, nullptr) << "no control \"" << text << "\"" << (className ? " of class " : "")
                               << (className ? className : "");
    return window;
}

void TProgramDriver::Click(HWND button) const {
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, nullptr);
    Sync();
}

HWND TProgramDriver::FindBox() const { return FindTop(FProcess.dwProcessId, nullptr, "#32770"); }

std::string TProgramDriver::AnswerBox(HWND box) {
    const std::string text = Text(GetDlgItem(box, kBoxTextId));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 5000) Sleep(10);
    return text;
}

std::vector<std::string> TProgramDriver::ClickAndAnswer(HWND button, DWORD timeoutMs, DWORD settleMs) {
    // Posted: the click's handler does not return before its boxes close.
    PostMessageA(button, BM_CLICK, 0, 0);
    std::vector<std::string> texts;
    DWORD wait = timeoutMs;
    for (;;) {
        HWND box = nullptr;
        const DWORD start = GetTickCount();
        while (!(box = FindBox()) && GetTickCount() - start < wait && Running()) Sleep(10);
        if (!box) break;
        texts.push_back(AnswerBox(box));
        wait = settleMs;
    }
    Sync();
    return texts;
}

std::vector<std::string> TProgramDriver::AnswerBoxes() {
    std::vector<std::string> texts;
    while (HWND box = FindBox()) texts.push_back(AnswerBox(box));
    return texts;
}

bool TProgramDriver::Choose(HWND comboBox, const std::string& item) {
    // Focus moves only within one input state: join the program's for the
    // moment of the move.
    const DWORD programThread = GetWindowThreadProcessId(comboBox, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    AttachThreadInput(ownThread, programThread, TRUE);
    SetForegroundWindow(FWindow);
    SetFocus(comboBox);
    AttachThreadInput(ownThread, programThread, FALSE);
    Sync();
    DWORD_PTR index = DWORD_PTR(CB_ERR);
    SendMessageTimeoutA(comboBox, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(item.c_str()), SMTO_NORMAL, 5000, &index);
    if (LRESULT(index) == CB_ERR) return false;
    SendMessageTimeoutA(comboBox, CB_SETCURSEL, WPARAM(index), 0, SMTO_NORMAL, 5000, nullptr);
    SendMessageTimeoutA(GetParent(comboBox), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(comboBox), CBN_SELCHANGE),
                        LPARAM(comboBox), SMTO_NORMAL, 5000, nullptr);
    Sync();
    return true;
}

void TProgramDriver::SelectTab(HWND tabControl, int index) const {
    // In a tab control of single selection, moving the focus to a tab
    // selects it with the notifications a click sends.
    SendMessageTimeoutA(tabControl, TCM_SETCURFOCUS, WPARAM(index), 0, SMTO_NORMAL, 5000, nullptr);
    Sync();
}

void TProgramDriver::MoveTo(int left, int top) const {
    SetWindowPos(FWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sync();
}

DWORD TProgramDriver::Close(DWORD timeoutMs) {
    PostMessageA(FWindow, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(FProcess.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(FProcess.hProcess, &code);
    else
        TerminateProcess(FProcess.hProcess, 1);
    FWindow = nullptr;
    return code;
}

bool TProgramDriver::Screenshot(const std::string& fileName) const {
    // What the screen shows: bring the window to the top and let it paint.
    SetWindowPos(FWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sync();
    Sleep(300);
    RECT r{};
    GetWindowRect(FWindow, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HBITMAP bitmap = nullptr;
    {
        TScreenDC screen;
        HDC memory = CreateCompatibleDC(screen.Handle());
        bitmap = CreateCompatibleBitmap(screen.Handle(), width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen.Handle(), r.left, r.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    bool saved = false;
    try {
        TPNGObject png;
        png.AssignBitmapHandle(bitmap, false, 0);
        png.SaveToFile(fileName);
        saved = true;
    } catch (...) {}
    DeleteObject(bitmap);
    return saved;
}

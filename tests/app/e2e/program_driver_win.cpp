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

void TProgramDriver::BringToFront(HWND control) const {
    HWND top = GetAncestor(control, GA_ROOT);
    if (GetForegroundWindow() == top) return;
    // The foreground moves only within one input state: join the
    // program's for the moment of the move.
    const DWORD programThread = GetWindowThreadProcessId(top, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    AttachThreadInput(ownThread, programThread, TRUE);
    SetForegroundWindow(top);
    AttachThreadInput(ownThread, programThread, FALSE);
    Sync();
}

void TProgramDriver::SendClick(HWND window, POINT point) const {
    BringToFront(window);
    ClientToScreen(window, &point);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width - 1);
        input.mi.dy = MulDiv(point.y, 65535, height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    // The move first, on its own, so the control under the cursor has
    // seen the mouse come in before the button goes down.
    SendInput(1, &inputs[0], sizeof(INPUT));
    Settle();
    SendInput(2, &inputs[1], sizeof(INPUT));
}

void TProgramDriver::ClickAt(HWND window, POINT point) const {
    SendClick(window, point);
    Settle();
}

void TProgramDriver::Click(HWND control) const {
    RECT r{};
    GetClientRect(control, &r);
    ClickAt(control, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void TProgramDriver::HoverOver(HWND control) const {
    BringToFront(control);
    RECT r{};
    GetClientRect(control, &r);
    POINT point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(control, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
    Settle();
}

void TProgramDriver::LeftButton(bool down) const {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(INPUT));
    Settle();
}

void TProgramDriver::Press(WORD virtualKey) const {
    BringToFront(FWindow);
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = WORD(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Settle();
}

void TProgramDriver::Settle() const {
    // Each round trip returns when the program's thread next looks at its
    // queue; the queued input is taken between them.
    for (int i = 0; i < 4; ++i) {
        Sleep(15);
        Sync();
    }
}

HWND TProgramDriver::FindBox() const { return FindTop(FProcess.dwProcessId, nullptr, "#32770"); }

std::string TProgramDriver::AnswerBox(HWND box) {
    const std::string text = Text(GetDlgItem(box, kBoxTextId));
    HWND ok = GetDlgItem(box, IDOK);
    RECT r{};
    GetClientRect(ok, &r);
    SendClick(ok, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    const DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 5000) Sleep(10);
    return text;
}

std::vector<std::string> TProgramDriver::ClickAndAnswer(HWND control, DWORD timeoutMs, DWORD settleMs) {
    // The click's handler does not return before its boxes close: only
    // send the click, then wait for the boxes.
    RECT r{};
    GetClientRect(control, &r);
    SendClick(control, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
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
    Settle();
    return texts;
}

std::vector<std::string> TProgramDriver::AnswerBoxes() {
    std::vector<std::string> texts;
    while (HWND box = FindBox()) texts.push_back(AnswerBox(box));
    return texts;
}

bool TProgramDriver::Choose(HWND comboBox, const std::string& item) {
    Click(comboBox);
    Press(VK_ESCAPE);
    Press(VK_HOME);
    // Down until the list shows the item, or until it no longer moves.
    std::string shown = Text(comboBox);
    for (int i = 0; i < 256 && shown != item; ++i) {
        Press(VK_DOWN);
        const std::string next = Text(comboBox);
        if (next == shown) break;
        shown = next;
    }
    return shown == item;
}

RECT TProgramDriver::PagerTabPlace(const std::vector<std::string>& captions, int index) {
    HDC dc = GetDC(nullptr);
    HFONT font =
        CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    RECT place{};
    int left = 5;
    for (int i = 0; i <= index && i < int(captions.size()); ++i) {
        SIZE size{};
        GetTextExtentPoint32A(dc, captions[size_t(i)].data(), int(captions[size_t(i)].size()), &size);
        const int width = size.cx + 11;
        place = RECT{left, 4, left + width, 30};
        left += width + 4;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return place;
}

void TProgramDriver::SelectTab(HWND pager, const std::vector<std::string>& captions, int index) const {
    const RECT tab = PagerTabPlace(captions, index);
    EXPECT_GT(tab.right, tab.left) << "no tab " << index;
    ClickAt(pager, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
}

void TProgramDriver::PressWith(std::initializer_list<WORD> modifiers, WORD virtualKey) const {
    BringToFront(FWindow);
    std::vector<INPUT> inputs;
    auto key = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = WORD(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD m : modifiers) key(m, false);
    key(virtualKey, false);
    key(virtualKey, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) key(*it, true);
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    Settle();
}

std::string TProgramDriver::VisiblePage(HWND pageControl) {
    for (HWND child = GetWindow(pageControl, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) return Text(child);
    return {};
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

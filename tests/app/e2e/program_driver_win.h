// Drives the real quillmere.exe from another process, as a user would:
// it starts the program, finds its window by the caption, finds controls
// by their text and window class, clicks them with the mouse at their
// place and presses keys (real input through SendInput, to the window in
// front), answers the message boxes (standard "#32770" dialogs, whose
// text is the static control 0xFFFF) by clicking their OK button, and
// closes the window. It sends the program's controls no message that only
// a standard control understands, so it works the same whatever class
// stands behind a control. Nothing here links the program's own code.
#pragma once

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "classlib/os/win.h"

class TProgramDriver {
public:
    // exe: the program as it lies in its folder (the folder is its own:
    // it reads "Layouts", "Color Schemes" and "Settings.ini" there).
    explicit TProgramDriver(std::string exe);
    ~TProgramDriver();
    TProgramDriver(const TProgramDriver&) = delete;
    TProgramDriver& operator=(const TProgramDriver&) = delete;

    // Starts the program and waits (up to the timeout) for its main window
    // to be visible with the caption; false when it did not come.
    bool Start(const std::string& caption, DWORD timeoutMs = 20000);
    HWND Window() const { return FWindow; }
    DWORD ProcessId() const { return FProcess.dwProcessId; }
    bool Running() const;

    // The first window below parent (the main window when null) whose text
    // is text, of the window class className when one is given; null when
    // there is none.
    HWND Find(const std::string& text, const char* className = nullptr, HWND parent = nullptr) const;
    // The first window of the class below parent, in the system's order.
    HWND FindClass(const char* className, HWND parent) const;
    // Find that fails the test when the control is missing.
    HWND Need(const std::string& text, const char* className = nullptr, HWND parent = nullptr) const;

    // A left click at the middle of the control, which the program handles
    // without a message box: it has been handled when this returns.
    void Click(HWND control) const;
    // A left click at a point of the window's client area.
    void ClickAt(HWND window, POINT point) const;
    // The real cursor moved to the middle of the control (hovering it), and
    // the left button pressed or released where the cursor is; each has
    // been handled when it returns.
    void HoverOver(HWND control) const;
    void LeftButton(bool down) const;
    // A key pressed and released while the program's window is in front.
    void Press(WORD virtualKey) const;
    // A click that ends in message boxes: answers each with OK and returns
    // their texts, in order. It waits up to timeoutMs for the first box and
    // then settleMs for each further one.
    std::vector<std::string> ClickAndAnswer(HWND control, DWORD timeoutMs = 10000, DWORD settleMs = 700);
    // Chooses the item with the text in a drop-down list as a user does
    // with mouse and keys: a click into the list (the program sees its
    // control entered and may fill it anew), Escape to close what the
    // click dropped down, Home, then Down until the list shows the item.
    // False when the list has no such item.
    bool Choose(HWND comboBox, const std::string& item);
    // A key pressed and released while modifiers (VK_CONTROL, VK_SHIFT)
    // are held down.
    void PressWith(std::initializer_list<WORD> modifiers, WORD virtualKey) const;
    // Where the office pager shows the tab of captions[index], found as a
    // user finds it: the tabs run along the top from 5 pixels in, each as
    // wide as its caption in the tab font (Tahoma 8) plus 11 pixels of
    // margins and frame, 4 pixels apart, 26 high from 4 pixels down.
    static RECT PagerTabPlace(const std::vector<std::string>& captions, int index);
    // Selects a tab of the office pager with a click at the tab's place.
    void SelectTab(HWND pager, const std::vector<std::string>& captions, int index) const;
    // The text of the visible page among the children of a page control.
    static std::string VisiblePage(HWND pageControl);
    // Moves the main window; the size stays.
    void MoveTo(int left, int top) const;

    // Answers every message box that is showing; returns their texts.
    std::vector<std::string> AnswerBoxes();
    // Asks the window to close and waits for the process to end; its exit
    // code, or STILL_ACTIVE when it did not end in time (it is then
    // killed).
    DWORD Close(DWORD timeoutMs = 15000);

    // Saves a picture of the main window as it is on the screen (PNG).
    bool Screenshot(const std::string& fileName) const;

    // Waits until the program's thread has handled everything sent so far.
    void Sync() const;
    // Waits until the program has handled the input given so far: input
    // is queued behind the messages sent to the program, so this lets its
    // thread come back to its message loop a few times.
    void Settle() const;

    // The visible top-level windows of every other process.
    static std::set<HWND> OtherWindows(DWORD processId);

    static std::string Text(HWND window);
    static std::string ClassOf(HWND window);

private:
    // The visible message box of the process, or null.
    HWND FindBox() const;
    // Brings the top-level window of the control to the front, so real
    // input goes to the program.
    void BringToFront(HWND control) const;
    void SendClick(HWND window, POINT point) const;
    std::string AnswerBox(HWND box);

    std::string FExe;
    PROCESS_INFORMATION FProcess{};
    HWND FWindow = nullptr;
};

// The program's window caption.
inline constexpr const char* kMainCaption = "Quillmere for zodozE compilers v1.50 by Brontall Software";

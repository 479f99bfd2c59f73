// Drives the real quillmere.exe from another process, as a user would:
// it starts the program, finds its window by the caption, finds controls
// by their text, clicks, chooses list items, answers the message boxes
// (standard "#32770" dialogs, whose text is the static control 0xFFFF)
// and closes the window. Nothing here links the program's own code.
#pragma once

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

    // A click the program handles without a message box: it has been
    // handled when this returns.
    void Click(HWND button) const;
    // A click that ends in message boxes: answers each with OK and returns
    // their texts, in order. It waits up to timeoutMs for the first box and
    // then settleMs for each further one.
    std::vector<std::string> ClickAndAnswer(HWND button, DWORD timeoutMs = 10000, DWORD settleMs = 700);
    // Gives the list the keyboard focus as a click into it would (the
    // program sees its control entered), then makes the item with the text
    // the selection and tells the list's parent; false when the list has
    // no such item.
    bool Choose(HWND comboBox, const std::string& item);
    // Selects a tab of a tab control as a click on it would.
    void SelectTab(HWND tabControl, int index) const;
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

    // The visible top-level windows of every other process.
    static std::set<HWND> OtherWindows(DWORD processId);

    static std::string Text(HWND window);
    static std::string ClassOf(HWND window);

private:
    // The visible message box of the process, or null.
    HWND FindBox() const;
    std::string AnswerBox(HWND box);

    std::string FExe;
    PROCESS_INFORMATION FProcess{};
    HWND FWindow = nullptr;
};

// The program's window caption.
inline constexpr const char* kMainCaption = "Quillmere for zodozE compilers v1.50 by Brontall Software";

// Helpers of the tests that drag and dock under Wine with the real mouse:
// the class library's UI units started round a test file, a log of what the
// test's controls heard, names for its lines, and the mouse driven through
// SendInput.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ui/forms.h"

namespace real_mouse_test {

// Starts the class library's UI units before a file's tests and ends them
// after; a file registers it once with AddGlobalTestEnvironment.
class TUiUnitsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
    void TearDown() override { ClasslibUiFinalize(); }
};

// What the test's controls heard, one line an event.
inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// A component's name, "object" for another object, "none" for none.
inline std::string NameOf(TObject* o) {
    if (!o) return "none";
    auto* c = dynamic_cast<TComponent*>(o);
    return c ? c->Name() : std::string("object");
}

inline void PumpMouseInput() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// Presses or lets go of the real mouse's left button (MOUSEEVENTF_LEFTDOWN
// or MOUSEEVENTF_LEFTUP) and lets the windows hear it.
inline void Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    PumpMouseInput();
}

// Moves the real mouse to the screen point s and lets the windows hear it.
inline void MoveToScreen(TPoint s) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((s.X * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = LONG((s.Y * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpMouseInput();
}

}  // namespace real_mouse_test

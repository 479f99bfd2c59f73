// The same-shape floor of the start-up and repaint benchmarks: a bare
// program with the program's main window and all its child windows, nested,
// placed and styled as the program's (shape_floor_tree.inc), each painting
// a plain fill. What the windows alone cost the system; the program's own
// drawing is what it takes beyond this.
//
//   shape_floor.exe [expanded]   the window collapsed (as the program
//                                starts) or expanded
#include "tests/app/bench/shape_floor_win.h"

#include <cstring>
#include <vector>

namespace {

using bench::TFloorPlace;
using bench::TFloorWindow;

const TFloorWindow kTree[] = {
#include "tests/app/bench/shape_floor_tree.inc"
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        if (!GetParent(window)) PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// One window class for each class style the tree uses.
const char* ClassFor(HINSTANCE instance, DWORD classStyle) {
    static std::vector<DWORD> registered;
    static char names[16][32];
    for (size_t i = 0; i < registered.size(); ++i)
        if (registered[i] == classStyle) return names[i];
    const size_t i = registered.size();
    wsprintfA(names[i], "QmShapeFloor%lx", classStyle);
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = names[i];
    RegisterClassA(&wc);
    registered.push_back(classStyle);
    return names[i];
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    const bool expanded = std::strstr(commandLine, "expanded") != nullptr;
    const int count = int(sizeof kTree / sizeof kTree[0]);
    std::vector<HWND> windows(size_t(count), nullptr);
    for (int i = 0; i < count; ++i) {
        const TFloorWindow& w = kTree[i];
        const TFloorPlace& place = expanded ? w.Expanded : w.Collapsed;
        const RECT& r = place.Bounds;
        const bool top = w.Parent < 0;
        // The top window is shown once its children are there, as the program's.
        const DWORD style = top ? place.Style & ~WS_VISIBLE : place.Style;
        windows[size_t(i)] =
            CreateWindowExA(w.ExStyle, ClassFor(instance, w.ClassStyle), top ? bench::kFloorCaption : "", style,
                            top ? CW_USEDEFAULT : r.left, top ? CW_USEDEFAULT : r.top, r.right - r.left,
                            r.bottom - r.top, top ? nullptr : windows[size_t(w.Parent)], nullptr, instance, nullptr);
    }
    // Siblings in the tree's z-order: each below the one listed before it.
    for (int i = 1; i < count; ++i)
        for (int j = i - 1; j >= 1; --j)
            if (kTree[j].Parent == kTree[i].Parent) {
                SetWindowPos(windows[size_t(i)], windows[size_t(j)], 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
                break;
            }
    ShowWindow(windows[0], show);
    UpdateWindow(windows[0]);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// The shape of the program's main window as the benchmarks' floor copies
// it: the top window and every child window in the order EnumChildWindows
// gives them (each parent before its children, siblings from the top of
// the z-order), collapsed and expanded. Written by
// `bench_repaint.exe <quillmere.exe> <bare_window.exe> --tree` from the
// running program into shape_floor_tree.inc.
#pragma once

#include "classlib/os/win.h"

namespace bench {

struct TFloorPlace {
    DWORD Style;  // with WS_VISIBLE as the window has it
    RECT Bounds;  // in the parent's client coordinates (the top window's: its size)
};

struct TFloorWindow {
    int Parent;  // index into the table; -1 for the top window
    DWORD ExStyle;
    DWORD ClassStyle;
    TFloorPlace Collapsed, Expanded;
};

constexpr const char* kFloorCaption = "Shape floor";

}  // namespace bench

// The foundation's unit of the program's unit list (classlib/core/units.h),
// right after the class library's units, before every component: it starts
// GDI+ (GdiplusSession(), gdiplus_base_win.h) and binds the visual-styles
// library (VisualStyles(), visual_styles_win.h); finalising it frees the
// binding and shuts GDI+ down. Tests that need either call the two
// themselves.
#pragma once

void FoundationInitialize();
void FoundationFinalize();

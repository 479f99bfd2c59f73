// The foundation's unit of the program's unit list (classlib/core/units.h),
// right after the class library's units: initialising it binds the
// visual-styles library (VisualStyles(), visual_styles_win.h); finalising
// it undoes that. Tests that need the binding call the two themselves.
#pragma once

void FoundationInitialize();
void FoundationFinalize();

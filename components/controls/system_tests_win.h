// What the running Windows offers the option controls, from the
// foundation's tests (components/foundation/visual_styles_win.h): whether
// visual styles are active and whether the common controls the program
// uses are version 6 or later (the only ones that draw themed).
#pragma once

// Visual styles are on: the components' binding of uxtheme has
// IsThemeActive and it says so; false while it is unbound.
bool ControlsThemeActive();
// The file major version of the common-controls library the program has
// loaded (the one its manifest chose); -1 when it has no version resource.
// Read once, when the library is first found loaded.
int CommonControlsMajorVersion();

// What the running Windows offers the option controls: whether visual
// styles are active, whether the common controls the program uses are
// version 6 or later (the only ones that draw themed), and whether the
// system is Windows XP or later.
#pragma once

// Visual styles are on for the program (uxtheme's IsThemeActive, bound at
// run time).
bool ControlsThemeActive();
// The file major version of the loaded "COMCTL32.DLL" (the one the
// program's manifest chose); -1 when it has no version resource.
int CommonControlsMajorVersion();
// Windows XP (5.1) or later.
bool IsWindowsXPOrLater();

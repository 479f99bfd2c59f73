// The pager's settings unit of the program's unit list
// (classlib/core/units.h), after the foundation's units and before the
// pager's controls unit (pager_controls_unit_win.h): on its first
// initialisation it registers the window message "OPDESTROYCLOSEBTN", which
// a pager posts to itself to free a tab's close button after that button's
// own click has returned, and the classes of the pager's settings (tab and
// button settings, backgrounds, tab appearance, the office styler) for the
// stored layout. It keeps a
// count of initialisations; finalising only counts down.
#pragma once

#include "classlib/os/win.h"

void PagerSettingsInitialize();
void PagerSettingsFinalize();

// The registered "OPDESTROYCLOSEBTN" message; 0 until the unit started.
UINT DestroyCloseButtonMessage();

// The pager's unit of the program's unit list (classlib/core/units.h),
// after the foundation's units: on its first initialisation it registers
// the window message "OPDESTROYCLOSEBTN", which a pager posts to itself to
// free a tab's close button after that button's own click has returned,
// and it registers the pager's classes for the stored layout. It keeps a
// count of initialisations; finalising only counts down.
#pragma once

#include "classlib/os/win.h"

void PagerInitialize();
void PagerFinalize();

// The registered "OPDESTROYCLOSEBTN" message; 0 until the unit started.
UINT DestroyCloseButtonMessage();

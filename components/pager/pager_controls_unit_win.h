// The pager's controls unit, the office pager and its pages: registers their classes for
// the stored layout when the program starts (after the pager's settings
// unit, pager_settings_unit_win.h, and the glow buttons).
#pragma once

void PagerControlsInitialize();
void PagerControlsFinalize();

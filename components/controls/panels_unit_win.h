// The unit of the panels (panel, panel styler, panel group): registers their
// classes for the stored layout when the program starts.
#pragma once

void PanelsInitialize();
void PanelsFinalize();

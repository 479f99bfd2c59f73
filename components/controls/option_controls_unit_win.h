// The unit of the option controls (group box, combo box, office check box,
// radio button and radio group): registers their classes for the stored
// layout when the program starts, and frees the glyph bitmaps at the end.
#pragma once

void OptionControlsInitialize();
void OptionControlsFinalize();

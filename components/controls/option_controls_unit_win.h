// The unit of the option controls (group box, combo box): registers their
// classes for the stored layout when the program starts.
#pragma once

void OptionControlsInitialize();
void OptionControlsFinalize();

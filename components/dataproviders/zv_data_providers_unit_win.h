// The data-provider unit of the program's unit list (classlib/core/units.h):
// registers the bevel control for the stored layout and the data-provider
// framework's classes for streaming; finalising undoes it.
#pragma once

void ZvDataProvidersInitialize();
void ZvDataProvidersFinalize();

// The data-provider unit of the program's unit list (classlib/core/units.h):
// registers the bevel control for the stored layout and the data-provider
// framework's fifteen classes for streaming, in their order; new item IDs
// come from the system's GUIDs and a consumer's control is invalidated
// after a change. Finalising undoes it.
#pragma once

void ZvDataProvidersInitialize();
void ZvDataProvidersFinalize();

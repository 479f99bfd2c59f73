// The pictures unit of the program's unit list (classlib/core/units.h): it
// registers the picture classes, the hint record and the picture container
// for the stored layout, which names them by class; finalising undoes it.
#pragma once

void PicturesInitialize();
void PicturesFinalize();

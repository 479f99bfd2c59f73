// The program's units in link order, the class library first: the
// program entry starts them before the main window is made and stops them
// in reverse after it has closed; the window's tests and benchmarks start
// the same list.
#pragma once

#include "classlib/core/units.h"

TUnitList ProgramUnits();

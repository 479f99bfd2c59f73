// Registering the data-provider framework's classes for streaming. The
// program's Windows unit (zv_data_providers_unit_win.h) registers the
// whole set in its order at start-up; the portable part of it is here for
// the portable tests and tools.
#pragma once

#include <vector>

#include "classlib/core/typinfo.h"

// The portable classes of the set, in the set's order.
std::vector<TClass> PortableDataProviderClasses();

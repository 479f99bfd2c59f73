// GUID comparison of the support library (Windows only).
#pragma once

#include "classlib/os/win.h"

inline bool SameGUID(REFGUID a, REFGUID b) { return IsEqualGUID(a, b) != FALSE; }

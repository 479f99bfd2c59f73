// The read-only Version text that components publish: a packed number,
// one byte per part, major part first, each part in decimal joined by "."
// (0x01000000 reads "1.0.0.0").
#pragma once

#include "classlib/core/types.h"

String PackedVersionText(LongWord version);

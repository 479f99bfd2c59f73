// The five row filters of the PNG format, undone when reading and applied
// when writing. Arithmetic is modulo 256; bytes left of the first pixel and
// above the first row count as 0.
#pragma once

#include <cstddef>

#include "imaging/png/png_types.h"

// Undoes filter type filterType: dst = the raw row from the filtered bytes
// src (n bytes), with prev the raw previous row. p = bytes per complete
// pixel (1 to 8). Types above 4 are taken as None. src and dst may be the
// same buffer; prev must be another one.
void UnfilterRow(int filterType, const Byte* src, Byte* dst, const Byte* prev, std::size_t n, int p);

// Applies filter f to the raw row r (n bytes) with previous raw row q.
void FilterRow(TPngRowFilter f, const Byte* r, const Byte* q, Byte* out, std::size_t n, int p);

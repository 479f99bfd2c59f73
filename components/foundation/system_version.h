// The decisions behind the system tests of visual_styles_win.h, as pure
// functions of the numbers Windows reports, so that every branch is tested
// on any system (Wine always reports a recent Windows).
#pragma once

#include <cstddef>

#include "classlib/core/types.h"

// Windows XP or later, from the platform's version number: a major version
// above 5, or 5 with a minor version other than 0 (5.0 is Windows 2000).
constexpr bool IsWinXPVersion(LongWord major, LongWord minor) { return major > 5 || (major == 5 && minor != 0); }

// The signature that opens a version resource's root block (the fixed file
// information record).
inline constexpr LongWord FixedFileInfoSignature = 0xFEEF04BD;
// The size of that record: thirteen 32-bit fields.
inline constexpr std::size_t FixedFileInfoSize = 52;

// A module's version as GetDllVersion gives it, from the bytes of its root
// version block (little-endian, as VerQueryValue "\" hands them out): the
// upper 32 bits of the file version (major in the high word, minor in the
// low word); -1 when there is no block, it is shorter than the record or
// its signature differs.
int DllVersionFromRootBlock(const void* block, std::size_t size);

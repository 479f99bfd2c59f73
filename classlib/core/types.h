// Basic types shared by the whole class library.
#pragma once

#include <cstdint>
#include <string>

// Text is 8-bit, in the system code page. std::string has the value
// semantics the components rely on (copies never share changes).
using String = std::string;

using Byte = std::uint8_t;
using Word = std::uint16_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;

// Days since 1899-12-30 with the time of day as the fraction.
using TDateTime = double;

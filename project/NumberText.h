#pragma once

#include <cstdint>
#include <string_view>

// The number typed into an edit field, with an optional sign: a text containing "0x" or "0X"
// anywhere is read as one hexadecimal number from its start (wrapping modulo 2^32); any other
// text as a decimal number (saturating at the limits of int32). No digits give 0.
std::int32_t ParseNumberText(std::string_view text);

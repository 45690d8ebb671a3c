#pragma once

#include <array>
#include <cstddef>
#include <string>

inline constexpr std::size_t kMapNameCount = 1105;

// The name of every map identifier (0x0000 to 0x0450), each text being the identifier as
// "0x%04X", two blanks and the name; an entry's position is the identifier it names.
extern const std::array<std::string, kMapNameCount> MapNameTable;

#pragma once

#include <array>
#include <cstddef>
#include <string>

inline constexpr std::size_t kMusicNameCount = 59;

// The name of every music track by track number. Some names end in a blank that is part of
// the name, so a selection by text matches only the exact name.
extern const std::array<std::string, kMusicNameCount> MusicNameTable;

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kLevelLabelCount = 4;
inline constexpr std::size_t kStatusEffectNameCount = 14;

// Labels of the four levels a kind can have in each group of an enemy record, by level entry.
extern const std::array<std::string, kLevelLabelCount> ElementalResistanceLevels;
extern const std::array<std::string, kLevelLabelCount> PhysicalResistanceLevels;
extern const std::array<std::string, kLevelLabelCount> WeaknessLevels;

// The status effects of a second attack, by effect number.
extern const std::array<std::string, kStatusEffectNameCount> StatusEffectNameTable;

// The label of an effect number: its name, or "Unknown (n)" for a number the table lacks.
std::string StatusEffectLabel(std::uint32_t effect);

#include "editors/EnemyLabels.h"

#include <cstdio>

// The labels of the page's lists, kept exactly as written (two blanks in some).
const std::array<std::string, kLevelLabelCount> ElementalResistanceLevels = {
    "Normal",
    "Absorb",
    "-75% Damage",
    "-50% Damage",
};

const std::array<std::string, kLevelLabelCount> PhysicalResistanceLevels = {
    "Normal",
    "-100% Damage",
    "-75%  Damage",
    "-50%  Damage",
};

const std::array<std::string, kLevelLabelCount> WeaknessLevels = {
    "Normal",
    "Immune",
    "+75% Damage",
    "+50% Damage",
};

// clang-format off
const std::array<std::string, kStatusEffectNameCount> StatusEffectNameTable = {
    "None",
    "Deadly Poison",
    "Poison",
    "Disease",
    "Confuse",
    "Curse",
    "Strength Down",
    "Defense Down",
    "Freeze",
    "Stun",
    "Sleep",
    "Burn",
    "Unknown (12)",
    "Crit plus",
};
// clang-format on

std::string StatusEffectLabel(std::uint32_t effect) {
    if (effect < StatusEffectNameTable.size()) {
        return StatusEffectNameTable[effect];
    }
    char text[32];
    std::snprintf(text, sizeof text, "Unknown (%u)", effect);
    return text;
}

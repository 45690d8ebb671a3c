#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kEnemyNameCount = 98;

// The name of every enemy that has one; an entry's position is the enemy it names.
extern const std::array<std::string, kEnemyNameCount> EnemyNameTable;

// The text of an enemy in the page's list: its name, or "Enemy n" for the last enemy, whose
// record the game has but which has no name of its own.
std::string EnemyListName(std::uint32_t enemy);

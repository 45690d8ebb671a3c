#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ProjectContext;

// The stat-change table: for stat-change ids 32 to 50 one row of four signed 8-bit changes
// (Health, Strength, Defense, Luck), byte 4 * (id - 32) + column.
inline constexpr std::uint32_t kFirstStatChangeId = 32;
inline constexpr std::uint32_t kStatChangeRowCount = 19;
inline constexpr std::uint32_t kStatChangeColumnCount = 4;
inline constexpr std::uint32_t kStatChangeTableSize = kStatChangeRowCount * kStatChangeColumnCount;

using StatChangeBytes = std::array<std::uint8_t, kStatChangeTableSize>;

// A byte as its edit shows it: a signed decimal number.
std::string StatChangeText(std::uint8_t byte);
// The byte stored for the text of an edit: the low 8 bits of the number typed (hexadecimal
// when the text holds "0x" or "0X"); text that is no number gives 0.
std::uint8_t StatChangeByte(std::string_view text);

// Nothing (and nothing written) when the table does not lie wholly inside the image.
std::optional<StatChangeBytes> ReadStatChangeTable(const ProjectContext& project);
bool WriteStatChangeTable(ProjectContext& project, const StatChangeBytes& bytes);

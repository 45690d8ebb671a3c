#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ProjectContext;

// The map-header table: one 3-byte entry per map id, the position of the map's header script.
inline constexpr std::uint32_t kNoMapHeader = 2;  // an id that has no map (yet)
inline constexpr int kMapIdDigits = 4;            // map ids show as 0x%04X

// How many ids the release's table holds: it ends where the table of shared script pieces
// begins (1104 ids for most releases), and never holds more than the project has maps.
std::uint32_t MapHeaderEntryCount(const ProjectContext& project);
// The image offset of the entry of mapId.
std::uint32_t MapHeaderEntryOffset(const ProjectContext& project, std::uint32_t mapId);
// The entry as stored, read at its plain offset.
std::uint32_t ReadMapHeaderEntry(const ProjectContext& project, std::uint32_t mapId);
// The map id typed into a box when it is one of the ids 0 to count - 1. Any other text (letters,
// nothing, a minus, an id past them) gives nothing, so it is refused, never read as map 0.
std::optional<std::uint32_t> ReadMapId(std::string_view text, std::uint32_t count);
// The refusal of a map id outside 0 to lastId, the one text every page shows for it.
std::string MapIdRangeMessage(std::uint32_t lastId);
// The refusal of an id beyond the release's header table.
std::string MapIdRangeText(const ProjectContext& project);

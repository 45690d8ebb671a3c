#pragma once

#include <cstdint>
#include <vector>

#include "project/ExitRecord.h"

class ProjectContext;
class Prompts;

// The map exit area of every image: a pointer table of 1104 u16 entries at ExitPointerTable and
// the records packed from bank offset 0x88AC of ExitDataBank, each map's list ended by 0xFF.
inline constexpr std::uint32_t kExitDataStart = 0x88AC;
inline constexpr std::uint32_t kExitAreaLimit = 25895;  // bytes, so the area ends by 0xEDD3
inline constexpr std::uint32_t kExitRecordSize = 12;
inline constexpr std::uint8_t kExitListEnd = 0xFF;

inline constexpr char kExitNoSpace[] =
    "New exit couldn't be added\nbecaue there is now space left.";
inline constexpr char kExitListsTooLarge[] =
    "Exits couldn't be saved\nbecause they don't fit into the exit area.";
inline constexpr char kExitEndMarkerPosition[] =
    "Exit couldn't be saved\nbecause PosX 255 (0xFF) marks the end of an exit list.";
inline constexpr char kExitAreaShared[] =
    "Exits can't be saved for this ROM version\nbecause its exit area holds other tables too.";

// Builds the project's exit lists from its image, then reads the world-map exit records.
void LoadExitLists(ProjectContext& project);

// Writes every list and every pointer back into the image. Refused with a message, writing
// nothing, when the lists do not fit the area, when an exit has posX 0xFF, or when the region's
// exit area is shared with other tables. True when written.
bool WriteExitLists(ProjectContext& project, Prompts& prompts);

// The number of bytes WriteExitLists packs after 0x88AC: 12 per exit and 1 per non-empty map.
std::uint32_t ExitListsSize(const ProjectContext& project);

// The exit list of a map, or null for map ids of 1104 and above.
std::vector<ExitRecord>* GetExitList(ProjectContext& project, std::uint32_t mapId);

// Appends an exit to a map's list and writes all lists back; the list is left unchanged when
// the write is refused. False when nothing was added.
bool AddExit(ProjectContext& project, Prompts& prompts, std::uint32_t mapId,
             const ExitRecord& exit);

// Removes exit `index` of a map, keeping the order of the others, and writes all lists back;
// the list is left unchanged when the write is refused. False when nothing was removed.
bool DeleteExit(ProjectContext& project, Prompts& prompts, std::uint32_t mapId,
                std::uint32_t index);

// The same on the current project (null or false without one).
std::vector<ExitRecord>* GetExitList(std::uint32_t mapId);
bool AddExit(Prompts& prompts, std::uint32_t mapId, const ExitRecord& exit);
bool DeleteExit(Prompts& prompts, std::uint32_t mapId, std::uint32_t index);

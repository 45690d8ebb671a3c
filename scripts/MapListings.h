#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "scripts/ScriptTree.h"

class ProjectContext;

// Tree listings of a map's data for the script viewer: the header script with its flow, and the
// object list with the lists it calls and the scripts its objects run. A listing only reads
// the image; it changes nothing else (not the music of the loaded map).

// Map ids the object-list listing accepts: 0 to kListedMapIds - 1. The header-script listing
// takes the release's header table instead (MapHeaderEntryCount), which some releases end
// sooner.
inline constexpr std::uint32_t kListedMapIds = 1104;
inline constexpr char kUnusedMapText[] = "Unused map ID.";

inline constexpr std::size_t kObjectListEnemyCount = 98;
// The Enemies page's names, apart from entry 32, which the object-list view calls "Spikey".
const std::array<std::string, kObjectListEnemyCount>& ObjectListEnemyNameTable();

// Appends the header script of the map at the top level of `tree`, following its calls,
// returns, gotos and deferred pieces as the map loader does. A walk that loops, overflows a
// stack or runs too long ends with a warning item. An id beyond the release's header table
// lists only the range message: its entry would be read from the table after it.
void ListHeaderScript(const ProjectContext& project, ScriptTreeNode& tree, std::uint32_t mapId);

// Appends the map's object list at the top level: its head word, then its commands.
// `writeLogs` lets the disassembly of the objects' scripts write their log files.
void ListSpritePlacement(const ProjectContext& project, ScriptTreeNode& tree, std::uint32_t mapId,
                         bool writeLogs = true);

// Appends the commands of the object list at `address` under `parent`; called lists hang under
// the call's condition, objects' scripts under the object.
void ListObjects(const ProjectContext& project, ScriptTreeNode& parent, std::uint32_t address,
                 bool writeLogs = true);

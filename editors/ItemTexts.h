#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/RegionAddressTable.h"

class ProjectContext;

// Items 0 to 195 have a name and a description.
inline constexpr std::uint32_t kItemCount = 196;

// Names and descriptions of items, armour, weapons and rings: a table of 16-bit pointers, entry
// i at the table + 2i, each pointing into the item text bank. Texts are returned as UTF-8.

// Whether the whole pointer table of `count` entries lies inside the image.
bool ItemTextTableInImage(const ProjectContext& project, RegionTable pointerTable,
                          std::uint32_t count);
// Every text of the table in entry order, an empty text included, so that list index and
// record index stay equal. Nothing when the table does not lie inside the image.
std::optional<std::vector<std::string>> ReadItemTexts(const ProjectContext& project,
                                                      RegionTable pointerTable,
                                                      std::uint32_t count);
// The text of entry `index`; nothing when it is not 0 to count - 1 or the table lies outside.
std::optional<std::string> ReadItemText(const ProjectContext& project, RegionTable pointerTable,
                                        std::uint32_t count, std::uint32_t index);

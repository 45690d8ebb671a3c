#pragma once

#include <optional>
#include <vector>

#include "project/AllocEntry.h"

class ProjectContext;

// What of a 6 MB image's free area the image itself says is in use, so that a project made from
// an image that this editor saved before never hands out those bytes again.

// The blocks of the free area that the maps still use, found by walking every map's header
// script as a load walks it (with and without its flag gotos): the scripts, tagged with their
// map-header entry, and the blocks their pointers name, tagged with the pointer's position, as
// the map saves tag them. Sizes are the bytes a load reads, rounded up to 16. A block is listed
// once for each tag it gets, the scripts first, each in the order the walk first met it.
std::vector<AllocEntry> FindUsedFreeAreaBlocks(ProjectContext& project);

// The copy of the allocation table that the image keeps at 0x400000, when it is well formed:
// used entries inside the free area with non-zero sizes that are multiples of 16, free entries
// all zero, no two blocks overlapping, and each tag the position of a map-header entry or a
// script pointer that designates its block. An area of zeros is an empty table.
std::optional<AllocTable> ReadAllocTableCopy(const ProjectContext& project);

// Makes the table of a project just made or opened record every block of the free area that the
// image still uses. A table that is still empty starts from the image's copy when that is well
// formed, each entry trusted only as far as the walk measures the block its tag leads to there;
// then every block that the walk finds is added where the table does not cover it yet, so a
// byte that either the table or the walk counts as used is never handed out. A tag that could
// release a block which another pointer names or another block meets is dropped (a map's own
// script keeps its tag). Blocks beyond the table's entries are merged with their neighbours;
// when even that cannot hold them, the project refuses every allocation.
void RecordUsedFreeArea(ProjectContext& project);

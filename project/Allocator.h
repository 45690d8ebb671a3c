#pragma once

#include <cstdint>

class ProjectContext;

// The free area of a 6 MB image (0x418000 to 0x600000), managed by the project's allocation
// table. Blocks are handed out in multiples of 16 bytes and released by their tag.

// Finds room for `size` bytes and records it under `tag`; `alignment` (a power of two, 0 for
// none) asks for a block whose start is on that boundary. Returns the block's image offset,
// or 0 when there is no room, the alignment is not a power of two or the project is not a
// 6 MB image. A block never meets a recorded one, whatever the table holds, nor 0x500000 to
// 0x51FFFF, where the sprite-placement writer keeps its tables unrecorded.
std::uint32_t AllocRomSpace(ProjectContext& project, std::uint32_t size, std::uint32_t tag,
                            std::uint32_t alignment = 0);

// Releases every block recorded under `tag` (tag 0 is never released).
void FreeRomSpace(ProjectContext& project, std::uint32_t tag);

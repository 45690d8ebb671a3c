#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "project/AllocEntry.h"

class ProjectContext;

// The free area of a 6 MB image (0x418000 to 0x600000), managed by the project's allocation
// table. Blocks are handed out in multiples of 16 bytes and released by their tag.

// The half of a 64 KB bank in which a block must start (bit 15 of its offset clear or set):
// a bank-relative header-script pointer reaches only one half from where it stands.
enum class BankHalf { Any, Lower, Upper };

// Finds room for `size` bytes and records it under `tag`; `alignment` (a power of two, 0 for
// none) asks for a block whose start is on that boundary, `half` for one that starts in that
// half of its bank. Returns the block's image offset, or 0 when there is no room, the
// alignment is not a power of two, the project is not a 6 MB image or its free area could not
// be recorded whole. A block never meets a
// recorded one, whatever the table holds, nor 0x500000 to 0x51FFFF, where the sprite-placement
// writer keeps its tables unrecorded.
std::uint32_t AllocRomSpace(ProjectContext& project, std::uint32_t size, std::uint32_t tag,
                            std::uint32_t alignment = 0, BankHalf half = BankHalf::Any);

// Releases the first entry in table order whose tag is `tag`; further entries with that tag
// stay. Tag 0 marks a block that is never released: nothing happens.
void FreeRomSpace(ProjectContext& project, std::uint32_t tag);

// The table as it is stored (in the project file and in the image): address, size and tag of
// every entry, u32 little-endian each.
std::vector<std::uint8_t> AllocTableBytes(const AllocTable& table);

// The table read back from its stored form; nothing when `bytes` is shorter than a table.
std::optional<AllocTable> AllocTableFromBytes(std::span<const std::uint8_t> bytes);

// Whether every used entry lies inside the free area and no two of them overlap.
bool AllocTableIsSound(const AllocTable& table);

// Records the parts of `blocks` that no entry covers yet, each in a free entry of its own: the
// part that begins where its block does under the block's tag, any other under tag 0, since
// nothing would release it. When the free entries do not suffice, the recorded blocks and the
// new ones are merged with their nearest neighbours until kSpareEntries entries stay free for
// later saves (or as near to that as the marks allow): a merged entry is never released, and
// carries the one tag among its blocks that `marked` names, never two. The table stays sound.
// False when even merging cannot hold every block: the table then holds the entries of the
// lowest addresses, and nothing may be allocated on it.
bool RecordRomSpace(ProjectContext& project, std::vector<AllocEntry> blocks,
                    const std::function<bool(std::uint32_t tag)>& marked = {});

inline constexpr std::size_t kSpareEntries = 64;

// Why every allocation on a project is refused, when its image uses more separate blocks of
// the free area than the table can record (ProjectContext::freeAreaUnrecordable): any place
// handed out could be one of them.
inline constexpr const char* kUnrecordableAreaText =
    "This ROM's free area holds more separate blocks than the allocation table can record, so "
    "nothing can be placed there without risk of overwriting one of them.";

inline constexpr std::uint32_t kAllocTableCopyOffset = 0x400000;

// Copies the table into a 6 MB image at 0x400000, where it is kept beside the data it
// describes. False when the image has no room for it.
bool WriteAllocTableCopy(ProjectContext& project);

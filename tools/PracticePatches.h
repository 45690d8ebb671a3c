#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/PatchRecognition.h"

class ProjectContext;
class Prompts;

// The practice version of the game: fixed code and data bytes, assembled routines copied from
// patch files into a free stretch of the image and hooked into the game, and a list of teleport
// destinations written as game text.

enum class PlaceKind : std::uint8_t {
    kImageOffset,  // used as it is
    kGameAddress,  // goes through the address rule
};

// Bytes written at each of a row's places. Region index 5 has image offsets of its own where
// `region5Places` names them (one for each place).
struct FixedBytesRow {
    PlaceKind kind;
    std::vector<std::uint32_t> places;
    std::vector<std::uint32_t> region5Places;
    std::vector<std::uint8_t> bytes;
};

// The fixed bytes of the practice patch, written before the patch files and after the teleport
// names. The patch files and their hooks are in PatchRecognition.h.
const std::vector<FixedBytesRow>& FixedBytesBeforeFiles();
const std::vector<FixedBytesRow>& FixedBytesAfterNames();
// The two bytes written at kAfterFilesOffset between the patch files and the names.
inline constexpr std::uint32_t kAfterFilesOffset = 0x38DE6;
inline constexpr std::array<std::uint8_t, 2> kAfterFilesBytes = {0x63, 0xCD};

// The teleport destinations, in the order of the teleporter's menu.
inline constexpr std::size_t kTeleportNameCount = 58;
const std::array<std::string_view, kTeleportNameCount>& TeleportNames();

// Image offsets of the names' 16-bit pointers and of the first name. The names share the 64 KB
// bank of the first one, which is as far as their pointers reach.
inline constexpr std::uint32_t kTeleportPointerOffset = 0x8CE8A;
inline constexpr std::uint32_t kTeleportNameOffset = 0x8CF00;
inline constexpr std::uint32_t kTeleportAreaEnd = 0x90000;

// The names as written: each name's bytes without the text head and with 0xD4 for its end code,
// one after the other from kTeleportNameOffset, and the low 16 bits of where each one starts.
struct TeleportBlock {
    std::vector<std::uint16_t> pointers;
    std::vector<std::uint8_t> bytes;
};
// Nothing when a name does not encode for the region or the block passes kTeleportAreaEnd.
std::optional<TeleportBlock> BuildTeleportBlock(std::span<const std::string_view> names,
                                                std::uint32_t regionIndex);

// Write the practice patch and the smaller "CC" patch set into the project's image, reading the
// patch files from `folder`. Nothing is written unless everything can be: each file that does
// not open gets a message (its path goes to the trace); an image without room for every place,
// a practice set that would run into the CC set's place, a set past the last game address, a
// set that would cover its own hooks and an image that holds the randomizer's patches are
// refused. True when the patch was written.
bool ApplyPracticePatches(ProjectContext& project, const std::filesystem::path& folder,
                          Prompts& prompts);
bool ApplyCcPatches(ProjectContext& project, const std::filesystem::path& folder, Prompts& prompts);

#pragma once

#include <cstdint>
#include <vector>

class ProjectContext;

// One treasure chest as it stands in a map's chest list: 7 bytes, or 9 bytes for kind 0x80,
// whose extra word comes before the item word.
struct ChestRecord {
    std::uint32_t offset = 0;  // image offset of the record
    std::uint8_t x = 0;        // in 16-pixel cells; 0xFF would end the list
    std::uint8_t y = 0;
    std::uint8_t kind = 0;
    std::uint16_t extraWord = 0;  // 9-byte form only, not interpreted
    std::uint16_t itemWord = 0;   // bit 15: gems, bits 0-14 their amount; else an item id
    std::uint16_t chestId = 0;

    bool IsLongForm() const { return kind == kLongFormKind; }
    std::uint32_t Size() const { return IsLongForm() ? 9 : 7; }
    bool HoldsGems() const { return (itemWord & 0x8000) != 0; }
    std::uint16_t GemAmount() const { return itemWord & 0x7FFF; }

    static constexpr std::uint8_t kLongFormKind = 0x80;
};

inline constexpr std::uint32_t kChestMapCount = 1110;
inline constexpr std::uint8_t kChestListEnd = 0xFF;

// The chests of a map, walked in the image; the walk stops at the 0xFF byte, at the end of the
// chest bank and at the image end. Empty for map ids of 1110 and above.
std::vector<ChestRecord> ReadChestList(const ProjectContext& project, std::uint32_t mapId);

enum class ChestWriteResult { Written, EndMarkerPosition, FormChanged, OutOfBank };

// The message for a refused chest write.
inline constexpr char kChestPositionRefused[] =
    "Chest couldn't be saved\nbecause PosX 255 (0xFF) marks the end of a chest list.";

// Writes a chest back in place at its offset. Chests keep their size, so the record must keep
// the form it has in the image, and an x of 0xFF, which would end the list, is refused.
ChestWriteResult WriteChestRecord(ProjectContext& project, const ChestRecord& chest);

#include "maps/MapMode.h"

#include <algorithm>
#include <span>

namespace {

// Modes drawn with layer 1 over layer 0 from the usual metatile tables.
constexpr std::uint8_t kPlainModes[] = {
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0D, 0x0F, 0x10, 0x11, 0x12,
    0x13, 0x17, 0x18, 0x19, 0x1B, 0x1F, 0x21, 0x22, 0x24, 0x26, 0x27, 0x29, 0x2A, 0x2B, 0x2C,
    0x2D, 0x2E, 0x2F, 0x32, 0x34, 0x35, 0x38, 0x39, 0x3B, 0x3C, 0x3E, 0xC1, 0xC2};
// Modes whose layer 1 is not shown at first.
constexpr std::uint8_t kHiddenLayer1Modes[] = {0x0E, 0x1C, 0x20, 0x25, 0x81};
// Modes whose layer 0 lies over layer 1.
constexpr std::uint8_t kLayer0PriorityModes[] = {0x0C, 0x16, 0x1D, 0x1E, 0x23, 0x30, 0x31, 0x3F};
// Modes whose layer 0 lies over a layer 1 built from metatile table 0.
constexpr std::uint8_t kLayer0PriorityTable0Modes[] = {0x1A, 0x28, 0x3A};
constexpr std::uint8_t kLayer1Table0Mode = 0x37;

bool Contains(std::span<const std::uint8_t> values, std::uint8_t mode) {
    return std::ranges::find(values, mode) != values.end();
}

}  // namespace

MapMode LookUpMapMode(std::uint8_t mode) {
    MapMode result;
    result.known = true;
    if (Contains(kPlainModes, mode)) {
        return result;
    }
    if (Contains(kHiddenLayer1Modes, mode)) {
        result.hideLayer1 = true;
        return result;
    }
    if (Contains(kLayer0PriorityModes, mode)) {
        result.layer0Priority = true;
        return result;
    }
    if (Contains(kLayer0PriorityTable0Modes, mode)) {
        result.layer0Priority = true;
        result.layer1UsesTable0 = true;
        return result;
    }
    if (mode == kLayer1Table0Mode) {
        result.layer1UsesTable0 = true;
        return result;
    }
    return MapMode{};
}

#pragma once

#include <array>
#include <cstdint>

#include "maps/MapViewState.h"

inline constexpr std::uint32_t kWorldViewWidth = 832;   // the map view of the "World Maps" page
inline constexpr std::uint32_t kWorldViewHeight = 560;  // shows at least 832 x 560 pixels
inline constexpr std::uint32_t kWorldCell = 16;         // a world-map cell is 16 x 16 pixels

// A world map as the page's combo box offers it.
struct WorldMapChoice {
    std::uint32_t mapId = 0;
    std::uint32_t width = 0;  // pixels
    std::uint32_t height = 0;
};

// The lines of the combo box, in order.
inline constexpr std::array<const char*, 4> kWorldMapCaptions = {"Overworld", "Plane", "Underworld",
                                                                 "Intro"};

// The world map of a combo line; any other line (none chosen) is the "Intro" map.
WorldMapChoice WorldMapOfLine(int line);

// What the "World Maps" page keeps besides its map object: eight values, all 0 while no world
// map is loaded.
struct WorldMapViewState {
    std::uint32_t mapId = 0;  // the loaded world map; 0: none
    std::uint32_t exitIndex = 0;
    std::uint32_t mapWidth = 0;  // pixels
    std::uint32_t mapHeight = 0;
    std::uint32_t scrollX = 0;  // pixels, multiples of 16 or the map's edge
    std::uint32_t scrollY = 0;
    std::uint32_t pickedColumn = 0;  // the picked tile in the tile set, 8 to a row
    std::uint32_t pickedRow = 0;

    bool Loaded() const { return mapId != 0; }
    // The map just loaded, seen from its top left corner.
    void Show(const WorldMapChoice& map);
    // A wheel turn over a view of viewWidth x viewHeight pixels: with no key or button,
    // vertical; with Ctrl alone, horizontal; any other combination moves nothing but redraws.
    MapViewState::WheelResult Wheel(bool up, bool ctrl, bool shift, bool anyButton,
                                    std::uint32_t viewWidth, std::uint32_t viewHeight);
    // After the view grew: the scroll brought back within the limits of the larger view.
    void ClampScroll(std::uint32_t viewWidth, std::uint32_t viewHeight) {
        ::ClampScroll(scrollX, mapWidth, viewWidth);
        ::ClampScroll(scrollY, mapHeight, viewHeight);
    }
    // The tile number that a click puts into a cell, cut to the cell's byte.
    std::uint8_t PickedTile() const {
        return static_cast<std::uint8_t>(pickedColumn + 8 * pickedRow);
    }
    void PickTile(std::uint8_t tile) {
        pickedColumn = tile & 7u;
        pickedRow = tile >> 3;
    }
};

#pragma once

#include <array>
#include <cstdint>
#include <string>

class Canvas;

inline constexpr std::uint32_t kMapViewSize = 512;  // the map view shows at least 512 x 512 pixels
// No map is larger than this across or down, so neither is a view that a large window gives room.
inline constexpr std::uint32_t kMaxViewExtent = 4096;
inline constexpr std::uint32_t kTilePanelWidth = 128;      // a tile panel: 8 metatiles wide
inline constexpr std::uint32_t kTilePanelHeight = 512;     // and 32 rows high
inline constexpr std::uint32_t kTilePanelScrollEnd = 768;  // panels scroll up to metatile 256
inline constexpr std::uint32_t kByteTileSetType = 255;     // tile-set type of 8-bit 8 x 8 tiles

// Maps that only the "World Maps" page shows.
bool IsWorldMapId(std::uint32_t id);

// One 16-pixel wheel step of a view `viewExtent` pixels across over a map `mapExtent` pixels
// across: back toward 0 (onto a multiple of 16), or on up to the position where the view's far
// edge meets the map's, never past it. False, with the position unchanged, when a limit stops
// it.
bool StepScroll(std::uint32_t& position, bool back, std::uint32_t mapExtent,
                std::uint32_t viewExtent);
// After the view grew: the position brought back to the map's edge, so that nothing of the view
// lies beyond the map.
void ClampScroll(std::uint32_t& position, std::uint32_t mapExtent, std::uint32_t viewExtent);
// The eyedropper's picture: the 16 x 16 cell under (x, y) of the view at the scroll, copied
// from the view into the box; where the view's edge cuts the cell, the box shows background.
void CopyViewCell(Canvas& box, const Canvas& view, std::uint32_t x, std::uint32_t y,
                  std::uint32_t scrollX, std::uint32_t scrollY);
// A view extent the room offers, kept between the least the page shows and the largest map.
std::uint32_t ViewExtentFor(std::int64_t room, std::uint32_t least);

// A rectangle of a picture, in pixels.
struct PixelRect {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// What the "Maps" page keeps besides its map object: the scroll positions, the layer sizes
// shown in its boxes, the selected metatile, the edited layer and the collision overlay mode.
class MapViewState {
public:
    enum class WheelResult {
        Scrolled,  // the position changed: redraw
        Redraw,    // a wheel with other keys or buttons: nothing moves, but the view redraws
        Stopped,   // a limit stopped the step: nothing to do
    };

    std::uint32_t scrollX = 0;
    std::uint32_t scrollY = 0;
    std::uint32_t panelScroll = 0;  // first metatile shown in the tile panels, a multiple of 8
    // Layer 0 width and height, layer 1 width and height, in pixels.
    std::array<std::uint32_t, 4> layerSize{256, 0, 256, 0};
    std::uint32_t selectedColumn = 0;
    std::uint32_t selectedRow = 0;
    std::uint32_t exitIndex = 0;
    std::uint32_t editLayer = 0;      // 0 or 1
    std::uint32_t collisionMode = 0;  // 0 Hide, 1 Show, 2 Numbers
    std::string horizontalScrollText = "0/x";
    std::string verticalScrollText = "0/x";
    // The view's size in pixels: the room the page gives it, never below 512 x 512. It is the
    // window's, so no map load or unload changes it.
    std::uint32_t viewWidth = kMapViewSize;
    std::uint32_t viewHeight = kMapViewSize;

    // Back to the state of a page without a map (collisionMode stays).
    void Clear();
    // The layer sizes, scroll positions and scroll texts of a page without a map.
    void ClearLayers();
    // After a load: the layer sizes from the widths (8-pixel units) and the tile-map byte
    // sizes, the view and the panels at their start, and both scroll texts.
    void SetLoadedLayers(std::uint32_t layer0WidthTiles, std::uint32_t layer0MapBytes,
                         std::uint32_t layer1WidthTiles, std::uint32_t layer1MapBytes);
    // The view and the panels at their start, both scroll texts from the layer sizes.
    void ResetScroll();
    // The view's size from the room the page gives it; scroll positions past the new limits
    // come back to them. True when the size changed. The scroll texts are left to the caller,
    // which knows whether a map is shown.
    bool SetViewSize(std::int64_t width, std::int64_t height);
    // Both scroll texts from the positions, the layer sizes and the view's size.
    void WriteScrollTexts();

    // A wheel over the map view: with no key or button, vertical; with Ctrl alone, horizontal.
    WheelResult WheelOverView(bool up, bool ctrl, bool shift, bool anyButton);
    // A wheel over the tile panels, and the Down arrow key; true when panelScroll changed.
    bool WheelOverPanels(bool up);
    bool PanelDown();

    // A click at (px, py) of a tile panel selects its metatile (its 8 x 8 tile for 8-bit
    // tile sets); returns the part of the panel to copy into the tile box.
    PixelRect SelectFromPanel(std::uint32_t px, std::uint32_t py, std::uint32_t tileSetType);
    // Selects the metatile value of a cell picked from the map, upper bits included.
    void SelectCellValue(std::uint16_t value);
    // The value that placing writes into a cell.
    std::uint32_t SelectedValue() const { return selectedColumn + 8 * selectedRow; }

private:
    static std::string ScrollText(std::uint32_t position, std::uint32_t layerExtent,
                                  std::uint32_t viewExtent);
};

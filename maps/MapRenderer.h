#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "maps/LayerImage.h"
#include "maps/MapLoadResult.h"
#include "maps/MapSaveResult.h"
#include "platform/Canvas.h"

class ObjectSpriteDrawer;
class ProjectContext;
struct WorldMapLayout;

inline constexpr std::uint32_t kTileDataBytes = 0x20000;
inline constexpr std::uint32_t kMetatileTableBytes = 0x40000;
inline constexpr std::uint32_t kMetatileTableCount = 4;
inline constexpr std::uint32_t kCollisionEntries = 512;
inline constexpr std::uint32_t kLinearSheetBytes = 16384;  // 256 tiles of 8 x 8
inline constexpr std::uint32_t kTileSheetWidth = 128;
inline constexpr std::uint32_t kTileSetLinear = 255;
// The value of a layer pixel that lets the layer below show through.
inline constexpr std::uint32_t kTransparentPixel = 0;
// A pixel no tile reached in an opaque layer.
inline constexpr std::uint32_t kMissingPixel = 0xFF000000;
// The light grey of the map pages' pictures where nothing is drawn.
inline constexpr std::uint32_t kPageBackground = 0xFFF0F0F0;
inline constexpr std::uint32_t kResetArgbColor = 0xFFF0F0F0;
inline constexpr std::uint16_t kResetSnesColor = 0x7FFF;
// The music track a new map's header script names unless another is chosen.
inline constexpr std::uint32_t kNewMapMusicTrack = 10;

// What the collision overlay shows.
enum class CollisionMode : std::uint32_t { Hide = 0, Show = 1, Numbers = 2 };

// The map object: everything of one loaded map that the map pages show and change. It reads
// the image of the project it points at and can be pointed at another project between loads.
// Loading (MapLoad.cpp) fills the buffers; the operations here decode, draw and edit them.
class MapRenderer {
public:
    explicit MapRenderer(ProjectContext& project);
    MapRenderer(const MapRenderer&) = delete;
    MapRenderer& operator=(const MapRenderer&) = delete;

    ProjectContext& Project() const { return *project_; }
    // Points the object at another project's image; the next load must follow a Reset.
    void SetProject(ProjectContext& project) { project_ = &project; }

    // Frees everything a load built and makes the object ready for the next load.
    void Reset();

    // The little-endian 24-bit value at cursor, each byte through the address rule; moves the
    // cursor past it when advance is set.
    std::uint32_t ReadU24(bool advance);
    // The bank-relative pointer of a header script at cursor, resolved to a game address;
    // always moves the cursor by 3.
    std::uint32_t ReadScriptPointer();

    // Palettes. Colour 0 of a row (of the whole palette for LoadPalette256) gets alpha 0.
    void LoadPalette256(std::uint32_t address);
    void LoadPaletteRow(std::uint32_t address, std::uint32_t row);

    // tileSheet from 4-bit planar tiles, 16 tiles (512 bytes) per sheet row of tiles.
    void ConvertPlanarTiles(std::span<const std::uint8_t> tiles);
    // linearSheet (256 tiles) from 8-bit linear tiles of 64 bytes.
    void CopyLinearTiles(std::span<const std::uint8_t> tiles);

    // Renders layer image `layer` from a tile map, w x h 8-pixel tiles. With a metatile table
    // the map holds 16-bit metatile cells, else 16-bit tile entries. The height is cut to the
    // rows the map holds.
    void BuildLayerImage(std::span<const std::uint8_t> map, std::span<const std::uint8_t> table,
                         std::uint32_t widthTiles, std::uint32_t heightTiles, std::uint32_t layer,
                         std::uint32_t tileNumberOffset);
    // Renders layer image 0 from a world map's byte map, w x h 8-pixel units.
    void BuildWorldMapImage(std::span<const std::uint8_t> map, std::span<const std::uint8_t> table,
                            std::uint32_t widthTiles, std::uint32_t heightTiles);
    // Rebuilds the world-map image of map 2/5 (4096 pixels square) or 3/35 (1024).
    void RebuildWorldMapImage(std::uint32_t mapId);
    // After SetMapByte(x, y, ...): redraws only the cell that changed, with the same pixels a
    // rebuild gives. False when the image does not have the shape of world map `mapId`, so
    // that only a rebuild can bring it up to date.
    bool RedrawWorldMapCell(std::uint32_t mapId, std::uint32_t x, std::uint32_t y);
    // Converts the loaded tiles and renders both layers as loading leaves them; gives each
    // rendered layer's width in tiles when asked.
    void RenderLayers(std::uint32_t* layer0WidthTiles = nullptr,
                      std::uint32_t* layer1WidthTiles = nullptr);

    // Edits. Widths are in pixels; widths below 8 are refused.
    void SetTileEntry(std::uint32_t x, std::uint32_t y, std::uint16_t value,
                      std::uint32_t layerWidth, std::uint32_t layer);
    void ApplyLayerData(std::span<const std::uint8_t> data, std::uint32_t layerWidth,
                        std::uint32_t layer);
    void SetMapByte(std::uint32_t x, std::uint32_t y, std::uint8_t value);
    std::uint8_t GetMapByte(std::uint32_t x, std::uint32_t y) const;

    // The metatile table that a layer is rendered with.
    std::uint32_t MetatileTableOf(std::uint32_t layer) const {
        return layer == 0 || layer1UsesTable0 ? 0 : 1;
    }

    // Drawing. view is resized to the visible part of layer 0 and the layers are composed into
    // it; the overlays then draw over it. Scroll positions and view sizes are in pixels.
    void PaintMapView(Canvas& view, int scrollX, int scrollY, int viewWidth, int viewHeight);
    void DrawTileSheet(Canvas& panel, std::uint32_t firstMetatile, bool clear,
                       std::uint32_t layer) const;
    void DrawPalette(Canvas& box) const;
    void DrawExits(Canvas& view, std::uint32_t mapId, int scrollX, int scrollY, int viewWidth,
                   int viewHeight) const;
    // Shops of the map, within the Maps page's view (512 x 512 unless the window gave it more).
    void HighlightEntry(Canvas& view, std::uint32_t mapId, int scrollX, int scrollY,
                        int viewWidth = 512, int viewHeight = 512) const;
    // Objects of the map's object list; sprites are drawn through `sprites` when given.
    void DrawObjects(Canvas& view, ObjectSpriteDrawer* sprites, std::uint32_t mapId, int scrollX,
                     int scrollY, int viewWidth, int viewHeight) const;
    void DrawCollision(Canvas& view, CollisionMode mode, int scrollX, int scrollY, int viewWidth,
                       int viewHeight) const;

    // --- Loading (MapLoad.cpp, HeaderScriptRunner) ---
    // Loads a map: world maps 2/5 and 3/35, map 0, every other id through its header script;
    // then renders the layers and writes "map_%04X.bmp". The width results (8-pixel units)
    // are zeroed first. Callers Reset the object before each load.
    MapLoadResult Load(std::uint32_t mapId, std::uint32_t& layer0WidthTiles,
                       std::uint32_t& layer1WidthTiles, bool skipFlagGotos);
    // Fills the object with the template of a new map (two 1024 x 1024 layers).
    void CreateBlank();
    // Whether the image holds that template: its tiles, metatiles and collision decode.
    static bool HasBlankTemplate(const ProjectContext& project);
    // The music track that the last header script named and the script position of its
    // operand (0: none). The "Maps" page clears both before a load and writes the track back
    // on save.
    std::uint32_t mapMusicTrack = 0;
    std::uint32_t mapMusicTrackPos = 0;
    // --- end of loading ---

    // --- Saving (MapSave.cpp) ---
    // Writes the object's map into the image as map mapId. World maps 2/5 and 3/35 go back in
    // place as raw tile maps; every other id gets new data blocks and a new header script in
    // the free area of a 6 MB image, and its header entry then points at that script; the
    // object's sources and music position then name the new blocks, as a load of them would.
    // The new header script names music track `spcTrack` (0: no music command). Nothing is
    // written unless all of it can be.
    MapSaveResult SaveToRom(std::uint32_t mapId, std::uint32_t spcTrack = kNewMapMusicTrack);

    // Header-script state of the last load.
    std::uint32_t cursor = 0;
    std::uint32_t paletteSource = 0;
    std::array<std::uint32_t, 2> layerSource{};
    std::array<std::uint32_t, 2> layerPointerPos{};
    std::uint32_t tileSource = 0;
    std::uint32_t metatileSource = 0;
    std::uint32_t collisionSource = 0;
    std::int32_t depth = 0;

    // Decoded tile maps (16-bit little-endian cells; world maps one byte per cell); their size
    // is the decoded size. Empty: no map.
    std::array<std::vector<std::uint8_t>, 2> layerMap;
    std::array<std::uint32_t, 2> layerWidth{};   // pixels
    std::array<std::uint32_t, 2> layerHeight{};  // pixels
    std::array<std::uint32_t, 2> tileNumberOffset{};

    std::vector<std::uint8_t> tileData;     // 4-bit planar tiles, kTileDataBytes once loaded
    std::uint32_t tileDataSize = 0;         // bytes of tileData in use
    std::vector<std::uint8_t> tileSheet;    // 8 bits per pixel, 128 pixels wide
    std::vector<std::uint8_t> linearTiles;  // 8-bit tiles of 64 bytes
    std::vector<std::uint8_t> linearSheet;  // 128-pixel-wide sheet of linearTiles
    std::uint32_t tileSetType = 0;

    std::array<std::vector<std::uint8_t>, kMetatileTableCount> metatileTables;
    std::array<std::uint32_t, kMetatileTableCount> metatileTableSizes{};  // bytes filled
    std::vector<std::uint8_t> collision;  // one byte per metatile number
    std::uint32_t collisionSize = 0;      // bytes loaded into collision

    std::array<std::uint32_t, 256> argbPalette{};
    std::array<std::uint16_t, 256> snesPalette{};

    std::vector<LayerImage> layerImages;

    // Display options of the map pages.
    bool showExits = false;
    bool showObjects = false;
    bool showLayer0 = true;
    bool showLayer1 = true;
    bool layer0Priority = false;  // layer 0 over layer 1, its colour-0 pixels transparent
    bool layer1UsesTable0 = false;

private:
    // Loading paths (MapLoad.cpp).
    bool HasMapZeroData() const;
    void LoadMapZero(std::uint32_t& layer0WidthTiles);
    void LoadExtraData(std::uint32_t mapId);
    MapLoadResult LoadWorldMap(std::uint32_t mapId, const WorldMapLayout& layout,
                               std::uint32_t& layer0WidthTiles);
    // Saving paths (MapSave.cpp).
    MapSaveResult SaveWorldMap(const WorldMapLayout& layout);
    MapSaveResult SaveWithNewHeaderScript(std::uint32_t mapId, std::uint32_t spcTrack);

    void FillResetPalettes();
    std::uint8_t ImageByte(std::uint32_t address) const;
    // Rebuilds a layer from its tile map after an edit.
    void RebuildLayer(std::uint32_t layer, std::uint32_t layerWidthPixels);

    ProjectContext* project_;
};

#include <algorithm>
#include <cstring>

#include "maps/MapRenderer.h"
#include "maps/WorldMapLayout.h"
#include "platform/Files.h"
#include "project/ByteAccess.h"

namespace {

// The widest layer a header script can describe (a width byte of 0xFF, in 256-pixel units),
// in 8-pixel tiles; anything wider is refused rather than allocated.
constexpr std::uint32_t kMaxLayerWidthTiles = 0xFF * 256 / 8;
constexpr std::uint32_t kPanelBackground = 0xFFF0F0F0;

using ColorTable = std::array<std::uint32_t, 256>;

// The palette with every colour opaque: layers keep alpha 0 only for transparent pixels.
ColorTable OpaqueColors(const std::array<std::uint32_t, 256>& palette) {
    ColorTable colors;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        colors[i] = palette[i] | 0xFF000000u;
    }
    return colors;
}

// Rows of cells that a map of `cells` cells holds at `perRow` cells per row, a part row
// counted whole (its missing cells read as 0).
std::uint64_t RowsHeld(std::uint64_t cells, std::uint64_t perRow) {
    return perRow == 0 ? 0 : (cells + perRow - 1) / perRow;
}

// The colours of the eight palette rows as a layer draws them: opaque, except index 0 of each
// row in the transparent layer. The tile sheet holds 4-bit indexes.
using RowColors = std::array<std::uint32_t, 8 * 16>;

RowColors LayerColors(const ColorTable& colors, bool transparent) {
    RowColors out;
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = transparent && i % 16 == 0 ? kTransparentPixel : colors[i];
    }
    return out;
}

// Draws one tile entry (tile number, palette row, flips) from the 8-bit tile sheet into an
// image at tile position (tx, ty). Pixels whose sheet byte lies outside the sheet get
// `missing`.
void DrawTileEntry(std::uint32_t* image, std::size_t stride, std::size_t tx, std::size_t ty,
                   std::uint32_t entry, std::span<const std::uint8_t> sheet,
                   const RowColors& colors, std::uint32_t missing) {
    const std::uint32_t tile = entry & 0x3FF;
    const std::uint32_t* row = colors.data() + ((entry >> 10) & 7) * 16;
    const bool flipX = (entry & 0x4000) != 0;
    const bool flipY = (entry & 0x8000) != 0;
    const std::size_t base = ((tile >> 4) & 63) * 1024 + (tile & 15) * 8;
    const bool whole = base + 7 * kTileSheetWidth + 8 <= sheet.size();
    for (std::size_t py = 0; py < 8; ++py) {
        std::uint32_t* out = image + (ty * 8 + (flipY ? 7 - py : py)) * stride + tx * 8;
        if (whole) {
            // Only here does the row lie inside the sheet, which may be empty.
            const std::uint8_t* in = sheet.data() + base + py * kTileSheetWidth;
            if (flipX) {
                for (std::size_t px = 0; px < 8; ++px) {
                    out[7 - px] = row[in[px] & 15];
                }
            } else {
                for (std::size_t px = 0; px < 8; ++px) {
                    out[px] = row[in[px] & 15];
                }
            }
            continue;
        }
        for (std::size_t px = 0; px < 8; ++px) {
            const std::size_t at = base + py * kTileSheetWidth + px;
            out[flipX ? 7 - px : px] = at < sheet.size() ? row[sheet[at] & 15] : missing;
        }
    }
}

// Gives a layer image the size asked, keeping its buffer when the size is unchanged (every
// pixel is drawn again anyway).
void ShapeImage(LayerImage& image, std::uint32_t width, std::uint32_t height) {
    const std::size_t count = std::size_t{width} * height;
    if (image.pixels.size() != count) {
        image.pixels.assign(count, 0);
    }
    image.width = width;
    image.height = height;
}

// The 64 ARGB pixels of world-map tile t, row by row, from the linear sheet.
void WorldTilePixels(std::span<const std::uint8_t> sheet, const ColorTable& colors, std::uint32_t t,
                     std::uint32_t* out) {
    const std::size_t base = (t >> 4) * 1024 + (t & 15) * 8;
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t c = 0; c < 8; ++c) {
            out[r * 8 + c] = colors[GetU8(sheet, base + r * kTileSheetWidth + c)];
        }
    }
}

// Draws world-map cell (cx, cy) of an image: quadrant q (top-left, top-right, bottom-left,
// bottom-right) is the 8 x 8 tile that tileOf(q) points at.
template <typename TileOf>
void DrawWorldCell(LayerImage& image, std::uint64_t cx, std::uint64_t cy, TileOf tileOf) {
    const std::size_t stride = image.width;
    for (std::size_t q = 0; q < 4; ++q) {
        const std::uint32_t* tile = tileOf(q);
        std::uint32_t* out =
            image.pixels.data() + (cy * 16 + (q >> 1) * 8) * stride + cx * 16 + (q & 1) * 8;
        for (std::size_t r = 0; r < 8; ++r, out += stride) {
            std::memcpy(out, tile + r * 8, 8 * sizeof(std::uint32_t));
        }
    }
}

// The width and height of world map `mapId` in 8-pixel units; 0 for other maps.
std::uint32_t WorldMapSizeTiles(std::uint32_t mapId) {
    const WorldMapLayout* layout = WorldMapLayoutOf(mapId);
    return layout != nullptr ? layout->widthTiles : 0;
}

}  // namespace

void MapRenderer::BuildLayerImage(std::span<const std::uint8_t> map,
                                  std::span<const std::uint8_t> table, std::uint32_t widthTiles,
                                  std::uint32_t heightTiles, std::uint32_t layer,
                                  std::uint32_t offset) {
    if (layer > 1) {
        return;
    }
    if (layerImages.size() < layer + 1) {
        layerImages.resize(layer + 1);
    }
    const bool withTable = !table.empty();
    const std::uint64_t cells = map.size() / 2;
    std::uint64_t w = widthTiles > kMaxLayerWidthTiles ? 0 : widthTiles;
    // Never taller than the map: a header byte must not make us read past it.
    const std::uint64_t rowsHeld = withTable ? 2 * RowsHeld(cells, w / 2) : RowsHeld(cells, w);
    const std::uint64_t h = std::min<std::uint64_t>(heightTiles, rowsHeld);
    if (h == 0) {
        w = 0;
    }
    LayerImage& image = layerImages[layer];
    ShapeImage(image, static_cast<std::uint32_t>(w * 8), static_cast<std::uint32_t>(h * 8));

    const auto cellAt = [&](std::uint64_t index) {
        return index < cells ? GetU16(map, 2 * index) : std::uint16_t{0};
    };
    std::vector<std::uint16_t> grid(w * h, 0);
    if (withTable) {
        // Each metatile cell puts its four entries at (2cx, 2cy) to (2cx + 1, 2cy + 1).
        const std::uint64_t perRow = w / 2;
        for (std::uint64_t cy = 0; cy < h / 2; ++cy) {
            for (std::uint64_t cx = 0; cx < perRow; ++cx) {
                const std::size_t at = (cellAt(cy * perRow + cx) & 0x3FFu) * 8u;
                std::uint16_t* topLeft = grid.data() + 2 * cy * w + 2 * cx;
                topLeft[0] = GetU16(table, at);
                topLeft[1] = GetU16(table, at + 2);
                topLeft[w] = GetU16(table, at + 4);
                topLeft[w + 1] = GetU16(table, at + 6);
            }
        }
        std::vector<std::uint8_t> dump(grid.size() * 2);
        for (std::size_t i = 0; i < grid.size(); ++i) {
            dump[2 * i] = static_cast<std::uint8_t>(grid[i]);
            dump[2 * i + 1] = static_cast<std::uint8_t>(grid[i] >> 8);
        }
        WriteDumpFile("rMap.bin", dump);
    } else {
        for (std::uint64_t i = 0; i < grid.size(); ++i) {
            grid[i] = cellAt(i);
        }
    }

    // The upper layer is the transparent one: layer 1 normally, layer 0 when it has priority.
    const bool transparent = layer == (layer0Priority ? 0u : 1u);
    const std::uint32_t missing = transparent ? kTransparentPixel : kMissingPixel;
    const RowColors colors = LayerColors(OpaqueColors(argbPalette), transparent);
    for (std::uint64_t ty = 0; ty < h; ++ty) {
        for (std::uint64_t tx = 0; tx < w; ++tx) {
            const std::uint32_t entry = (grid[ty * w + tx] + offset) & 0xFFFF;
            DrawTileEntry(image.pixels.data(), image.width, tx, ty, entry, tileSheet, colors,
                          missing);
        }
    }
}

void MapRenderer::BuildWorldMapImage(std::span<const std::uint8_t> map,
                                     std::span<const std::uint8_t> table, std::uint32_t widthTiles,
                                     std::uint32_t heightTiles) {
    if (layerImages.empty()) {
        layerImages.resize(1);
    }
    std::uint64_t w = widthTiles > kMaxLayerWidthTiles ? 0 : widthTiles;
    const std::uint64_t perRow = w / 2;
    const std::uint64_t h = std::min<std::uint64_t>(heightTiles, 2 * RowsHeld(map.size(), perRow));
    if (h == 0) {
        w = 0;
    }
    LayerImage& image = layerImages[0];
    ShapeImage(image, static_cast<std::uint32_t>(w * 8), static_cast<std::uint32_t>(h * 8));

    // The 256 tiles as ready ARGB rows: each cell is then four tiles of eight row copies.
    const ColorTable colors = OpaqueColors(argbPalette);
    std::vector<std::uint32_t> tiles(256 * 64);
    for (std::uint32_t t = 0; t < 256; ++t) {
        WorldTilePixels(linearSheet, colors, t, tiles.data() + t * 64);
    }
    for (std::uint64_t cy = 0; cy < h / 2; ++cy) {
        for (std::uint64_t cx = 0; cx < perRow; ++cx) {
            const std::size_t at = GetU8(map, cy * perRow + cx) * 4u;
            DrawWorldCell(image, cx, cy,
                          [&](std::size_t q) { return tiles.data() + GetU8(table, at + q) * 64u; });
        }
    }
}

void MapRenderer::RebuildWorldMapImage(std::uint32_t mapId) {
    const std::uint32_t size = WorldMapSizeTiles(mapId);
    if (size != 0) {
        BuildWorldMapImage(layerMap[0], metatileTables[0], size, size);
    }
}

bool MapRenderer::RedrawWorldMapCell(std::uint32_t mapId, std::uint32_t x, std::uint32_t y) {
    const std::uint32_t size = WorldMapSizeTiles(mapId);
    if (size == 0 || layerImages.empty() || !layerImages[0].HasPixels() ||
        layerImages[0].width != size * 8) {
        return false;
    }
    // The image has the shape a rebuild gives it, so only the cell's own 16 x 16 pixels can
    // differ. The byte lies where SetMapByte put it, which for a column past the row's end is
    // a cell of a later row.
    LayerImage& image = layerImages[0];
    const std::uint64_t perRow = size / 2;
    const std::uint64_t index = perRow * y + x;
    const std::uint64_t cx = index % perRow;
    const std::uint64_t cy = index / perRow;
    if (cy >= image.height / 16) {
        return true;  // a byte past the drawn rows shows nowhere
    }
    const ColorTable colors = OpaqueColors(argbPalette);
    const std::span<const std::uint8_t> table = metatileTables[0];
    const std::size_t at = GetU8(layerMap[0], index) * 4u;
    std::array<std::uint32_t, 4 * 64> tiles;
    for (std::size_t q = 0; q < 4; ++q) {
        WorldTilePixels(linearSheet, colors, GetU8(table, at + q), tiles.data() + q * 64);
    }
    DrawWorldCell(image, cx, cy, [&](std::size_t q) { return tiles.data() + q * 64; });
    return true;
}

void MapRenderer::RenderLayers(std::uint32_t* layer0WidthTiles, std::uint32_t* layer1WidthTiles) {
    if (tileData.empty() || tileDataSize == 0) {
        return;
    }
    ConvertPlanarTiles(
        std::span(tileData).first(std::min<std::size_t>(tileDataSize, tileData.size())));
    if (layerMap[0].empty()) {
        return;
    }
    // The image is as tall as the map really is; layerHeight keeps what the header stored,
    // which a save writes back.
    const auto build = [this](std::uint32_t layer) {
        BuildLayerImage(layerMap[layer], metatileTables[MetatileTableOf(layer)],
                        layerWidth[layer] / 8, layerHeight[layer] / 8, layer,
                        tileNumberOffset[layer]);
    };
    build(0);
    if (!layerMap[1].empty()) {
        build(1);
        if (layer1WidthTiles != nullptr) {
            *layer1WidthTiles = layerWidth[1] / 8;
        }
    }
    if (layer0WidthTiles != nullptr) {
        *layer0WidthTiles = layerWidth[0] / 8;
    }
}

void MapRenderer::RebuildLayer(std::uint32_t layer, std::uint32_t layerWidthPixels) {
    const std::uint32_t w = layerWidthPixels / 8;
    const std::uint64_t h = std::uint64_t{layerMap[layer].size()} * 2 / w;
    BuildLayerImage(layerMap[layer], metatileTables[MetatileTableOf(layer)], w,
                    static_cast<std::uint32_t>(std::min<std::uint64_t>(h, UINT32_MAX)), layer,
                    tileNumberOffset[layer]);
}

void MapRenderer::SetTileEntry(std::uint32_t x, std::uint32_t y, std::uint16_t value,
                               std::uint32_t layerWidthPixels, std::uint32_t layer) {
    if (layer > 1 || layerImages.size() <= layer || layerMap[layer].empty() ||
        layerWidthPixels < 8) {
        return;
    }
    const std::uint64_t index = (std::uint64_t{layerImages[layer].width} * y >> 4) + x;
    if (!PutU16(layerMap[layer], 2 * index, value)) {
        return;
    }
    RebuildLayer(layer, layerWidthPixels);
}

void MapRenderer::ApplyLayerData(std::span<const std::uint8_t> data, std::uint32_t layerWidthPixels,
                                 std::uint32_t layer) {
    if (layer > 1 || layerMap[layer].empty() || layerWidthPixels < 8) {
        return;
    }
    const std::size_t count = std::min(data.size(), layerMap[layer].size());
    std::copy_n(data.begin(), count, layerMap[layer].begin());
    RebuildLayer(layer, layerWidthPixels);
}

void MapRenderer::SetMapByte(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
    if (layerImages.empty() || layerMap[0].empty()) {
        return;
    }
    // The buffer holds twice the map's cells, hence the doubled row offset in the test.
    const std::uint64_t r = std::uint64_t{layerImages[0].width >> 4} * y;
    if (x + 2 * r < layerMap[0].size()) {
        layerMap[0][r + x] = value;
    }
}

std::uint8_t MapRenderer::GetMapByte(std::uint32_t x, std::uint32_t y) const {
    if (layerImages.empty() || layerMap[0].empty()) {
        return 0;
    }
    const std::uint64_t r = std::uint64_t{layerImages[0].width >> 4} * y;
    return x + 2 * r < layerMap[0].size() ? layerMap[0][r + x] : 0;
}

void MapRenderer::DrawTileSheet(Canvas& panel, std::uint32_t firstMetatile, bool clear,
                                std::uint32_t layer) const {
    if (clear) {
        panel.FillRect(0, 0, kTileSheetWidth, 512, kPanelBackground);
    }
    const std::vector<std::uint8_t>& table = metatileTables[MetatileTableOf(layer)];
    const std::uint32_t filled = metatileTableSizes[MetatileTableOf(layer)];
    // 8-pixel rows, never more than the table's buffer can fill.
    const std::uint32_t rows =
        std::min<std::uint32_t>(filled, static_cast<std::uint32_t>(table.size())) >> 4;
    const ColorTable colors = OpaqueColors(argbPalette);

    if (tileSetType == kTileSetLinear) {
        if (linearSheet.empty()) {
            return;
        }
        // World maps: 4-byte metatiles of table 0 in order, eight per 16-pixel row.
        Canvas image(kTileSheetWidth, static_cast<int>(rows * 8), kPanelBackground);
        const std::vector<std::uint8_t>& worldTable = metatileTables[0];
        for (std::uint32_t i = 0; i < 8 * (rows / 2); ++i) {
            const std::size_t at = (i & 0xFF) * 4u;
            for (std::uint32_t q = 0; q < 4; ++q) {
                const std::uint32_t t = GetU8(worldTable, at + q);
                const std::size_t base = (t >> 4) * 1024 + (t & 15) * 8;
                const int x0 = static_cast<int>((i % 8) * 16 + (q & 1) * 8);
                const int y0 = static_cast<int>((i / 8) * 16 + (q >> 1) * 8);
                for (int r = 0; r < 8; ++r) {
                    for (int c = 0; c < 8; ++c) {
                        image.Set(x0 + c, y0 + r,
                                  colors[GetU8(linearSheet, base + r * kTileSheetWidth + c)]);
                    }
                }
            }
        }
        panel = std::move(image);
        return;
    }
    if (tileSheet.empty()) {
        return;
    }
    const RowColors sheetColors = LayerColors(colors, false);
    const std::uint32_t shown = std::min<std::uint32_t>(rows, 64);
    Canvas image(kTileSheetWidth, static_cast<int>(shown * 8), kMissingPixel);
    const std::uint32_t metatiles = 8 * ((shown + 1) / 2);
    for (std::uint32_t i = 0; i < metatiles; ++i) {
        const std::uint64_t m = std::uint64_t{firstMetatile} + i;
        std::array<std::uint16_t, 4> entries{};
        if (m * 8 <= filled) {
            entries[0] = GetU16(table, m * 8);
            entries[1] = GetU16(table, m * 8 + 2);
        }
        if (m * 8 + 4 <= filled) {
            entries[2] = GetU16(table, m * 8 + 4);
            entries[3] = GetU16(table, m * 8 + 6);
        }
        for (std::uint32_t q = 0; q < 4; ++q) {
            const std::size_t tx = (i % 8) * 2 + (q & 1);
            const std::size_t ty = (i / 8) * 2 + (q >> 1);
            if (ty < shown) {
                DrawTileEntry(image.Pixels(), kTileSheetWidth, tx, ty, entries[q], tileSheet,
                              sheetColors, kMissingPixel);
            }
        }
    }
    panel = std::move(image);
}

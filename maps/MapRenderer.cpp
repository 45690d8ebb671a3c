#include "maps/MapRenderer.h"

#include <algorithm>

#include "maps/PlanarTile.h"
#include "maps/ScriptPointer.h"
#include "maps/SnesColor.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"

MapRenderer::MapRenderer(ProjectContext& project) : project_(&project) {
    // The palettes start as every Reset leaves them, so the first load renders like the rest.
    FillResetPalettes();
}

void MapRenderer::FillResetPalettes() {
    argbPalette.fill(kResetArgbColor);
    snesPalette.fill(kResetSnesColor);
}

void MapRenderer::Reset() {
    layerImages.clear();
    FillResetPalettes();
    tileData.clear();
    linearTiles.clear();
    tileSheet.clear();
    linearSheet.clear();
    collision.clear();
    for (auto& table : metatileTables) {
        table.clear();
    }
    for (auto& map : layerMap) {
        map.clear();
    }
    metatileTableSizes.fill(0);
    layerWidth.fill(0);
    layerHeight.fill(0);
    tileNumberOffset.fill(0);
    tileDataSize = 0;
    collisionSize = 0;
    paletteSource = 0;
    layerSource.fill(0);
    tileSource = 0;
    metatileSource = 0;
    collisionSource = 0;
}

std::uint8_t MapRenderer::ImageByte(std::uint32_t address) const {
    return project_->Read8(project_->WrapRomOffset(address));
}

std::uint32_t MapRenderer::ReadU24(bool advance) {
    const std::uint32_t c = cursor;
    const std::uint32_t value =
        ImageByte(c) | ImageByte(c + 1) << 8 | static_cast<std::uint32_t>(ImageByte(c + 2)) << 16;
    if (advance) {
        cursor = c + 3;
    }
    return value;
}

std::uint32_t MapRenderer::ReadScriptPointer() {
    const std::uint32_t pointerPos = cursor;
    return ResolveScriptPointer(pointerPos, ReadU24(true));
}

void MapRenderer::LoadPaletteRow(std::uint32_t address, std::uint32_t row) {
    if (row > 15) {
        return;
    }
    const std::uint32_t base = project_->WrapRomOffset(address);
    for (std::uint32_t i = 0; i < 16; ++i) {
        const std::uint16_t color = project_->Read16(base + 2 * i);
        snesPalette[row * 16 + i] = color;
        argbPalette[row * 16 + i] = SnesColorToArgb(color, i == 0 ? 0 : 0xFF);
    }
}

void MapRenderer::LoadPalette256(std::uint32_t address) {
    for (std::uint32_t i = 0; i < 256; ++i) {
        const auto color = static_cast<std::uint16_t>(ImageByte(address + 2 * i) |
                                                      ImageByte(address + 2 * i + 1) << 8);
        snesPalette[i] = color;
        argbPalette[i] = SnesColorToArgb(color, i == 0 ? 0 : 0xFF);
    }
}

void MapRenderer::ConvertPlanarTiles(std::span<const std::uint8_t> tiles) {
    if (!tiles.empty()) {
        WriteDumpFile("Tiles.bin", tiles);
    }
    tileSheet.assign(2 * tiles.size(), 0);
    // Each whole group of 16 tiles (512 bytes) is one sheet row of tiles (1024 bytes); a
    // trailing part group is not converted.
    const std::size_t groups = tiles.size() >> 9;
    for (std::size_t g = 0; g < groups; ++g) {
        for (std::size_t k = 0; k < 16; ++k) {
            DecodePlanarTile(tiles.data() + g * 512 + k * kPlanarTileBytes,
                             tileSheet.data() + g * 1024 + k * 8, kTileSheetWidth);
        }
    }
    if (tiles.size() / 2 != 0) {
        WriteDumpFile("Tiless.bin", std::span(tileSheet).first(tiles.size() / 2));
    }
}

void MapRenderer::CopyLinearTiles(std::span<const std::uint8_t> tiles) {
    // Always a whole sheet of 256 tiles; tiles missing from a short block stay 0.
    linearSheet.assign(kLinearSheetBytes, 0);
    for (std::size_t g = 0; g < 16; ++g) {
        for (std::size_t k = 0; k < 16; ++k) {
            for (std::size_t r = 0; r < 8; ++r) {
                const std::size_t from = g * 1024 + k * 64 + r * 8;
                if (from >= tiles.size()) {
                    return;
                }
                const std::size_t count = std::min<std::size_t>(8, tiles.size() - from);
                std::copy_n(tiles.begin() + from, count,
                            linearSheet.begin() + g * 1024 + r * 128 + k * 8);
            }
        }
    }
}

#include <algorithm>
#include <utility>

#include "maps/CollisionDigits.h"
#include "maps/MapRenderer.h"
#include "maps/ObjectSpriteDrawer.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kYellow = 0xFFFFFF00;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint8_t kMarkAlpha = 0x4B;
constexpr std::uint8_t kShopAlpha = 0x78;
constexpr std::uint8_t kCollisionAlpha = 0x80;
constexpr int kCell = 16;
// Object lists live within one bank; no walk goes further.
constexpr std::uint32_t kMaxObjectListBytes = 0x10000;
// Nor the shop table: an image without its end marker must not be walked to its end on
// every redraw.
constexpr std::uint32_t kMaxShopTableBytes = 0x10000;
constexpr std::uint32_t kObjectListMaps = 1110;

// Blends a plain rectangle of one colour over the view.
void BlendRect(Canvas& view, int x, int y, int w, int h, std::uint32_t color, std::uint8_t alpha) {
    if (w <= 0 || h <= 0) {
        return;
    }
    const Canvas stamp(w, h, color);
    view.Blend(stamp.Source(), x, y, 0, 0, w, h, alpha);
}

// Whether a rectangle in map pixels lies wholly inside the visible part of the map.
bool WhollyVisible(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, int scrollX,
                   int scrollY, int viewWidth, int viewHeight) {
    return x >= scrollX && y >= scrollY && x + w <= std::int64_t{scrollX} + viewWidth &&
           y + h <= std::int64_t{scrollY} + viewHeight;
}

}  // namespace

void MapRenderer::PaintMapView(Canvas& view, int scrollX, int scrollY, int viewWidth,
                               int viewHeight) {
    if (layerImages.empty()) {
        return;
    }
    const LayerImage& lower0 = layerImages[0];
    const int w = static_cast<int>(std::min<std::int64_t>(lower0.width, std::max(viewWidth, 0)));
    const int h = static_cast<int>(std::min<std::int64_t>(lower0.height, std::max(viewHeight, 0)));
    view.Resize(w, h, kPageBackground);

    if (lower0.HasPixels()) {
        const std::size_t count = std::min<std::size_t>(lower0.pixels.size(), 128);
        std::vector<std::uint8_t> dump(count * 4);
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t b = 0; b < 4; ++b) {
                dump[4 * i + b] = static_cast<std::uint8_t>(lower0.pixels[i] >> (8 * b));
            }
        }
        WriteDumpFile("map.bin", dump);
    }

    // The lower layer is copied whole; the upper one lets the lower show through where its
    // pixel is exactly the transparent value. Layers of other sizes are clipped.
    const LayerImage* layer1 = layerImages.size() > 1 ? &layerImages[1] : nullptr;
    const auto lower = [&](const LayerImage& layer) {
        view.Copy(layer.Source(), 0, 0, scrollX, scrollY, w, h);
    };
    const auto upper = [&](const LayerImage& layer) {
        view.CopyKeyed(layer.Source(), 0, 0, scrollX, scrollY, w, h, kTransparentPixel);
    };
    if (layer0Priority) {
        if (showLayer1 && layer1 != nullptr) {
            lower(*layer1);
        }
        if (showLayer0) {
            upper(lower0);
        }
    } else {
        if (showLayer0) {
            lower(lower0);
        }
        if (showLayer1 && layer1 != nullptr) {
            upper(*layer1);
        }
    }
}

void MapRenderer::DrawPalette(Canvas& box) const {
    // Rows 0 to 7 of the palette, an 8 x 8 swatch per colour on light grey.
    Canvas image(148, 80, 0xFFF0F0F0);
    for (int i = 0; i < 128; ++i) {
        image.FillRect((i & 15) * 9, (i >> 4) * 10, 8, 8, argbPalette[i] | 0xFF000000u);
    }
    if (box.Empty()) {
        box.Resize(image.Width(), image.Height());
    }
    box.Copy(image.Source(), 0, 0, 0, 0, image.Width(), image.Height());
}

void MapRenderer::DrawExits(Canvas& view, std::uint32_t mapId, int scrollX, int scrollY,
                            int viewWidth, int viewHeight) const {
    const auto& lists = project_->exitLists;
    if (!showExits || mapId >= lists.size() || lists[mapId].empty()) {
        return;
    }
    // A rectangle of cells is drawn only when all of it is visible.
    const auto mark = [&](std::uint32_t x, std::uint32_t y, std::uint32_t w, std::uint32_t h,
                          std::uint32_t color) {
        const std::int64_t left = std::int64_t{x} * kCell;
        const std::int64_t top = std::int64_t{y} * kCell;
        if (w == 0 || h == 0 ||
            !WhollyVisible(left, top, std::int64_t{w} * kCell, std::int64_t{h} * kCell, scrollX,
                           scrollY, viewWidth, viewHeight)) {
            return;
        }
        BlendRect(view, static_cast<int>(left - scrollX), static_cast<int>(top - scrollY),
                  static_cast<int>(w * kCell), static_cast<int>(h * kCell), color, kMarkAlpha);
    };
    if (mapId == 2) {
        for (const auto& exit : project_->worldMapExits) {
            mark(exit.x, exit.y, exit.width, exit.height, kYellow);
        }
    }
    for (const auto& exit : lists[mapId]) {
        mark(exit.posX, exit.posY, exit.sizeX, exit.sizeY, kGreen);
    }
}

void MapRenderer::HighlightEntry(Canvas& view, std::uint32_t mapId, int scrollX, int scrollY,
                                 int viewWidth, int viewHeight) const {
    const std::uint32_t table = project_->Table(RegionTable::ShopTable);
    if (table == 0) {
        return;
    }
    // 9-byte shop records up to the one whose first word is 0xFFFF, never past the image nor
    // more than 64 KB from the table's start.
    const std::uint64_t end = std::min<std::uint64_t>(project_->romImage.size(),
                                                      std::uint64_t{table} + kMaxShopTableBytes);
    for (std::uint64_t at = table; at + 9 <= end; at += 9) {
        const auto record = static_cast<std::uint32_t>(at);
        const std::uint16_t id = project_->Read16(record);
        if (id == 0xFFFF) {
            break;
        }
        if (id != mapId) {
            continue;
        }
        const int x = project_->Read8(record + 6) * kCell;
        const int y = project_->Read8(record + 7) * kCell;
        if (WhollyVisible(x, y, kCell, kCell, scrollX, scrollY, viewWidth, viewHeight)) {
            BlendRect(view, x - 1 - scrollX, y - scrollY, kCell, kCell, kYellow, kShopAlpha);
        }
    }
}

void MapRenderer::DrawObjects(Canvas& view, ObjectSpriteDrawer* sprites, std::uint32_t mapId,
                              int scrollX, int scrollY, int viewWidth, int viewHeight) const {
    if (!showObjects || mapId >= kObjectListMaps) {
        return;
    }
    const ProjectContext& project = *project_;
    // Table B's list when it has one, else table A's; a pointer of 0 means no list.
    std::uint32_t pointer = project.Read16(project.WrapRomOffset(
        project.Table(RegionTable::SpritePlacementPointerTableB) + 2 * mapId));
    std::uint32_t bank = project.Table(RegionTable::SpritePlacementBankB);
    if (pointer == 0) {
        pointer = project.Read16(project.WrapRomOffset(
            project.Table(RegionTable::SpritePlacementPointerTableA) + 2 * mapId));
        bank = project.Table(RegionTable::SpritePlacementBankA);
    }
    if (pointer == 0) {
        return;
    }
    const std::uint32_t start = project.WrapRomOffset(bank | pointer);
    const std::uint64_t end = std::min<std::uint64_t>(project.romImage.size(),
                                                      std::uint64_t{start} + kMaxObjectListBytes);

    const auto stamp = [&](int x, int y, std::uint32_t color) {
        BlendRect(view, x - scrollX, y - scrollY, kCell, kCell, color, kMarkAlpha);
    };
    std::uint32_t lastLayout = 0;
    std::uint64_t at = std::uint64_t{start} + 2;  // past the head word
    while (at < end) {
        const auto pos = static_cast<std::uint32_t>(at);
        const std::uint8_t code = project.Read8(pos);
        if (code == 0xFF) {
            break;
        }
        if (code == 0xF0) {
            at += 7;
        } else if (code == 0xFB || code == 0xFE) {
            at += 5;
        } else if (code == 0xFA) {
            at += (project.Read16(pos + 1) & 0x1000) != 0 ? 7 : 5;
        } else if (code == 0xFD) {
            const int x = project.Read8(pos + 1) * kCell;
            const int y = project.Read8(pos + 2) * kCell - kCell;
            if (WhollyVisible(x, y, kCell, kCell, scrollX, scrollY, viewWidth, viewHeight)) {
                stamp(x, y, kRed);
            }
            at += 7;
        } else if ((code & 0x3F) == 0 || (code & 0x3F) == 1) {
            // An object with its sprite; the second form may name no sprite of its own and
            // carries six more bytes for two flag values.
            const int x = project.Read8(pos + 1) * kCell;
            const int y = project.Read8(pos + 2) * kCell - kCell;
            const std::uint8_t flags = project.Read8(pos + 3);
            const std::uint32_t script = project.Read24(pos + 4);
            std::uint32_t layout = project.Read24(pos + 7);
            bool trySprite = true;
            if ((code & 0x3F) == 1) {
                if (layout == 0) {
                    layout = lastLayout;
                    trySprite = layout != 0;
                }
                lastLayout = layout;
                at += flags == 0xFF || flags == 0xC0 ? 16 : 10;
            } else {
                at += 10;
            }
            if (trySprite && sprites != nullptr) {
                sprites->Load(layout);
            }
            if (WhollyVisible(x, y, kCell, kCell, scrollX, scrollY, viewWidth, viewHeight)) {
                bool drawn = false;
                if (trySprite && sprites != nullptr) {
                    const std::uint32_t animation = project.Read8(project.WrapRomOffset(script));
                    drawn = sprites->DrawFrame(x - scrollX, y - scrollY, animation, view);
                }
                if (!drawn) {
                    stamp(x, y, kBlue);
                }
            }
        } else {
            at += 1;
        }
    }
}

void MapRenderer::DrawCollision(Canvas& view, CollisionMode mode, int scrollX, int scrollY,
                                int viewWidth, int viewHeight) const {
    if (mode == CollisionMode::Hide || collision.empty() || layerImages.empty()) {
        return;
    }
    const std::vector<std::uint8_t>& map = layerMap[0];
    const std::uint64_t perRow = layerImages[0].width >> 4;
    // Every cell the view shows, however large the page made it, those that its edges cut
    // included, and no more than the map has.
    const auto seenCells = [](int scroll, int extent, std::int64_t mapCells) {
        const std::int64_t first = std::max(scroll, 0) / kCell;
        const std::int64_t end = std::min<std::int64_t>(
            mapCells, (std::int64_t{scroll} + std::max(extent, 0) + kCell - 1) / kCell);
        return std::pair{first, end};
    };
    const auto [firstRow, endRow] =
        seenCells(scrollY, viewHeight, std::min(layerHeight[0], layerImages[0].height) / kCell);
    const auto [firstCol, endCol] = seenCells(scrollX, viewWidth, layerWidth[0] / kCell);
    const PixelSource digits = CollisionDigitStrip().Source();
    // A cell that the view's edge cuts is drawn only within the view.
    const auto blend = [&](const PixelSource& source, int x, int y, int sx, int w, int h) {
        const int left = std::max(x, 0);
        const int top = std::max(y, 0);
        const int right = std::min(x + w, viewWidth);
        const int bottom = std::min(y + h, viewHeight);
        if (right > left && bottom > top) {
            view.Blend(source, left, top, sx + left - x, top - y, right - left, bottom - top,
                       kCollisionAlpha);
        }
    };
    const auto fill = [&](int x, int y, int w, int h, std::uint32_t color) {
        const Canvas stamp(w, h, color);
        blend(stamp.Source(), x, y, 0, w, h);
    };
    for (std::int64_t cy = firstRow; cy < endRow; ++cy) {
        for (std::int64_t cx = firstCol; cx < endCol; ++cx) {
            const std::uint64_t index = perRow * static_cast<std::uint64_t>(cy) + cx;
            const std::uint32_t cell = 2 * index + 2 <= map.size() ? GetU16(map, 2 * index) : 0;
            // The table has one byte per metatile number below 512; larger cells show nothing.
            if (cell >= kCollisionEntries) {
                continue;
            }
            const std::uint8_t v = GetU8(collision, cell);
            const int px = static_cast<int>(cx * kCell - scrollX);
            const int py = static_cast<int>(cy * kCell - scrollY);
            if (mode == CollisionMode::Numbers) {
                blend(digits, px, py, (v >> 4) * kDigitWidth, kDigitWidth, kDigitHeight);
                blend(digits, px + kDigitWidth, py, (v & 15) * kDigitWidth, kDigitWidth,
                      kDigitHeight);
            }
            switch (v) {
                case 8:
                case 12:
                case 13:
                case 14:
                case 15:
                case 16:
                case 21:
                case 25:
                    fill(px, py, kCell, kCell, kRed);
                    break;
                case 6:
                case 7:
                    // Slopes: a green cell crossed by a red diagonal.
                    fill(px, py, kCell, kCell, kGreen);
                    for (int k = 0; k < kCell; ++k) {
                        fill(px + (v == 6 ? kCell - 1 - k : k), py + k, 1, 1, kRed);
                    }
                    break;
                case 22:
                    fill(px, py, kCell, kCell / 2, kRed);
                    fill(px, py + kCell / 2, kCell, kCell / 2, kGreen);
                    break;
                case 30:
                    fill(px + 15, py, kCell, kCell, kRed);
                    break;
                case 205:
                    break;
                default:
                    fill(px, py, kCell, kCell, kGreen);
                    break;
            }
        }
    }
}

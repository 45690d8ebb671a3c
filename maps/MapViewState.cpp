#include "maps/MapViewState.h"

#include <algorithm>
#include <cstdio>

#include "maps/MapRenderer.h"
#include "platform/Canvas.h"

bool IsWorldMapId(std::uint32_t id) {
    return id == 2 || id == 3 || id == 5 || id == 35;
}

namespace {

// The last position: the view's far edge on the map's.
std::uint32_t ScrollLimit(std::uint32_t mapExtent, std::uint32_t viewExtent) {
    return mapExtent > viewExtent ? mapExtent - viewExtent : 0;
}

}  // namespace

bool StepScroll(std::uint32_t& position, bool back, std::uint32_t mapExtent,
                std::uint32_t viewExtent) {
    if (back) {
        if (position == 0) {
            return false;
        }
        // Back onto the 16-pixel grid that the steps from 0 keep.
        position = (position - 1) / 16 * 16;
        return true;
    }
    const std::uint32_t limit = ScrollLimit(mapExtent, viewExtent);
    if (position >= limit) {
        return false;
    }
    // The last step may be shorter: the view stops at the map's edge, showing nothing past it.
    position = std::min(position + 16, limit);
    return true;
}

void ClampScroll(std::uint32_t& position, std::uint32_t mapExtent, std::uint32_t viewExtent) {
    position = std::min(position, ScrollLimit(mapExtent, viewExtent));
}

void CopyViewCell(Canvas& box, const Canvas& view, std::uint32_t x, std::uint32_t y,
                  std::uint32_t scrollX, std::uint32_t scrollY) {
    // A scroll that stopped at the map's edge need not be a multiple of 16.
    const auto cellStart = [](std::uint32_t at, std::uint32_t scroll) {
        return static_cast<int>(static_cast<std::int64_t>((std::uint64_t{at} + scroll) / 16 * 16) -
                                scroll);
    };
    box.Fill(kPageBackground);
    box.Copy(view.Source(), 0, 0, cellStart(x, scrollX), cellStart(y, scrollY), 16, 16);
}

std::uint32_t ViewExtentFor(std::int64_t room, std::uint32_t least) {
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(room, least, std::max(least, kMaxViewExtent)));
}

void MapViewState::Clear() {
    ClearLayers();
    selectedColumn = selectedRow = exitIndex = editLayer = 0;
}

void MapViewState::ClearLayers() {
    layerSize = {256, 0, 256, 0};
    scrollX = scrollY = panelScroll = 0;
    horizontalScrollText = verticalScrollText = "0/x";
}

void MapViewState::SetLoadedLayers(std::uint32_t layer0WidthTiles, std::uint32_t layer0MapBytes,
                                   std::uint32_t layer1WidthTiles, std::uint32_t layer1MapBytes) {
    // A tile map holds two bytes per 16-pixel cell, so bytes per 8-pixel column give 16-pixel
    // rows.
    auto height = [](std::uint32_t widthTiles, std::uint32_t mapBytes) -> std::uint32_t {
        return widthTiles == 0 ? 0 : mapBytes / widthTiles * 16;
    };
    layerSize = {layer0WidthTiles * 8, height(layer0WidthTiles, layer0MapBytes),
                 layer1WidthTiles * 8, height(layer1WidthTiles, layer1MapBytes)};
    ResetScroll();
}

void MapViewState::ResetScroll() {
    scrollX = scrollY = panelScroll = 0;
    WriteScrollTexts();
}

bool MapViewState::SetViewSize(std::int64_t width, std::int64_t height) {
    const std::uint32_t newWidth = ViewExtentFor(width, kMapViewSize);
    const std::uint32_t newHeight = ViewExtentFor(height, kMapViewSize);
    if (newWidth == viewWidth && newHeight == viewHeight) {
        return false;
    }
    viewWidth = newWidth;
    viewHeight = newHeight;
    ClampScroll(scrollX, layerSize[0], viewWidth);
    ClampScroll(scrollY, layerSize[1], viewHeight);
    return true;
}

void MapViewState::WriteScrollTexts() {
    horizontalScrollText = ScrollText(scrollX, layerSize[0], viewWidth);
    verticalScrollText = ScrollText(scrollY, layerSize[1], viewHeight);
}

std::string MapViewState::ScrollText(std::uint32_t position, std::uint32_t layerExtent,
                                     std::uint32_t viewExtent) {
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u", position, ScrollLimit(layerExtent, viewExtent));
    return text;
}

MapViewState::WheelResult MapViewState::WheelOverView(bool up, bool ctrl, bool shift,
                                                      bool anyButton) {
    const bool vertical = !ctrl && !shift && !anyButton;
    const bool horizontal = ctrl && !shift && !anyButton;
    if (!vertical && !horizontal) {
        return WheelResult::Redraw;
    }
    std::uint32_t& position = vertical ? scrollY : scrollX;
    const std::uint32_t extent = vertical ? layerSize[1] : layerSize[0];
    const std::uint32_t viewExtent = vertical ? viewHeight : viewWidth;
    if (!StepScroll(position, up, extent, viewExtent)) {
        return WheelResult::Stopped;
    }
    (vertical ? verticalScrollText : horizontalScrollText) =
        ScrollText(position, extent, viewExtent);
    return WheelResult::Scrolled;
}

bool MapViewState::WheelOverPanels(bool up) {
    if (up) {
        if (panelScroll == 0) {
            return false;
        }
        panelScroll -= 8;
        return true;
    }
    return PanelDown();
}

bool MapViewState::PanelDown() {
    if (panelScroll + kTilePanelHeight >= kTilePanelScrollEnd) {
        return false;
    }
    panelScroll += 8;
    return true;
}

PixelRect MapViewState::SelectFromPanel(std::uint32_t px, std::uint32_t py,
                                        std::uint32_t tileSetType) {
    if (tileSetType == kByteTileSetType) {
        selectedColumn = px / 8;
        selectedRow = py / 8;
        return {selectedColumn * 8, selectedRow * 8, 8, 8};
    }
    selectedColumn = px / 16;
    selectedRow = py / 16;
    const PixelRect shown{selectedColumn * 16, selectedRow * 16, 16, 16};
    selectedRow += panelScroll / 8;
    return shown;
}

void MapViewState::SelectCellValue(std::uint16_t value) {
    // The column runs past the panel's 8 so that column + 8 x row is always the value itself.
    if (value < 192) {
        selectedColumn = value % 8;
        selectedRow = value / 8;
    } else if (value < 384) {
        selectedColumn = value % 8 + 8;
        selectedRow = (value - 192) / 8 + 23;
    } else {
        selectedColumn = value % 8 + 16;
        selectedRow = (value - 384) / 8 + 46;
    }
}

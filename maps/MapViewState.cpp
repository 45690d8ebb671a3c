#include "maps/MapViewState.h"

#include <cstdio>

bool IsWorldMapId(std::uint32_t id) {
    return id == 2 || id == 3 || id == 5 || id == 35;
}

bool StepScroll(std::uint32_t& position, bool back, std::uint32_t mapExtent,
                std::uint32_t viewExtent) {
    if (back) {
        if (position == 0) {
            return false;
        }
        position -= 16;
        return true;
    }
    if (std::uint64_t{position} + viewExtent >= mapExtent) {
        return false;
    }
    position += 16;
    return true;
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
    horizontalScrollText = ScrollText(scrollX, layerSize[0]);
    verticalScrollText = ScrollText(scrollY, layerSize[1]);
}

std::uint32_t MapViewState::ScrollLimit(std::uint32_t layerExtent) {
    return layerExtent > kMapViewSize ? layerExtent - kMapViewSize : 0;
}

std::string MapViewState::ScrollText(std::uint32_t position, std::uint32_t layerExtent) {
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u", position, ScrollLimit(layerExtent));
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
    if (!StepScroll(position, up, extent, kMapViewSize)) {
        return WheelResult::Stopped;
    }
    (vertical ? verticalScrollText : horizontalScrollText) = ScrollText(position, extent);
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

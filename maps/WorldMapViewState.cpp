#include "maps/WorldMapViewState.h"

WorldMapChoice WorldMapOfLine(int line) {
    // The two large maps share their data, and so do the two small ones.
    switch (line) {
        case 0:
            return {2, 4096, 4096};
        case 1:
            return {5, 4096, 4096};
        case 2:
            return {3, 1024, 1024};
        default:
            return {35, 1024, 1024};
    }
}

void WorldMapViewState::Show(const WorldMapChoice& map) {
    mapId = map.mapId;
    mapWidth = map.width;
    mapHeight = map.height;
    scrollX = scrollY = 0;
}

MapViewState::WheelResult WorldMapViewState::Wheel(bool up, bool ctrl, bool shift, bool anyButton,
                                                   std::uint32_t viewWidth,
                                                   std::uint32_t viewHeight) {
    using Result = MapViewState::WheelResult;
    if (shift || anyButton) {
        return Result::Redraw;
    }
    const bool moved = ctrl ? StepScroll(scrollX, up, mapWidth, viewWidth)
                            : StepScroll(scrollY, up, mapHeight, viewHeight);
    return moved ? Result::Scrolled : Result::Stopped;
}

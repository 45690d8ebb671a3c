#include "maps/WorldMapPageModel.h"

#include "maps/SpriteObjectDrawer.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr int kTileSize = static_cast<int>(kWorldCell);
constexpr int kTileSetWidth = 128;
constexpr int kTileSetHeight = 512;

}  // namespace

WorldMapPageModel::WorldMapPageModel()
    : tileView(kTileSize, kTileSize, kPageBackground),
      tileSet(kTileSetWidth, kTileSetHeight, kPageBackground) {
    // The view's size is declared after the pictures, so the view is made once it is set.
    view = EmptyView();
}

MapRenderer* WorldMapPageModel::Renderer(ProjectContext* project) {
    // The object keeps pointing at the image of a replaced project until the next load; the
    // map id, cleared by Reset, tells whether what it holds is still ours.
    if (project == nullptr || !project->HasImage() || !state.Loaded() || !worldMapRenderer ||
        &worldMapRenderer->Project() != project) {
        return nullptr;
    }
    return worldMapRenderer.get();
}

void WorldMapPageModel::Reset() {
    state = {};
    saveEnabled = false;
}

void WorldMapPageModel::Clear() {
    Reset();
    view = EmptyView();
    tileView = Canvas(kTileSize, kTileSize, kPageBackground);
    tileSet = Canvas(kTileSetWidth, kTileSetHeight, kPageBackground);
}

void WorldMapPageModel::Load(ProjectContext* project, Prompts& prompts) {
    if (project == nullptr || !project->HasImage()) {
        return;
    }
    if (!worldMapRenderer) {
        worldMapRenderer = std::make_unique<MapRenderer>(*project);
    } else {
        worldMapRenderer->SetProject(*project);
        worldMapRenderer->Reset();
    }
    MapRenderer& renderer = *worldMapRenderer;
    const WorldMapChoice map = WorldMapOfLine(mapLine);
    state.Show(map);
    renderer.showExits = showExits;
    renderer.showObjects = showObjects;

    // World maps run no header script, so no flag-dependent branch is skipped.
    std::uint32_t layer0WidthTiles = 0;
    std::uint32_t layer1WidthTiles = 0;
    const MapLoadResult loaded =
        renderer.Load(map.mapId, layer0WidthTiles, layer1WidthTiles, false);
    if (!loaded.message.empty()) {
        prompts.ShowMessage(loaded.message);
    }
    if (renderer.layerImages.empty() || !renderer.layerImages[0].HasPixels()) {
        // Nothing to show or edit: the page stays without a map rather than on a stale view.
        state.Show({});
        saveEnabled = false;
        view = EmptyView();
        tileSet = Canvas(kTileSetWidth, kTileSetHeight, kPageBackground);
        return;
    }
    RedrawView(*project, renderer);
    DrawTileSet(renderer);
    saveEnabled = true;
}

void WorldMapPageModel::Save(ProjectContext* project, Prompts& prompts) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr) {
        return;
    }
    // Only a real write is reported as saved; a refusal says why nothing was written.
    const MapSaveResult saved = renderer->SaveToRom(state.mapId);
    prompts.ShowMessage(saved.saved ? "Changes have been saved" : saved.message);
}

bool WorldMapPageModel::TileSetClick(ProjectContext* project, std::uint32_t x, std::uint32_t y) {
    if (Renderer(project) == nullptr) {
        return false;
    }
    state.pickedColumn = x / kWorldCell;
    state.pickedRow = y / kWorldCell;
    tileView.Copy(tileSet.Source(), 0, 0, static_cast<int>(state.pickedColumn * kWorldCell),
                  static_cast<int>(state.pickedRow * kWorldCell), kTileSize, kTileSize);
    return true;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> WorldMapPageModel::CellAt(
    std::uint32_t x, std::uint32_t y) const {
    const std::uint64_t mapX = std::uint64_t{x} + state.scrollX;
    const std::uint64_t mapY = std::uint64_t{y} + state.scrollY;
    // A point beside the map would name a cell of the next row.
    if (mapX >= state.mapWidth || mapY >= state.mapHeight) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::uint32_t>(mapX / kWorldCell),
                     static_cast<std::uint32_t>(mapY / kWorldCell)};
}

bool WorldMapPageModel::MapViewClick(ProjectContext* project, std::uint32_t x, std::uint32_t y) {
    MapRenderer* renderer = Renderer(project);
    const auto cell = CellAt(x, y);
    if (renderer == nullptr || !cell) {
        return false;
    }
    const auto [column, row] = *cell;
    renderer->SetMapByte(column, row, state.PickedTile());
    // Only the cell's pixels change; a whole rebuild of the 4096 x 4096 image is the fallback.
    if (!renderer->RedrawWorldMapCell(state.mapId, column, row)) {
        renderer->RebuildWorldMapImage(state.mapId);
    }
    RedrawView(*project, *renderer);
    DrawTileSet(*renderer);
    return true;
}

std::optional<WorldMapPageModel::EditorFillRequest> WorldMapPageModel::RightClick(
    ProjectContext* project, std::uint32_t x, std::uint32_t y, bool ctrl) {
    MapRenderer* renderer = Renderer(project);
    const auto cell = CellAt(x, y);
    if (renderer == nullptr || x > viewWidth_ || y > viewHeight_ || !cell ||
        renderer->layerImages.empty()) {
        return std::nullopt;
    }
    const auto [column, row] = *cell;
    if (ctrl) {
        return EditorFillRequest{state.mapId, column, row};
    }
    CopyViewCell(tileView, view, x, y, state.scrollX, state.scrollY);
    state.PickTile(renderer->GetMapByte(column, row));
    return std::nullopt;
}

void WorldMapPageModel::Wheel(ProjectContext* project, bool up, bool ctrl, bool shift,
                              bool anyButton) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr) {
        return;
    }
    if (state.Wheel(up, ctrl, shift, anyButton, viewWidth_, viewHeight_) !=
        MapViewState::WheelResult::Stopped) {
        RedrawView(*project, *renderer);
    }
}

void WorldMapPageModel::ShowExitsChanged(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->showExits = showExits;
        RedrawView(*project, *renderer);
    }
}

void WorldMapPageModel::ShowObjectsChanged(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->showObjects = showObjects;
        RedrawView(*project, *renderer);
    }
}

bool WorldMapPageModel::SetViewSize(ProjectContext* project, std::int64_t width,
                                    std::int64_t height) {
    const std::uint32_t newWidth = ViewExtentFor(width, kWorldViewWidth);
    const std::uint32_t newHeight = ViewExtentFor(height, kWorldViewHeight);
    if (newWidth == viewWidth_ && newHeight == viewHeight_) {
        return false;
    }
    viewWidth_ = newWidth;
    viewHeight_ = newHeight;
    state.ClampScroll(viewWidth_, viewHeight_);
    if (MapRenderer* renderer = Renderer(project)) {
        RedrawView(*project, *renderer);
    } else if (!state.Loaded()) {
        view = EmptyView();
    }
    return true;
}

Canvas WorldMapPageModel::EmptyView() const {
    return Canvas(static_cast<int>(viewWidth_), static_cast<int>(viewHeight_), kPageBackground);
}

void WorldMapPageModel::RedrawView(ProjectContext& project, MapRenderer& renderer) {
    const int sx = static_cast<int>(state.scrollX);
    const int sy = static_cast<int>(state.scrollY);
    const int vw = static_cast<int>(viewWidth_);
    const int vh = static_cast<int>(viewHeight_);
    renderer.PaintMapView(view, sx, sy, vw, vh);
    renderer.DrawExits(view, state.mapId, sx, sy, vw, vh);
    SpriteObjectDrawer sprites(project, spriteScratch);
    renderer.DrawObjects(view, &sprites, state.mapId, sx, sy, vw, vh);
}

void WorldMapPageModel::DrawTileSet(MapRenderer& renderer) {
    renderer.DrawTileSheet(tileSet, 0, true, 0);
}

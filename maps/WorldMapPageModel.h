#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "maps/MapPageModel.h"
#include "maps/MapRenderer.h"
#include "maps/WorldMapViewState.h"
#include "platform/Canvas.h"

class ProjectContext;
class Prompts;

// The "World Maps" page without its widgets: the pictures, what the controls show, the view
// state and the world-map object. The page reads its controls into these members, calls one
// handler and writes the members back. A handler acts only while a world map of the project it
// is given is loaded; after Reset nothing is touched until the next Load.
class WorldMapPageModel {
public:
    using EditorFillRequest = MapPageModel::EditorFillRequest;

    WorldMapPageModel();

    // The pictures.
    Canvas view;           // the map view: the view's size, or less where the map is smaller
    Canvas tileView;       // the picked 16 x 16 tile
    Canvas tileSet;        // the world map's tiles, 8 to a row
    Canvas spriteScratch;  // the colour sheet of the last sprite the object overlay drew

    // What the controls show.
    WorldMapViewState state;
    int mapLine = 0;  // the combo box's line; -1 for none
    bool showExits = false;
    bool showObjects = false;
    bool saveEnabled = false;

    // The world-map object: made by the first load and kept for the whole run; every load
    // points it at the project it loads from.
    std::unique_ptr<MapRenderer> worldMapRenderer;

    // After File > New or File > Open: no map loaded, "Save" disabled. The object and the
    // pictures stay as they are.
    void Reset();
    // Reset, and the pictures emptied as well: a new project shows nothing of the old one.
    void Clear();

    // "Load": the world map of the combo line.
    void Load(ProjectContext* project, Prompts& prompts);
    // "Save": writes the loaded world map back into the image.
    void Save(ProjectContext* project, Prompts& prompts);

    // A left click at (x, y) of the tile-set view picks its tile.
    bool TileSetClick(ProjectContext* project, std::uint32_t x, std::uint32_t y);
    // A left click at (x, y) of the map view puts the picked tile into the cell there.
    bool MapViewClick(ProjectContext* project, std::uint32_t x, std::uint32_t y);
    // A right click at (x, y) of the map view: without Ctrl the cell's tile is picked; with
    // Ctrl the answer names the cell that the floating editors should show.
    std::optional<EditorFillRequest> RightClick(ProjectContext* project, std::uint32_t x,
                                                std::uint32_t y, bool ctrl);
    // A wheel turn over the map view.
    void Wheel(ProjectContext* project, bool up, bool ctrl, bool shift, bool anyButton);
    // The overlay check boxes, after the page read them.
    void ShowExitsChanged(ProjectContext* project);
    void ShowObjectsChanged(ProjectContext* project);
    // The room the page gives the map view, in pixels; the view never shrinks below
    // 832 x 560. A shown map is drawn again at the new size. True when the size changed.
    bool SetViewSize(ProjectContext* project, std::int64_t width, std::int64_t height);
    std::uint32_t ViewWidth() const { return viewWidth_; }
    std::uint32_t ViewHeight() const { return viewHeight_; }

    // The world-map object while it holds a map loaded from `project`; else null.
    MapRenderer* Renderer(ProjectContext* project);

private:
    // The map cell under (x, y) of the view at the current scroll, when it lies on the map.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> CellAt(std::uint32_t x,
                                                                  std::uint32_t y) const;
    // The view with the exit and object overlays at the current scroll.
    void RedrawView(ProjectContext& project, MapRenderer& renderer);
    void DrawTileSet(MapRenderer& renderer);
    Canvas EmptyView() const;

    // The view's size belongs to the window, not to the map, so Reset leaves it.
    std::uint32_t viewWidth_ = kWorldViewWidth;
    std::uint32_t viewHeight_ = kWorldViewHeight;
};

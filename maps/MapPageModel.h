#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "maps/MapRenderer.h"
#include "maps/MapViewState.h"
#include "platform/Canvas.h"

class ProjectContext;
class Prompts;

// The check boxes of the "Maps" page.
struct MapPageOptions {
    bool showExits = false;       // "Exits"
    bool showObjects = false;     // "Objects/Triggers"
    bool showLayer1 = true;       // "Layer 1"
    bool layer1Tilemap0 = false;  // "Layer 1 tilemap 0"
    bool layer0Priority = false;  // "Layer 0 priority"
    bool alternativeMap = false;  // "Alternative Map"
};

// The "Maps" page without its widgets: what the controls show, the pictures, and the map
// object. The page reads its controls into these members, calls one handler, and writes the
// members back. Every handler takes the current project (null while there is none) and does
// nothing without one.
class MapPageModel {
public:
    // Where a Ctrl+right click on the map asks the floating editors to look.
    struct EditorFillRequest {
        std::uint32_t mapId = 0;
        std::uint32_t column = 0;
        std::uint32_t row = 0;
    };

    MapPageModel();

    // The pictures.
    Canvas view;           // the map view: the view's size, or less where the map is smaller
    Canvas paletteBox;     // the palette swatches
    Canvas tilePanels[2];  // the layer 0 and layer 1 tile panels
    Canvas tileBox;        // the selected metatile
    Canvas spriteScratch;  // the colour sheet of the last sprite the object overlay drew

    // What the controls show.
    MapViewState state;
    MapPageOptions options;
    std::string mapIdText;
    std::array<std::string, 5>
        offsetTexts;       // "Palette:", "Map:", "Tiles:", "TileMap:", "Collision:"
    int mapNameIndex = 0;  // selection of the map-name list
    int musicIndex = 0;    // selection of "SPC Track:"; -1 for none
    bool saveEnabled = false;

    // The map object, made by the first load and dropped when the project is replaced.
    std::unique_ptr<MapRenderer> mapTabRenderer;
    // The id of the map that the map object holds, which the view and the editors act on.
    std::optional<std::uint32_t> loadedMapId;

    // After a new project: no map, the pictures emptied, the controls at their start.
    void UnloadMap();

    // "Load" beside "Map ID:" (and Enter): loads the map that the id text names.
    void LoadMap(ProjectContext* project, Prompts& prompts);
    // A pick from the map-name list.
    void SelectMapName(ProjectContext* project, Prompts& prompts, int index);
    // "Load" of "Map Offsets:": shows the data at the typed offsets.
    void LoadByOffsets(ProjectContext* project, Prompts& prompts);

    // A left click at (x, y) of the view: the selected metatile goes into the edited layer.
    // True when the map changed.
    bool PlaceTile(ProjectContext* project, std::uint32_t x, std::uint32_t y);
    // A left click at (x, y) of tile panel `layer`; only the edited layer's panel answers.
    bool SelectFromPanel(ProjectContext* project, std::uint32_t layer, std::uint32_t x,
                         std::uint32_t y);
    // A right click at (x, y) of the view: without Ctrl the cell's value is picked; with Ctrl
    // the answer says which cell the floating editors should show.
    std::optional<EditorFillRequest> RightClick(ProjectContext* project, std::uint32_t x,
                                                std::uint32_t y, bool ctrl);

    // "Save": the edited layer goes back into the image (and the chosen music track with
    // it); an id that has no map yet gets the whole map object as a new map.
    void SaveMap(ProjectContext* project, Prompts& prompts);
    // "New": a blank map for an id that has no map yet, written by the next "Save".
    void NewMap(ProjectContext* project, Prompts& prompts);
    // Maps > Map > Save As and Load: the edited layer's tile map to and from a layer file.
    // False when refused for want of a map.
    bool ExportMapFile(ProjectContext* project, Prompts& prompts);
    bool ImportMapFile(ProjectContext* project, Prompts& prompts);

    // The wheel over the view and over the tile panels, and the Down arrow.
    void WheelOverView(ProjectContext* project, bool up, bool ctrl, bool shift, bool anyButton);
    void WheelOverPanels(ProjectContext* project, bool up);
    void PanelDown(ProjectContext* project);

    // The display check boxes and the collision radios, after the page read them.
    void ShowExitsChanged(ProjectContext* project);
    void ShowObjectsChanged(ProjectContext* project);
    void ShowLayer1Changed(ProjectContext* project);
    void Layer0PriorityChanged(ProjectContext* project);
    void Layer1Tilemap0Changed(ProjectContext* project, Prompts& prompts);
    void CollisionModeChanged(ProjectContext* project, std::uint32_t mode);

    // The room the page gives the map view, in pixels; the view never shrinks below 512 x 512.
    // Scrolling, clicks and drawing follow the new size at once. True when the size changed.
    bool SetViewSize(ProjectContext* project, std::int64_t width, std::int64_t height);

    // The view with its overlays at the current scroll.
    void RedrawView(ProjectContext& project);

private:
    // The map object when it belongs to `project`; one left from a replaced project is dropped
    // here, so no handler reaches an image that is gone.
    MapRenderer* Renderer(ProjectContext* project);
    MapRenderer& MakeRenderer(ProjectContext& project);
    // The map object when the edited layer has a tile map; otherwise says so.
    MapRenderer* RendererWithEditedLayer(ProjectContext* project, Prompts& prompts);
    void DrawPanels(bool clear);
    void ClearPictures();
    Canvas EmptyView() const;
    // After a load that found no map: nothing of the previous map is shown, nothing can be
    // saved. The selection, the edited layer and the check boxes stay, as after any load.
    void ClearLoadedMap();
};

#include "maps/MapPageModel.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "maps/LayerFile.h"
#include "maps/LayerSave.h"
#include "maps/MapHeaderTable.h"
#include "maps/MapMode.h"
#include "maps/MusicNameTable.h"
#include "maps/SpriteObjectDrawer.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "project/Allocator.h"
#include "project/LzCodec.h"
#include "project/NumberText.h"
#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"

namespace {

constexpr int kTileBoxSize = 16;
constexpr std::size_t kOffsetPalette = 0;
constexpr std::size_t kOffsetMap = 1;
constexpr std::size_t kOffsetTiles = 2;
constexpr std::size_t kOffsetTileMap = 3;
constexpr std::size_t kOffsetCollision = 4;
constexpr const char* kWorldMapText = "Please use the 'World Maps' tab to load this map.";
constexpr const char* kNoMapText = "Please load a map first.";

std::string HexText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// The typed id when it names a map of the release's table; otherwise the range message is shown.
std::optional<std::uint32_t> IdInTable(const ProjectContext& project, Prompts& prompts,
                                       const std::string& text) {
    const std::optional<std::uint32_t> id = ReadMapId(text, MapHeaderEntryCount(project));
    if (!id) {
        prompts.ShowMessage(MapIdRangeText(project));
        return std::nullopt;
    }
    return id;
}

// True for a map whose header script this editor wrote ("New" and "Save"): such a map has no
// object list, yet it is a map to show.
bool HasOwnHeaderScript(const ProjectContext& project, std::uint32_t id) {
    const std::uint32_t tag = MapHeaderEntryOffset(project, id);
    return std::any_of(
        project.allocTable.begin(), project.allocTable.end(),
        [tag](const AllocEntry& entry) { return entry.address != 0 && entry.tag == tag; });
}

bool HasImage(const ProjectContext* project) {
    return project != nullptr && project->HasImage();
}

}  // namespace

MapPageModel::MapPageModel() {
    ClearPictures();
}

void MapPageModel::ClearPictures() {
    view = EmptyView();
    for (Canvas& panel : tilePanels) {
        panel = Canvas(static_cast<int>(kTilePanelWidth), static_cast<int>(kTilePanelHeight),
                       kPageBackground);
    }
    paletteBox = Canvas();
}

Canvas MapPageModel::EmptyView() const {
    return Canvas(static_cast<int>(state.viewWidth), static_cast<int>(state.viewHeight),
                  kPageBackground);
}

void MapPageModel::ClearLoadedMap() {
    loadedMapId.reset();
    state.ClearLayers();
    offsetTexts.fill({});
    musicIndex = 0;
    saveEnabled = false;
    ClearPictures();
}

MapRenderer* MapPageModel::Renderer(ProjectContext* project) {
    if (mapTabRenderer && (project == nullptr || &mapTabRenderer->Project() != project)) {
        mapTabRenderer.reset();
        loadedMapId.reset();
    }
    return project != nullptr ? mapTabRenderer.get() : nullptr;
}

MapRenderer& MapPageModel::MakeRenderer(ProjectContext& project) {
    if (Renderer(&project) == nullptr) {
        mapTabRenderer = std::make_unique<MapRenderer>(project);
    }
    return *mapTabRenderer;
}

void MapPageModel::UnloadMap() {
    mapTabRenderer.reset();
    loadedMapId.reset();
    state.Clear();
    mapIdText.clear();
    offsetTexts.fill({});
    musicIndex = 0;
    mapNameIndex = 0;
    options.showLayer1 = true;
    saveEnabled = false;
    tileBox = Canvas();
    ClearPictures();
}

void MapPageModel::SelectMapName(ProjectContext* project, Prompts& prompts, int index) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(index));
    mapIdText = text;
    LoadMap(project, prompts);
}

void MapPageModel::LoadMap(ProjectContext* project, Prompts& prompts) {
    if (!HasImage(project)) {
        return;
    }
    const std::optional<std::uint32_t> typed = ReadMapId(mapIdText, kMapCount);
    if (typed && IsWorldMapId(*typed)) {
        prompts.ShowMessage(kWorldMapText);
        return;
    }
    // Refused before anything is read, so the map that is loaded stays as it is.
    const std::optional<std::uint32_t> inTable = IdInTable(*project, prompts, mapIdText);
    if (!inTable) {
        return;
    }
    const std::uint32_t id = *inTable;
    MapRenderer& renderer = MakeRenderer(*project);
    renderer.Reset();
    loadedMapId = id;

    const std::optional<ObjectListLocation> list = LocateObjectList(*project, id);
    if (list) {
        options.showLayer1 = true;
        const MapMode mode = LookUpMapMode(project->Read8(list->offset + 1));
        if (mode.known) {
            renderer.layer0Priority = mode.layer0Priority;
            renderer.layer1UsesTable0 = mode.layer1UsesTable0;
            options.showLayer1 = !mode.hideLayer1;
            options.layer0Priority = mode.layer0Priority;
            options.layer1Tilemap0 = mode.layer1UsesTable0;
        } else {
            // The message names the value, so that the person can tell which it was.
            prompts.ShowMessage("Unhandled Map Flag\nMap mode byte: " +
                                HexText(project->Read8(list->offset + 1)));
        }
    }
    mapNameIndex = static_cast<int>(id);
    view = EmptyView();
    renderer.mapMusicTrack = 0;
    renderer.mapMusicTrackPos = 0;
    if (!list && id != 0 && !HasOwnHeaderScript(*project, id)) {
        ClearLoadedMap();
        return;
    }

    renderer.showExits = options.showExits;
    renderer.showObjects = options.showObjects;
    std::uint32_t layer0WidthTiles = 0;
    std::uint32_t layer1WidthTiles = 0;
    const MapLoadResult loaded =
        renderer.Load(id, layer0WidthTiles, layer1WidthTiles, options.alternativeMap);
    if (!loaded.message.empty()) {
        prompts.ShowMessage(loaded.message);
    }
    if (loaded.status == MapLoadStatus::NoMap || loaded.status == MapLoadStatus::NoData) {
        ClearLoadedMap();
        return;
    }
    musicIndex =
        renderer.mapMusicTrack < kMusicNameCount ? static_cast<int>(renderer.mapMusicTrack) : -1;
    state.SetLoadedLayers(layer0WidthTiles, static_cast<std::uint32_t>(renderer.layerMap[0].size()),
                          layer1WidthTiles,
                          static_cast<std::uint32_t>(renderer.layerMap[1].size()));

    RedrawView(*project);
    renderer.DrawPalette(paletteBox);
    DrawPanels(true);

    const std::uint32_t sources[5] = {renderer.paletteSource, renderer.layerSource[0],
                                      renderer.tileSource, renderer.metatileSource,
                                      renderer.collisionSource};
    for (std::size_t i = 0; i < offsetTexts.size(); ++i) {
        offsetTexts[i] = HexText(project->WrapRomOffset(sources[i]));
    }
    saveEnabled = !renderer.layerMap[0].empty() || !renderer.layerMap[1].empty();
}

void MapPageModel::LoadByOffsets(ProjectContext* project, Prompts& prompts) {
    if (!HasImage(project)) {
        return;
    }
    // The "Map:" and "Tiles:" offsets must be given; an empty other box means none.
    static constexpr const char* kOffsetCaptions[] = {"Palette:", "Map:", "Tiles:", "TileMap:",
                                                      "Collision:"};
    FieldReader reader;
    std::uint32_t offsets[5];
    for (std::size_t i = 0; i < offsetTexts.size(); ++i) {
        const bool needed = i == kOffsetMap || i == kOffsetTiles;
        offsets[i] = static_cast<std::uint32_t>(
            needed ? reader.Read(offsetTexts[i], kOffsetCaptions[i], 0, 0xFFFFFF,
                                 NumberBase::Hexadecimal)
                   : reader.ReadOptional(offsetTexts[i], kOffsetCaptions[i], 0, 0xFFFFFF,
                                         NumberBase::Hexadecimal));
    }
    if (!reader.Ok()) {
        prompts.ShowMessage(reader.Error());
        return;
    }
    MapRenderer& renderer = MakeRenderer(*project);
    state.scrollX = state.scrollY = state.panelScroll = 0;
    state.horizontalScrollText = "0/256";
    state.verticalScrollText = "0/256";

    if (offsets[kOffsetMap] == 0 || offsets[kOffsetTiles] == 0) {
        return;
    }
    renderer.LoadPalette256(offsets[kOffsetPalette]);

    std::string failed;
    const auto decode = [&](std::size_t which) -> std::optional<std::vector<std::uint8_t>> {
        if (offsets[which] == 0) {
            return std::nullopt;
        }
        std::uint32_t size = 0;
        auto block = UncompressData(*project, offsets[which], size);
        if (!block) {
            failed += (failed.empty() ? "" : ", ") + HexText(offsets[which]);
        }
        return block;
    };
    const auto map = decode(kOffsetMap);
    const auto tiles = decode(kOffsetTiles);
    const auto metatiles = decode(kOffsetTileMap);
    decode(kOffsetCollision);  // only tells whether it decodes
    if (!failed.empty()) {
        prompts.ShowMessage("Could not decompress the data at " + failed + ".");
    }

    if (tiles) {
        renderer.ConvertPlanarTiles(*tiles);
    }
    renderer.showExits = options.showExits;
    const std::uint32_t widthTiles = state.layerSize[0] / 8;
    if (map && widthTiles > 0) {
        const std::uint32_t heightTiles = static_cast<std::uint32_t>(2 * map->size()) / widthTiles;
        renderer.BuildLayerImage(
            *map,
            metatiles ? std::span<const std::uint8_t>(*metatiles) : std::span<const std::uint8_t>(),
            widthTiles, heightTiles, 0, 0);
    }
    renderer.PaintMapView(view, 0, 0, static_cast<int>(state.viewWidth),
                          static_cast<int>(state.viewHeight));
    if (offsets[kOffsetPalette] != 0) {
        renderer.DrawPalette(paletteBox);
    }
    if (tiles) {
        DrawPanels(true);
    }
}

void MapPageModel::SaveMap(ProjectContext* project, Prompts& prompts) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr) {
        return;
    }
    const std::optional<std::uint32_t> typed = ReadMapId(mapIdText, kMapCount);
    // The world maps' tile maps are not this page's layers; writing one there would break them.
    if (typed && IsWorldMapId(*typed)) {
        prompts.ShowMessage(kWorldMapText);
        return;
    }
    const std::optional<std::uint32_t> inTable = IdInTable(*project, prompts, mapIdText);
    if (!inTable) {
        return;
    }
    if (!loadedMapId) {
        prompts.ShowMessage(kNoMapText);
        return;
    }
    // The map object belongs to the id it was loaded or made for; under another id it would
    // copy that map over whatever the id holds.
    const std::uint32_t id = *loadedMapId;
    if (*inTable != id) {
        prompts.ShowMessage(FormatText("The map on this page is map 0x%04X; Save writes it only "
                                       "under that ID, not under 0x%04X.\nNothing was saved.",
                                       id, *inTable));
        return;
    }
    if (ReadMapHeaderEntry(*project, id) == kNoMapHeader) {
        const MapSaveResult result = renderer->SaveToRom(
            id, musicIndex >= 0 ? static_cast<std::uint32_t>(musicIndex) : kNewMapMusicTrack);
        if (!result.saved) {
            prompts.ShowMessage(result.message);
        }
        return;
    }
    const MapSaveResult result = SaveEditedLayer(*renderer, state.editLayer & 1);
    if (!result.saved) {
        prompts.ShowMessage(result.message);
    } else if (musicIndex >= 0) {
        ApplyMusicTrack(*renderer, static_cast<std::uint32_t>(musicIndex));
    }
    RedrawView(*project);
    renderer->DrawPalette(paletteBox);
    DrawPanels(true);
}

void MapPageModel::NewMap(ProjectContext* project, Prompts& prompts) {
    if (!HasImage(project)) {
        return;
    }
    const std::optional<std::uint32_t> inTable = IdInTable(*project, prompts, mapIdText);
    if (!inTable) {
        return;
    }
    const std::uint32_t id = *inTable;
    // The world maps have no header script, but their ids are taken.
    if (IsWorldMapId(id) || ReadMapHeaderEntry(*project, id) != kNoMapHeader) {
        prompts.ShowMessage("Please select a map that isn't used yet.");
        return;
    }
    if (!project->Is6MB()) {
        prompts.ShowMessage("An extended ROM is required to add new Maps.");
        return;
    }
    // Told now rather than at the first Save, before the person draws the new map.
    if (project->freeAreaUnrecordable) {
        prompts.ShowMessage(std::string(kUnrecordableAreaText) + "\nNo new map was made.");
        return;
    }
    // Checked before the page changes, so that a refusal leaves the shown map as it is.
    if (!MapRenderer::HasBlankTemplate(*project)) {
        prompts.ShowMessage(
            "The blank map that new maps start from is missing from this ROM.\n"
            "No new map was made.");
        return;
    }
    MapRenderer& renderer = MakeRenderer(*project);
    renderer.Reset();
    loadedMapId = id;
    renderer.mapMusicTrack = 0;
    renderer.mapMusicTrackPos = 0;
    renderer.CreateBlank();
    // The track that the first Save writes into the new map's script unless another is picked.
    musicIndex = static_cast<int>(kNewMapMusicTrack);
    offsetTexts.fill({});  // the blank map has no blocks in the image yet
    state.SetLoadedLayers(
        renderer.layerWidth[0] / 8, static_cast<std::uint32_t>(renderer.layerMap[0].size()),
        renderer.layerWidth[1] / 8, static_cast<std::uint32_t>(renderer.layerMap[1].size()));
    RedrawView(*project);
    renderer.DrawPalette(paletteBox);
    DrawPanels(true);
    saveEnabled = true;
}

MapRenderer* MapPageModel::RendererWithEditedLayer(ProjectContext* project, Prompts& prompts) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr || renderer->layerMap[state.editLayer & 1].empty()) {
        prompts.ShowMessage(kNoMapText);
        return nullptr;
    }
    return renderer;
}

bool MapPageModel::ExportMapFile(ProjectContext* project, Prompts& prompts) {
    MapRenderer* renderer = RendererWithEditedLayer(project, prompts);
    if (renderer == nullptr) {
        return false;
    }
    const auto chosen = prompts.ChooseSaveFile("Select File", kLayerFileFilter);
    if (!chosen) {
        return true;
    }
    const MapSaveResult result =
        ExportLayerFile(*renderer, state.editLayer & 1, LayerFilePath(*chosen));
    if (!result.saved) {
        prompts.ShowMessage(result.message);
    }
    return true;
}

bool MapPageModel::ImportMapFile(ProjectContext* project, Prompts& prompts) {
    MapRenderer* renderer = RendererWithEditedLayer(project, prompts);
    if (renderer == nullptr) {
        return false;
    }
    const auto chosen = prompts.ChooseOpenFile("Select File", kLayerFileFilter);
    if (!chosen) {
        return true;
    }
    const MapSaveResult result = ImportLayerFile(*renderer, state.editLayer & 1, *chosen);
    if (!result.saved) {
        prompts.ShowMessage(result.message);
        return true;
    }
    RedrawView(*project);
    return true;
}

bool MapPageModel::PlaceTile(ProjectContext* project, std::uint32_t x, std::uint32_t y) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr || !loadedMapId || *loadedMapId == 2 || *loadedMapId == 3 ||
        *loadedMapId == 5) {
        return false;
    }
    const std::uint32_t layer = state.editLayer & 1;
    const std::uint64_t mapX = std::uint64_t{x} + state.scrollX;
    const std::uint64_t mapY = std::uint64_t{y} + state.scrollY;
    // A click beside a narrower edited layer would land in the next row of its tile map.
    if (renderer->layerImages.size() <= layer || mapX >= renderer->layerImages[layer].width ||
        mapY >= renderer->layerImages[layer].height) {
        return false;
    }
    const std::uint32_t cellSize = renderer->tileSetType == kByteTileSetType ? 8 : 16;
    renderer->SetTileEntry(
        static_cast<std::uint32_t>(mapX / cellSize), static_cast<std::uint32_t>(mapY / cellSize),
        static_cast<std::uint16_t>(state.SelectedValue()), renderer->layerWidth[layer], layer);
    RedrawView(*project);
    return true;
}

bool MapPageModel::SelectFromPanel(ProjectContext* project, std::uint32_t layer, std::uint32_t x,
                                   std::uint32_t y) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr || layer != state.editLayer) {
        return false;
    }
    const PixelRect shown = state.SelectFromPanel(x, y, renderer->tileSetType);
    if (tileBox.Empty()) {
        tileBox = Canvas(kTileBoxSize, kTileBoxSize, kPageBackground);
    }
    tileBox.Copy(tilePanels[layer].Source(), 0, 0, static_cast<int>(shown.x),
                 static_cast<int>(shown.y), static_cast<int>(shown.width),
                 static_cast<int>(shown.height));
    return true;
}

std::optional<MapPageModel::EditorFillRequest> MapPageModel::RightClick(ProjectContext* project,
                                                                        std::uint32_t x,
                                                                        std::uint32_t y,
                                                                        bool ctrl) {
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr || !loadedMapId || x > state.viewWidth || y > state.viewHeight ||
        renderer->layerMap[0].empty()) {
        return std::nullopt;
    }
    const std::uint32_t mapX = x + state.scrollX;
    const std::uint32_t mapY = y + state.scrollY;
    if (ctrl) {
        return EditorFillRequest{*loadedMapId, mapX / 16, mapY / 16};
    }
    // The eyedropper always reads layer 0, at the width the page shows for it.
    // A click beside a narrower layer 0 would otherwise pick a cell of the next row.
    const std::uint32_t perRow = state.layerSize[0] / 16;
    const std::uint64_t cell = std::uint64_t{perRow} * (mapY / 16) + mapX / 16;
    const std::vector<std::uint8_t>& cells = renderer->layerMap[0];
    if (mapX / 16 >= perRow || 2 * cell + 1 >= cells.size()) {
        return std::nullopt;
    }
    state.SelectCellValue(GetU16(cells, 2 * cell));
    if (tileBox.Empty()) {
        tileBox = Canvas(kTileBoxSize, kTileBoxSize, kPageBackground);
    }
    CopyViewCell(tileBox, view, x, y, state.scrollX, state.scrollY);
    return std::nullopt;
}

void MapPageModel::WheelOverView(ProjectContext* project, bool up, bool ctrl, bool shift,
                                 bool anyButton) {
    if (Renderer(project) == nullptr) {
        return;
    }
    if (state.WheelOverView(up, ctrl, shift, anyButton) != MapViewState::WheelResult::Stopped) {
        RedrawView(*project);
    }
}

void MapPageModel::WheelOverPanels(ProjectContext* project, bool up) {
    if (Renderer(project) == nullptr) {
        return;
    }
    state.WheelOverPanels(up);
    DrawPanels(false);
}

void MapPageModel::PanelDown(ProjectContext* project) {
    if (Renderer(project) == nullptr) {
        return;
    }
    state.PanelDown();
    DrawPanels(false);
}

void MapPageModel::DrawPanels(bool clear) {
    for (std::uint32_t layer = 0; layer < 2; ++layer) {
        mapTabRenderer->DrawTileSheet(tilePanels[layer], state.panelScroll, clear, layer);
    }
}

void MapPageModel::ShowExitsChanged(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->showExits = options.showExits;
        RedrawView(*project);
    }
}

void MapPageModel::ShowObjectsChanged(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->showObjects = options.showObjects;
        RedrawView(*project);
    }
}

void MapPageModel::ShowLayer1Changed(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        // Without layer 1 there is nothing for layer 0 to lie over.
        if (!options.showLayer1) {
            options.layer0Priority = false;
        }
        renderer->layer0Priority = options.layer0Priority;
        renderer->showLayer1 = options.showLayer1;
        RedrawView(*project);
    }
}

void MapPageModel::Layer0PriorityChanged(ProjectContext* project) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->layer0Priority = options.layer0Priority;
        RedrawView(*project);
    }
}

void MapPageModel::Layer1Tilemap0Changed(ProjectContext* project, Prompts& prompts) {
    if (MapRenderer* renderer = Renderer(project)) {
        renderer->layer1UsesTable0 = options.layer1Tilemap0;
        LoadMap(project, prompts);
    }
}

void MapPageModel::CollisionModeChanged(ProjectContext* project, std::uint32_t mode) {
    state.collisionMode = mode;
    if (Renderer(project) != nullptr) {
        RedrawView(*project);
    }
}

bool MapPageModel::SetViewSize(ProjectContext* project, std::int64_t width, std::int64_t height) {
    if (!state.SetViewSize(width, height)) {
        return false;
    }
    MapRenderer* renderer = Renderer(project);
    if (renderer == nullptr || renderer->layerImages.empty()) {
        view = EmptyView();
        return true;
    }
    // Only a loaded map has limits to show; the texts of data shown by offsets stay.
    if (loadedMapId) {
        state.WriteScrollTexts();
    }
    RedrawView(*project);
    return true;
}

void MapPageModel::RedrawView(ProjectContext& project) {
    MapRenderer* renderer = Renderer(&project);
    if (renderer == nullptr) {
        return;
    }
    const int sx = static_cast<int>(state.scrollX);
    const int sy = static_cast<int>(state.scrollY);
    const int vw = static_cast<int>(state.viewWidth);
    const int vh = static_cast<int>(state.viewHeight);
    renderer->PaintMapView(view, sx, sy, vw, vh);
    if (loadedMapId) {
        const std::uint32_t id = *loadedMapId;
        SpriteObjectDrawer sprites(project, spriteScratch);
        renderer->DrawExits(view, id, sx, sy, vw, vh);
        renderer->HighlightEntry(view, id, sx, sy, vw, vh);
        renderer->DrawObjects(view, &sprites, id, sx, sy, vw, vh);
    }
    renderer->DrawCollision(view, static_cast<CollisionMode>(state.collisionMode), sx, sy, vw, vh);
}

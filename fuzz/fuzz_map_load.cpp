// Loading a map whose header script, blocks and tables come from the fuzzer, on the "Maps"
// page (or, for the world maps, the "World Maps" page) as a person drives it: the load with
// the page's display options, then clicks, wheel turns and option changes, each redrawing the
// view with its overlays (exits, shops, objects with their sprites, collision) and tile
// panels, "Save" and "New", and layer files imported and exported; then what the chest and
// exit editors read for the map. The map object's own Load is run as well, since the page
// loads only maps that have an object list. With bit 7 of the options, the floating editors
// are filled from the cells of the actions and save, add and delete with fields moved by them.
//
// Input: map id (u16; bit 15: "Alternative Map", which skips flag gotos), an options byte,
// four actions of three bytes (kind, x, y), then an image description. A wheel action turns
// the wheel up to 256 times.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "fuzz/NullPrompts.h"
#include "maps/ChestEditModel.h"
#include "maps/ExitEditModel.h"
#include "maps/MapPageModel.h"
#include "maps/MapRenderer.h"
#include "maps/MapViewState.h"
#include "maps/ObjectEditModel.h"
#include "maps/ShopEditModel.h"
#include "maps/WorldMapPageModel.h"
#include "maps/WorldMapViewState.h"
#include "platform/Files.h"
#include "project/ChestRecord.h"
#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::size_t kActionCount = 4;
constexpr std::size_t kPrefix = 3 + 3 * kActionCount;
constexpr std::uint8_t kMapPageActions = 16;
// "Save" and "New" write into the image, which the run then gets a copy of.
constexpr std::uint8_t kSaveAction = 12;
constexpr std::uint8_t kNewAction = 13;
constexpr std::uint8_t kEditorsOption = 0x80;

struct Action {
    std::uint8_t kind;
    std::uint32_t x;  // view pixels, 0 to 1020
    std::uint32_t y;
};

// Answers every file dialog with the layer file of the run.
class LayerFilePrompts : public NullPrompts {
public:
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string&,
                                                        const std::string&) override {
        return kLayerFile;
    }
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string&,
                                                        const std::string&) override {
        return kLayerFile;
    }
    static constexpr const char* kLayerFile = "layer.map";
};

// A wheel action: turns of the wheel (the view redrawn after the last), the direction and
// the modifiers. Only plain and Ctrl turns scroll.
struct Wheel {
    std::uint32_t turns;
    bool up, ctrl, shift, anyButton, scrolls;
};

Wheel WheelOf(const Action& a) {
    Wheel w{a.x / 4 + 1,    (a.kind & 0x80) != 0, (a.y & 4) != 0,
            (a.y & 8) != 0, (a.y & 16) != 0,      false};
    w.scrolls = !w.shift && !w.anyButton;
    return w;
}

void RunMapPage(ProjectContext& project, std::uint32_t mapId, bool alternative,
                std::uint8_t options, std::span<const Action> actions,
                std::span<const std::uint8_t> layerFileSource) {
    LayerFilePrompts prompts;
    MapPageModel page;
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", mapId);
    page.mapIdText = text;
    page.options.alternativeMap = alternative;
    page.options.showExits = (options & 1) != 0;
    page.options.showObjects = (options & 2) != 0;
    page.state.collisionMode = (options >> 2) % 3;
    page.LoadMap(&project, prompts);
    page.state.editLayer = (options >> 4) & 1;
    for (const Action& a : actions) {
        switch (a.kind % kMapPageActions) {
            case 0:
                page.PlaceTile(&project, a.x, a.y);
                break;
            case 1:
                page.RightClick(&project, a.x, a.y, (a.kind & 0x80) != 0);
                break;
            case 2:
                page.SelectFromPanel(&project, a.kind >> 7, a.x / 4, a.y);
                break;
            case 3: {
                const Wheel w = WheelOf(a);
                if (w.scrolls) {
                    auto& state = page.state;
                    for (std::uint32_t k = 1; k < w.turns; ++k) {
                        StepScroll(w.ctrl ? state.scrollX : state.scrollY, w.up,
                                   w.ctrl ? state.layerSize[0] : state.layerSize[1], kMapViewSize);
                    }
                }
                page.WheelOverView(&project, w.up, w.ctrl, w.shift, w.anyButton);
                break;
            }
            case 4:
                page.WheelOverPanels(&project, (a.x & 1) != 0);
                break;
            case 5:
                page.PanelDown(&project);
                break;
            case 6:
                page.options.showLayer1 = !page.options.showLayer1;
                page.ShowLayer1Changed(&project);
                break;
            case 7:
                page.options.layer0Priority = !page.options.layer0Priority;
                page.Layer0PriorityChanged(&project);
                break;
            case 8:
                page.options.layer1Tilemap0 = !page.options.layer1Tilemap0;
                page.Layer1Tilemap0Changed(&project, prompts);
                break;
            case 9:
                page.CollisionModeChanged(&project, a.x % 3);
                break;
            case 10:
                page.options.showExits = !page.options.showExits;
                page.ShowExitsChanged(&project);
                page.options.showObjects = !page.options.showObjects;
                page.ShowObjectsChanged(&project);
                break;
            case kSaveAction:
                page.SaveMap(&project, prompts);
                break;
            case kNewAction:
                page.NewMap(&project, prompts);
                break;
            case 14: {
                // A layer file of up to 64 KB, cut from the input, imported; then exported.
                std::vector<std::uint8_t> file(a.x * 16 + a.y / 4);
                for (std::size_t i = 0; i < file.size() && !layerFileSource.empty(); ++i) {
                    file[i] = layerFileSource[i % layerFileSource.size()];
                }
                WriteWholeFile(LayerFilePrompts::kLayerFile, file);
                page.ImportMapFile(&project, prompts);
                page.ExportMapFile(&project, prompts);
                break;
            }
            default:
                // The offsets that the load showed, one of them moved.
                std::snprintf(text, sizeof text, "0x%X", a.x << 12 | a.y);
                page.offsetTexts[a.kind % page.offsetTexts.size()] = text;
                page.LoadByOffsets(&project, prompts);
                break;
        }
    }
}

void RunWorldMapPage(ProjectContext& project, std::uint32_t mapId, std::uint8_t options,
                     std::span<const Action> actions) {
    NullPrompts prompts;
    WorldMapPageModel page;
    page.mapLine = mapId == 2 ? 0 : mapId == 5 ? 1 : mapId == 3 ? 2 : 3;
    page.showExits = (options & 1) != 0;
    page.showObjects = (options & 2) != 0;
    page.Load(&project, prompts);
    for (const Action& a : actions) {
        switch (a.kind % 5) {
            case 0:
                page.MapViewClick(&project, a.x, a.y);
                break;
            case 1:
                page.RightClick(&project, a.x, a.y, (a.kind & 0x80) != 0);
                break;
            case 2:
                page.TileSetClick(&project, a.x / 8, a.y);
                break;
            case 3: {
                const Wheel w = WheelOf(a);
                if (w.scrolls) {
                    auto& state = page.state;
                    for (std::uint32_t k = 1; k < w.turns; ++k) {
                        if (w.ctrl) {
                            StepScroll(state.scrollX, w.up, state.mapWidth, kWorldViewWidth);
                        } else {
                            StepScroll(state.scrollY, w.up, state.mapHeight, kWorldViewHeight);
                        }
                    }
                }
                page.Wheel(&project, w.up, w.ctrl, w.shift, w.anyButton);
                break;
            }
            default:
                page.showExits = !page.showExits;
                page.ShowExitsChanged(&project);
                page.showObjects = !page.showObjects;
                page.ShowObjectsChanged(&project);
                break;
        }
    }
}

// The four editors as a Ctrl+right-click on each action's cell fills them, then their buttons.
void RunFloatingEditors(ProjectContext& project, std::uint32_t mapId,
                        std::span<const Action> actions) {
    NullPrompts prompts;
    ChestEditModel chest;
    ShopEditModel shop;
    ObjectEditModel object;
    ExitEditModel exit;
    std::uint32_t exitIndex = 0;
    for (const Action& a : actions) {
        const std::uint32_t column = a.x / 16;
        const std::uint32_t row = a.y / 16;
        chest.Fill(project, mapId, column, row);
        shop.Fill(project, mapId, column, row);
        object.Fill(project, mapId, column, row);
        exit.Fill(project, mapId, column, row, exitIndex);
        shop.slotIndex = a.kind & 7;
        shop.ShowSlot(project, a.kind & 7);
        exit.SelectDestination(&project, a.kind & 3);

        const std::string moved = FieldText("%u", a.x + a.y);
        const std::string flags = FieldText("0x%02X", a.kind);
        chest.item = moved;
        chest.posX = flags;
        shop.price = moved;
        shop.greetingIndex = a.kind % 10;
        object.flag = flags;
        object.script = FieldText("0x%06X", a.x << 12 | a.y);
        exit.posY = moved;
        exit.event = moved;
        exit.flag = flags;
        chest.Save(&project, prompts);
        shop.Save(&project, prompts);
        object.Save(&project, prompts);
        object.Add(&project, prompts);
        exit.Save(&project, prompts);
        if ((a.kind & 0x40) != 0) {
            exit.srcMapId = FieldText("%u", mapId + (a.kind & 1));
            exit.Add(&project, prompts);
        }
        if ((a.kind & 0x20) != 0) {
            exit.Delete(&project, prompts);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size <= kPrefix) {
        return 0;
    }
    const std::uint32_t word = data[0] | data[1] << 8;
    const std::uint32_t mapId = word & 0x7FF;
    const bool alternative = (word & 0x8000) != 0;
    const std::uint8_t options = data[2];
    Action actions[kActionCount];
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const std::uint8_t* a = data + 3 + 3 * i;
        actions[i] = {a[0], a[1] * 4u, a[2] * 4u};
    }
    std::vector<std::uint8_t>* image = pool.Build({data + kPrefix, size - kPrefix});
    if (image == nullptr) {
        return 0;
    }
    bool writes = (options & kEditorsOption) != 0;
    for (const Action& a : actions) {
        const std::uint8_t kind = a.kind % kMapPageActions;
        writes = writes || kind == kSaveAction || kind == kNewAction;
    }
    ProjectContext project;
    std::optional<LentImage> lent;
    std::optional<RecycledImageBuffer> copy;
    if (writes) {
        copy.emplace(project);
        CopyImage(project, *image);
    } else {
        lent.emplace(project, *image);
    }
    LoadExitLists(project);

    if (IsWorldMapId(mapId)) {
        RunWorldMapPage(project, mapId, options, actions);
    } else {
        RunMapPage(project, mapId, alternative, options, actions, {data + kPrefix, size - kPrefix});
        MapRenderer map(project);
        std::uint32_t layer0Width = 0;
        std::uint32_t layer1Width = 0;
        map.Load(mapId, layer0Width, layer1Width, alternative);
    }

    if ((options & kEditorsOption) != 0) {
        RunFloatingEditors(project, mapId, actions);
    }
    ReadChestList(project, mapId);
    if (mapId < project.exitLists.size()) {
        for (const ExitRecord& exit : project.exitLists[mapId]) {
            ReadConditionalDestinations(project, exit.dstMapId);
        }
    }
    return 0;
}

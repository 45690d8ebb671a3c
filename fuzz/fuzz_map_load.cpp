// Loading a map whose header script, blocks and tables come from the fuzzer, then what the
// Maps page does with a loaded map: the view with its overlays (exits, shops, objects with
// their sprites, collision), the tile sheet, the palette, the chests of the map, the
// conditional destinations of its exits and two edits.
//
// Input: map id (u16, bit 15: skip flag gotos), an options byte, then an image description.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "maps/MapRenderer.h"
#include "maps/ObjectSpriteDrawer.h"
#include "maps/SpriteDescriptor.h"
#include "platform/Canvas.h"
#include "project/ChestRecord.h"
#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::size_t kPrefix = 3;
constexpr int kView = 512;

// Object sprites drawn with the sprite decoder, as the page draws them.
class SpriteDrawer : public ObjectSpriteDrawer {
public:
    explicit SpriteDrawer(ProjectContext& project) : project_(project) {}
    void Load(std::uint32_t spriteLayout) override { sprite_.Load(project_, spriteLayout); }
    bool DrawFrame(int x, int y, std::uint32_t animation, Canvas& view) override {
        return sprite_.RenderFrame(project_, x, y, animation, 0, view).drawn;
    }

private:
    ProjectContext& project_;
    SpriteDescriptor sprite_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size <= kPrefix) {
        return 0;
    }
    const std::uint32_t word = data[0] | data[1] << 8;
    const std::uint32_t mapId = word & 0x7FF;
    const bool skipFlagGotos = (word & 0x8000) != 0;
    const std::uint8_t options = data[2];
    std::vector<std::uint8_t>* image = pool.Build({data + kPrefix, size - kPrefix});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    LoadExitLists(project);

    MapRenderer map(project);
    map.layer0Priority = (options & 1) != 0;
    map.layer1UsesTable0 = (options & 2) != 0;
    map.showExits = true;
    map.showObjects = true;
    std::uint32_t layer0Width = 0;
    std::uint32_t layer1Width = 0;
    map.Reset();
    map.Load(mapId, layer0Width, layer1Width, skipFlagGotos);

    // Scrolled to the origin, or to the far corner of layer 0 and a bit beyond.
    const int scroll = (options & 4) != 0 ? static_cast<int>(layer0Width * 8) - kView / 2 : 0;
    Canvas view;
    map.PaintMapView(view, scroll, scroll, kView, kView);
    view.Resize(kView, kView);
    map.DrawExits(view, mapId, scroll, scroll, kView, kView);
    map.HighlightEntry(view, mapId, scroll, scroll);
    SpriteDrawer sprites(project);
    map.DrawObjects(view, &sprites, mapId, scroll, scroll, kView, kView);
    map.DrawCollision(view, CollisionMode::Numbers, scroll, scroll, kView, kView);
    Canvas panel;
    map.DrawTileSheet(panel, options >> 4, true, (options >> 3) & 1);
    Canvas palette;
    map.DrawPalette(palette);

    ReadChestList(project, mapId);
    if (mapId < project.exitLists.size()) {
        for (const ExitRecord& exit : project.exitLists[mapId]) {
            ReadConditionalDestinations(project, exit.dstMapId);
        }
    }

    // Edits: the last cell of the first row of a layer, and a world-map byte.
    const std::uint32_t layer = (options >> 3) & 1;
    if (map.layerWidth[layer] >= 8) {
        map.SetTileEntry(map.layerWidth[layer] / 16 - 1, 0, 0x1234, map.layerWidth[layer], layer);
    }
    map.SetMapByte(1, 1, 0x12);
    map.GetMapByte(1, 1);
    return 0;
}

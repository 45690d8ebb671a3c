#include <filesystem>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "maps/HeaderScriptRunner.h"
#include "maps/LayerBitmap.h"
#include "maps/MapRenderer.h"
#include "platform/Trace.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMapId = 0x100;
constexpr std::uint32_t kScript = 0x0A8000;

// Writes raw as an LZ block compressed the way the editor saves it.
std::uint32_t PutCompressed(SyntheticImage& image, std::uint32_t offset, const Bytes& raw) {
    const auto stream = CompressData(raw);
    return image.PutLzStream(offset, static_cast<std::uint32_t>(raw.size()), *stream);
}

// A two-layer map of 1024 x 1024 pixels with a full tile set (1024 tiles), two metatile tables
// of 512 metatiles, collision and 128 colours, all compressed as in the game.
struct MapScene {
    MapScene() : image(SyntheticImage::k4MB, SyntheticImage::Region::German) {
        std::vector<SyntheticImage::TilePixels> tiles(1024);
        for (std::size_t n = 0; n < tiles.size(); ++n) {
            for (std::size_t i = 0; i < 64; ++i) {
                tiles[n][i] = static_cast<std::uint8_t>((n + i / 8 + (i % 8) * (n % 3)) & 15);
            }
        }
        std::vector<std::array<std::uint16_t, 4>> metatiles(512);
        for (std::uint16_t m = 0; m < metatiles.size(); ++m) {
            metatiles[m] = {static_cast<std::uint16_t>(m * 2 | (m & 7) << 10),
                            static_cast<std::uint16_t>((m * 2 + 1) | 0x4000),
                            static_cast<std::uint16_t>((m * 3) & 0x3FF),
                            static_cast<std::uint16_t>(((m * 5) & 0x3FF) | 0x8000)};
        }
        const auto layer = [](std::uint32_t seed) {
            return SyntheticImage::LayerMap(64, 64, [seed](std::uint32_t x, std::uint32_t y) {
                return static_cast<std::uint16_t>(((x / 3) * 7 + (y / 2) * 13 + seed) % 512);
            });
        };
        std::vector<std::uint16_t> colors(128);
        for (std::uint16_t i = 0; i < colors.size(); ++i) {
            colors[i] = static_cast<std::uint16_t>(i * 0x0421 & 0x7FFF);
        }
        Bytes collision(512);
        for (std::size_t i = 0; i < collision.size(); ++i) {
            collision[i] = static_cast<std::uint8_t>(i % 5 == 0 ? 0x10 : 0);
        }

        const Bytes planar = SyntheticImage::PlanarTiles(tiles);
        const Bytes table = SyntheticImage::MetatileTable(metatiles);
        std::uint32_t at = 0x0B8000;
        const std::uint32_t tilesAt = at;
        at += PutCompressed(image, tilesAt, planar) + 0x10;
        const std::uint32_t tableAt = at;
        at += PutCompressed(image, tableAt, table) + 0x10;
        const std::uint32_t collisionAt = at;
        at += PutCompressed(image, collisionAt, collision) + 0x10;
        const std::uint32_t layer0At = at;
        image.Put8(layer0At, 4);
        image.Put8(layer0At + 1, 4);
        at += 2 + PutCompressed(image, layer0At + 2, layer(0)) + 0x10;
        const std::uint32_t layer1At = at;
        image.Put8(layer1At, 4);
        image.Put8(layer1At + 1, 4);
        at += 2 + PutCompressed(image, layer1At + 2, layer(99)) + 0x10;
        const std::uint32_t paletteAt = at | 0x8000;
        image.PutPalette(paletteAt, colors);

        image.SetMapHeader(kMapId, kScript);
        HeaderScriptWriter(image, kScript)
            .Palette(128, 0, paletteAt)
            .Tiles(64, 0, tilesAt, 0)
            .Metatiles(0, 64, 0, 0x00, tableAt)
            .Metatiles(0, 64, 0, 0x02, tableAt)
            .Metatiles(0, 8, 0, 0x80, collisionAt)
            .Layer(1, layer0At)
            .Layer(2, layer1At)
            .MusicTrack(12)
            .End();

        ImportRom(project, image.Bytes());
        renderer = std::make_unique<MapRenderer>(project);
    }

    SyntheticImage image;
    ProjectContext project;
    std::unique_ptr<MapRenderer> renderer;
};

// Load runs in a scratch folder: it writes its dump files and the bitmap there.
void InScratchFolder() {
    static const bool moved = [] {
        const auto folder = std::filesystem::temp_directory_path() / "quenmark_bench_map_load";
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        SetTraceEnabled(false);
        return true;
    }();
    (void)moved;
}

// Loads the map once; returns whether both layers came out whole.
bool LoadOnce(MapRenderer& map) {
    std::uint32_t width0 = 0;
    std::uint32_t width1 = 0;
    map.Reset();
    map.Load(kMapId, width0, width1, false);
    return width0 == 128 && width1 == 128 && map.layerImages.size() == 2;
}

void BM_LoadTwoLayerMap(benchmark::State& state) {
    InScratchFolder();
    MapScene scene;
    bool whole = true;
    for (auto _ : state) {
        whole = LoadOnce(*scene.renderer) && whole;
        benchmark::DoNotOptimize(scene.renderer->layerImages.data());
    }
    if (!whole) {
        state.SkipWithError("the map did not load whole");
    }
    state.SetItemsProcessed(state.iterations() * 2 * 1024 * 1024);
}
BENCHMARK(BM_LoadTwoLayerMap)->Unit(benchmark::kMillisecond);

// The parts of a load, to see where the time goes.
void BM_RunHeaderScript(benchmark::State& state) {
    InScratchFolder();
    MapScene scene;
    MapRenderer& map = *scene.renderer;
    for (auto _ : state) {
        map.Reset();
        map.tileData.assign(kTileDataBytes, 0);
        for (auto& table : map.metatileTables) {
            table.assign(kMetatileTableBytes, 0);
        }
        map.collision.assign(512, 0);
        map.cursor = kScript;
        benchmark::DoNotOptimize(HeaderScriptRunner(map, false).Run());
    }
}
BENCHMARK(BM_RunHeaderScript)->Unit(benchmark::kMillisecond);

void BM_RenderLayers(benchmark::State& state) {
    InScratchFolder();
    MapScene scene;
    LoadOnce(*scene.renderer);
    for (auto _ : state) {
        scene.renderer->RenderLayers();
        benchmark::DoNotOptimize(scene.renderer->layerImages.data());
    }
}
BENCHMARK(BM_RenderLayers)->Unit(benchmark::kMillisecond);

void BM_ExportLayerBitmap(benchmark::State& state) {
    InScratchFolder();
    MapScene scene;
    LoadOnce(*scene.renderer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportLayerBitmap(scene.renderer->layerImages, false, kMapId));
    }
}
BENCHMARK(BM_ExportLayerBitmap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

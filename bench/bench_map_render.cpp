#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "maps/MapRenderer.h"
#include "maps/WorldMapPageModel.h"
#include "platform/Trace.h"
#include "project/ProjectContext.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Entry = std::array<std::uint16_t, 4>;

// Tiles with a different pattern each, so no two rows of pixels are alike.
std::vector<SyntheticImage::TilePixels> VariedTiles(std::size_t count, std::uint8_t mask) {
    std::vector<SyntheticImage::TilePixels> tiles(count);
    for (std::size_t n = 0; n < count; ++n) {
        for (std::size_t i = 0; i < 64; ++i) {
            tiles[n][i] = static_cast<std::uint8_t>((n * 7 + i * 3 + (i >> 3) * 5) & mask);
        }
    }
    return tiles;
}

void FillPalette(MapRenderer& renderer) {
    for (std::uint32_t i = 0; i < 256; ++i) {
        renderer.argbPalette[i] = (i % 16 == 0 ? 0u : 0xFF000000u) | (i * 0x010305u & 0xFFFFFF);
    }
}

// A 1024 x 1024 map: 64 x 64 metatile cells per layer, 4096 tiles, 1024 metatiles per table
// with every palette row and flip.
struct TwoLayerMap {
    TwoLayerMap() {
        project.romImage.assign(SyntheticImage::k4MB, 0);
        project.romSize = SyntheticImage::k4MB;
        project.regionIndex = 1;
        renderer = std::make_unique<MapRenderer>(project);
        FillPalette(*renderer);
        renderer->tileData = SyntheticImage::PlanarTiles(VariedTiles(4096, 0x0F));
        renderer->tileDataSize = kTileDataBytes;
        std::vector<Entry> metatiles(1024);
        for (std::uint32_t m = 0; m < 1024; ++m) {
            for (std::uint32_t q = 0; q < 4; ++q) {
                metatiles[m][q] = static_cast<std::uint16_t>(((m * 4 + q) & 0x3FF) | (m & 7) << 10 |
                                                             (m & 0x18) << 11);
            }
        }
        for (std::uint32_t t = 0; t < kMetatileTableCount; ++t) {
            renderer->metatileTables[t] = SyntheticImage::MetatileTable(metatiles);
            renderer->metatileTables[t].resize(kMetatileTableBytes, 0);
            renderer->metatileTableSizes[t] = 1024 * 8;
        }
        for (std::uint32_t k = 0; k < 2; ++k) {
            renderer->layerMap[k] = SyntheticImage::LayerMap(64, 64, [k](auto x, auto y) {
                return static_cast<std::uint16_t>((x * 31 + y * 17 + k * 5) & 0x3FF);
            });
            renderer->layerWidth[k] = 1024;
            renderer->layerHeight[k] = 1024;
        }
        renderer->RenderLayers();
    }

    // What a cell edit costs: both layers rebuilt, the visible 512 x 512 composed.
    void Rebuild() {
        for (std::uint32_t k = 0; k < 2; ++k) {
            renderer->BuildLayerImage(renderer->layerMap[k],
                                      renderer->metatileTables[renderer->MetatileTableOf(k)], 128,
                                      128, k, 0);
        }
        renderer->PaintMapView(view, 256, 256, 512, 512);
    }

    ProjectContext project;
    std::unique_ptr<MapRenderer> renderer;
    Canvas view;
};

std::size_t ObjectBytes(const MapRenderer& r) {
    std::size_t bytes = sizeof(MapRenderer) + r.tileData.capacity() + r.tileSheet.capacity() +
                        r.linearTiles.capacity() + r.linearSheet.capacity() +
                        r.collision.capacity();
    for (const auto& map : r.layerMap) {
        bytes += map.capacity();
    }
    for (const auto& table : r.metatileTables) {
        bytes += table.capacity();
    }
    for (const auto& image : r.layerImages) {
        bytes += sizeof(LayerImage) + image.pixels.capacity() * sizeof(std::uint32_t);
    }
    return bytes;
}

void BM_TwoLayerMapRebuildAndPaint(benchmark::State& state) {
    TwoLayerMap map;
    for (auto _ : state) {
        map.Rebuild();
        benchmark::DoNotOptimize(map.view.Pixels());
    }
    state.counters["object_MB"] = static_cast<double>(ObjectBytes(*map.renderer)) / (1 << 20);
}
BENCHMARK(BM_TwoLayerMapRebuildAndPaint)->Unit(benchmark::kMillisecond);

// The whole render step of a load: tile conversion (with its dumps) and both layers.
void BM_TwoLayerMapRenderLayers(benchmark::State& state) {
    TwoLayerMap map;
    for (auto _ : state) {
        map.renderer->RenderLayers();
        map.renderer->PaintMapView(map.view, 0, 0, 512, 512);
        benchmark::DoNotOptimize(map.view.Pixels());
    }
}
BENCHMARK(BM_TwoLayerMapRenderLayers)->Unit(benchmark::kMillisecond);

void BM_WorldMapRebuild(benchmark::State& state) {
    ProjectContext project;
    project.romImage.assign(SyntheticImage::k4MB, 0);
    project.romSize = SyntheticImage::k4MB;
    project.regionIndex = 1;
    MapRenderer renderer(project);
    FillPalette(renderer);
    renderer.tileSetType = kTileSetLinear;
    renderer.CopyLinearTiles(SyntheticImage::LinearTiles(VariedTiles(256, 0xFF)));
    std::vector<std::array<std::uint8_t, 4>> metatiles(256);
    for (std::uint32_t m = 0; m < 256; ++m) {
        metatiles[m] = {static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(m + 1),
                        static_cast<std::uint8_t>(m + 2), static_cast<std::uint8_t>(m + 3)};
    }
    renderer.metatileTables[0] = SyntheticImage::WorldMetatileTable(metatiles);
    renderer.layerMap[0].resize(0x20000);
    for (std::size_t i = 0; i < renderer.layerMap[0].size(); ++i) {
        renderer.layerMap[0][i] = static_cast<std::uint8_t>(i * 13 + (i >> 8));
    }
    renderer.RebuildWorldMapImage(2);
    for (auto _ : state) {
        renderer.SetMapByte(10, 10, 3);
        renderer.RebuildWorldMapImage(2);
        benchmark::DoNotOptimize(renderer.layerImages[0].pixels.data());
    }
    state.counters["object_MB"] = static_cast<double>(ObjectBytes(renderer)) / (1 << 20);
}
BENCHMARK(BM_WorldMapRebuild)->Unit(benchmark::kMillisecond);

// The "World Maps" page with the 4096 x 4096 map loaded.
struct LoadedWorldMap {
    explicit LoadedWorldMap(bool showExits) : project(data.MakeProject()) {
        page.showExits = showExits;
        page.Load(project.get(), prompts);
    }

    WorldMapProject data;
    std::unique_ptr<ProjectContext> project;
    ScriptedPrompts prompts;
    WorldMapPageModel page;
};

// One cell edit with the map scrolled into its middle and the exits shown: the byte, the
// picture, the 832 x 560 view with its overlays and the tile set, as a left click does them.
void BM_WorldMapPageCellEdit(benchmark::State& state) {
    LoadedWorldMap map(true);
    WorldMapPageModel& page = map.page;
    page.state.scrollX = 1600;
    page.state.scrollY = 1600;
    std::uint32_t step = 0;
    for (auto _ : state) {
        page.state.PickTile(static_cast<std::uint8_t>(step * 37));
        page.MapViewClick(map.project.get(), (step * 16) % 832, (step * 48) % 560);
        benchmark::DoNotOptimize(page.view.Pixels());
        ++step;
    }
}
BENCHMARK(BM_WorldMapPageCellEdit)->Unit(benchmark::kMicrosecond);

// The picture's part of the same edit: the byte and the cell's 16 x 16 pixels.
void BM_WorldMapCellRedraw(benchmark::State& state) {
    LoadedWorldMap map(false);
    MapRenderer& renderer = *map.page.worldMapRenderer;
    std::uint32_t step = 0;
    for (auto _ : state) {
        const std::uint32_t x = (step * 7) & 0xFF;
        const std::uint32_t y = (step * 13) & 0xFF;
        renderer.SetMapByte(x, y, static_cast<std::uint8_t>(step));
        benchmark::DoNotOptimize(renderer.RedrawWorldMapCell(2, x, y));
        ++step;
    }
}
BENCHMARK(BM_WorldMapCellRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace

// The renderer writes its dump files into the working folder: keep them out of the way.
int main(int argc, char** argv) {
    SetTraceEnabled(false);
    namespace fs = std::filesystem;
    const fs::path scratch =
        fs::temp_directory_path() / ("quenmark-bench-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    fs::current_path(scratch);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::current_path(scratch.parent_path());
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}

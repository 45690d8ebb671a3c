// What File > New does to a 6 MB image after the import: the walk of every map's header script
// that records the blocks of the free area still in use. Three images: one as this editor
// leaves it after many saves (every map with its own script and blocks in the free area), and
// two crafted ones whose scripts loop until the walk's command limit, naming a 64 KB layer on
// every turn: all maps at one script, and every map at a script of its own that goes into
// that loop.
#include <cstdint>
#include <functional>
#include <vector>

#include <benchmark/benchmark.h>

#include "maps/FreeAreaSurvey.h"
#include "maps/MapHeaderTable.h"
#include "maps/WorldMapLayout.h"
#include "platform/Trace.h"
#include "project/Allocator.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kLoop = 0x420000;
constexpr std::uint32_t kOwnScripts = 0x300000;  // outside the free area
constexpr std::uint32_t kBigLayer = 0x448000;

Bytes Pattern(std::size_t size, std::uint32_t seed) {
    Bytes out(size);
    std::uint32_t x = seed;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = static_cast<std::uint8_t>(i % 8 == 0 ? x >> 16 : i / 32);
    }
    return out;
}

std::uint32_t PutCompressed(SyntheticImage& image, std::uint32_t offset, const Bytes& raw) {
    return image.PutLzStream(offset, static_cast<std::uint32_t>(raw.size()), *CompressData(raw));
}

struct SurveyScene {
    explicit SurveyScene(const std::function<void(SyntheticImage&)>& build) {
        SyntheticImage image(SyntheticImage::k6MB, SyntheticImage::Region::German);
        build(image);
        ImportRom(project, image.Bytes());
    }
    ProjectContext project;
};

// The ids whose maps the walk reads through their header script.
std::vector<std::uint32_t> ScriptMapIds(SyntheticImage& image) {
    ProjectContext probe;
    ImportRom(probe, image.Bytes());
    std::vector<std::uint32_t> ids;
    for (std::uint32_t id = 1; id < MapHeaderEntryCount(probe); ++id) {
        if (WorldMapLayoutOf(id) == nullptr) {
            ids.push_back(id);
        }
    }
    return ids;
}

// An image this editor saved many times: 128 maps with a script and five blocks of their own
// (layers, palette, metatiles, collision) in the free area, eight maps to one tile set, about
// 800 entries; every other map with a script of its own outside the area, as the game has it.
void SavedMaps(SyntheticImage& image) {
    constexpr std::size_t kSavedMaps = 128;
    constexpr std::uint32_t kGameScripts = 0x200000;
    constexpr std::uint32_t kGameBlocks = 0x280000;
    std::uint32_t at = kAllocBase;
    std::uint32_t tiles = 0;
    // Pointers from scripts below 0xC00000 reach the upper halves of banks only.
    const auto reachable = [&] {
        at |= 0x8000;
        return at;
    };
    const auto put = [&](const Bytes& raw) {
        const std::uint32_t block = reachable();
        at += (PutCompressed(image, at, raw) + 15) / 16 * 16;
        return block;
    };
    const std::vector<std::uint32_t> ids = ScriptMapIds(image);
    for (std::size_t n = 0; n < ids.size(); ++n) {
        const auto seed = static_cast<std::uint32_t>(n);
        if (n >= kSavedMaps) {
            const std::uint32_t script = kGameScripts + 0x40 * seed;
            HeaderScriptWriter(image, script)
                .MusicTrack(3)
                .Palette(16, 16, kGameBlocks)
                .Tiles(4, 0, kGameBlocks + 0x1000, 0)
                .Metatiles(0, 8, 0, 1, kGameBlocks + 0x2000)
                .Layer(1, kGameBlocks + 0x3000)
                .End();
            image.SetMapHeader(ids[n], script);
            continue;
        }
        if (n % 8 == 0) {
            tiles = put(Pattern(0x2000, seed));
        }
        const std::uint32_t metatiles = put(Pattern(0x800, seed));
        const std::uint32_t collision = put(Pattern(0x200, seed + 1));
        const std::uint32_t palette = reachable();
        image.PutBytes(palette, Pattern(0x20, seed));
        at += 0x20;
        std::uint32_t layers[2] = {};
        for (std::uint32_t k = 0; k < 2; ++k) {
            layers[k] = reachable();
            image.Put8(at, 4);
            image.Put8(at + 1, 2);
            at += (2 + PutCompressed(image, at + 2, Pattern(0x1000, seed + k)) + 15) / 16 * 16;
        }
        const std::uint32_t script = at;
        at = HeaderScriptWriter(image, script)
                 .MusicTrack(3)
                 .Palette(16, 16, palette)
                 .Tiles(4, 0, tiles, 0)
                 .Metatiles(0, 8, 0, 1, metatiles)
                 .Metatiles(0, 4, 0, 0x80, collision)
                 .Layer(1, layers[0])
                 .Layer(2, layers[1])
                 .End()
                 .Position();
        at = (at + 15) / 16 * 16;
        image.SetMapHeader(ids[n], script);
    }
}

// A layer of 64 KB and a piece that names it and goes back to its own start, for ever.
void PutLoop(SyntheticImage& image) {
    image.Put8(kBigLayer, 0xFF);
    image.Put8(kBigLayer + 1, 0xFF);
    image.PutLzBlock(kBigLayer + 2, Pattern(0xFFFF, 7));
    image.SetScriptPiece(0, kLoop);
    HeaderScriptWriter(image, kLoop).Layer(1, kBigLayer).GotoUnlessCalled(0);
}

void OneLoopingScript(SyntheticImage& image) {
    PutLoop(image);
    for (const std::uint32_t id : ScriptMapIds(image)) {
        image.SetMapHeader(id, kLoop);
    }
}

void OwnScriptsIntoTheLoop(SyntheticImage& image) {
    PutLoop(image);
    std::uint32_t at = kOwnScripts;
    for (const std::uint32_t id : ScriptMapIds(image)) {
        image.SetMapHeader(id, at);
        at = HeaderScriptWriter(image, at).MusicTrack(id).GotoUnlessCalled(0).Position();
    }
}

void Survey(benchmark::State& state, void (*build)(SyntheticImage&)) {
    SetTraceEnabled(false);
    SurveyScene scene(build);
    std::size_t used = 0;
    for (auto _ : state) {
        scene.project.allocTable = {};
        RecordUsedFreeArea(scene.project);
        used = 0;
        for (const AllocEntry& e : scene.project.allocTable) {
            used += e.address != 0 ? 1 : 0;
        }
    }
    if (used == 0) {
        state.SkipWithError("nothing recorded");
    }
    state.counters["entries"] = static_cast<double>(used);
}

void BM_SurveySavedMaps(benchmark::State& state) {
    Survey(state, SavedMaps);
}
void BM_SurveyOneLoopingScript(benchmark::State& state) {
    Survey(state, OneLoopingScript);
}
void BM_SurveyOwnScriptsIntoTheLoop(benchmark::State& state) {
    Survey(state, OwnScriptsIntoTheLoop);
}

}  // namespace

BENCHMARK(BM_SurveySavedMaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyOneLoopingScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyOwnScriptsIntoTheLoop)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

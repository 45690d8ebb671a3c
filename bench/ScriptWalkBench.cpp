// Walking a 64 KB script of commands and 65816 code: the listing kept in memory without a
// log, and with the log written. Two scripts: one mostly of instructions, and a dense mix in
// which every fifth item is a command. Bytes per second are bytes of script.
#include <cstdint>
#include <filesystem>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/Trace.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/ScriptDisassembler.h"
#include "tests/support/SyntheticImage.h"

namespace {

constexpr std::uint32_t kScript = 0x0A0000;
constexpr std::uint32_t kScriptSize = 0x10000;
constexpr SyntheticImage::Region kRegion = SyntheticImage::Region::German;

// One piece of an event script: stores and loads, a compare and a forward branch, width
// changes, calls, and commands with fixed and listed operands and a message. Nothing in it ends
// the walk.
const std::vector<std::uint8_t> kPiece{
    0xA9, 0x12, 0x85, 0x10, 0xAD, 0x34, 0x12, 0xC9, 0x05, 0x90, 0x01, 0xEA, 0xE8, 0xC2, 0x20,
    0x8D, 0x00, 0x21, 0xBF, 0x56, 0x34, 0x12, 0xE2, 0x20, 0x20, 0x00, 0x90, 0x22, 0x56, 0x34,
    0x12, 0x02, 0x07, 0x09, 0x80, 0x02, 0x0A, 0x34, 0x12, 0x56, 0x78, 0x02, 0x22, 0x01, 0x03,
    0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x02, 0x09, 0x09, 0x80, 0x0A, 0x00, 0x34, 0x12, 0x02,
    0x1F, 0x02, 0x3D, 0x01, 0x02, 0x03, 0xA2, 0x00, 0x10, 0x9D, 0x00, 0x02, 0xCA, 0xD0, 0xFA};

// Commands of every operand kind (bytes, words, long and relative addresses, flag codes,
// lists, two lengths, a message), each after a run of three short instructions: one item in
// five is a command, at about 2.5 bytes an item.
std::vector<std::uint8_t> DenseMix() {
    const std::vector<std::vector<std::uint8_t>> commands{
        {0x02, 0x07, 0x09, 0x80},
        {0x02, 0x08, 0x11, 0x00, 0x34, 0x12},
        {0x02, 0x13, 0x01, 0x02, 0x03},
        {0x02, 0x1F},
        {0x02, 0x21, 0x34, 0x12},
        {0x02, 0x22, 0x00, 0x01, 0x11, 0x11, 0x22, 0x22},
        {0x02, 0x30, 0x05},
        {0x02, 0x3F, 0x01, 0x02, 0x03},
        {0x02, 0x47, 0x09, 0x80, 0x0A, 0x00},
        {0x02, 0x4B, 0x40},
        {0x02, 0x54, 0x05, 0x34, 0x12},
        {0x02, 0x5C, 0x56, 0x34, 0x12},
        {0x02, 0x80, 0x03},
        {0x02, 0x87, 0x01, 0x02, 0x03},
        {0x02, 0x8E},
        {0x02, 0x99, 0x56, 0x34, 0x12, 0x78, 0x56},
        {0x02, 0xB1, 0x34, 0x12},
        {0x02, 0xC1, 0x10, 0x00},
        {0x02, 0xD6, 0x01, 0x34, 0x12},
        {0x02, 0xED, 0x05, 0xFE, 0xFF, 0x02, 0x00},
        {0x02, 0x1C, 0x0B, 0x00, 0x40},
    };
    const std::vector<std::vector<std::uint8_t>> runs{
        {0xAD, 0x34, 0x12, 0x85, 0x10, 0x8D, 0x00, 0x21},
        {0xA5, 0x20, 0xAE, 0x34, 0x12, 0x9C, 0x00, 0x21},
        {0xE2, 0x20, 0xA9, 0x12, 0x8D, 0x00, 0x21},
        {0xA2, 0x00, 0x10, 0x6D, 0x34, 0x12, 0x85, 0x10},
    };
    std::vector<std::uint8_t> piece;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const std::vector<std::uint8_t>& run = runs[i % runs.size()];
        piece.insert(piece.end(), run.begin(), run.end());
        piece.insert(piece.end(), commands[i].begin(), commands[i].end());
    }
    return piece;
}

struct ScriptScene {
    explicit ScriptScene(const std::vector<std::uint8_t>& piece) {
        SyntheticImage image(SyntheticImage::k1MB, kRegion);
        std::vector<std::uint8_t> script;
        while (script.size() + piece.size() < kScriptSize) {
            script.insert(script.end(), piece.begin(), piece.end());
        }
        script.resize(kScriptSize - 1, 0xEA);
        script.push_back(0x6B);  // RTL
        image.PutBytes(kScript, script);
        image.PutBytes(0x0B4000, EncodeGameText("Welcome, traveller.\nThe tower lies east.",
                                                SyntheticImage::RegionIndex(kRegion)));
        project.romImage = image.Bytes();
        project.romSize = image.Size();
        project.regionIndex = SyntheticImage::RegionIndex(kRegion);
    }

    ProjectContext project;
};

void Walk(benchmark::State& state, const std::vector<std::uint8_t>& piece, bool writeLog) {
    static const bool moved = [] {
        const auto folder = std::filesystem::temp_directory_path() / "quenmark_bench_script";
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        SetTraceEnabled(false);
        return true;
    }();
    (void)moved;
    ScriptScene scene(piece);
    std::size_t items = 0;
    bool whole = true;
    for (auto _ : state) {
        ScriptReader reader(scene.project);
        ScriptTreeNode top;
        DisassembleScript(reader, top, kScript, {.writeLog = writeLog});
        whole = whole && reader.position == kScript + kScriptSize;
        items = 0;
        for (const ScriptTreeNode& item : top.children) {
            items += 1 + item.children.size();
        }
        benchmark::DoNotOptimize(top.children.data());
    }
    if (!whole) {
        state.SkipWithError("the walk did not reach the script's end");
    }
    state.counters["items"] = static_cast<double>(items);
    state.counters["bytes/item"] = static_cast<double>(kScriptSize) / static_cast<double>(items);
    state.SetBytesProcessed(state.iterations() * kScriptSize);
}

void BM_WalkTreeOnly(benchmark::State& state) {
    Walk(state, kPiece, false);
}
void BM_WalkWithLog(benchmark::State& state) {
    Walk(state, kPiece, true);
}
void BM_WalkDenseMixTreeOnly(benchmark::State& state) {
    Walk(state, DenseMix(), false);
}
void BM_WalkDenseMixWithLog(benchmark::State& state) {
    Walk(state, DenseMix(), true);
}

}  // namespace

BENCHMARK(BM_WalkTreeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkWithLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkDenseMixTreeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkDenseMixWithLog)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

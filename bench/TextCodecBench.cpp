// Game text: decoding ten thousand texts of mixed length from an image, and encoding them
// back. Each run prints texts per second; traces are off, as in the pages.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/Trace.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/TextDecoder.h"

namespace {

constexpr std::size_t kTexts = 10000;
constexpr std::uint32_t kFirstText = 0x100000;

// Names, short lines and dialogue: 1 to 8, 9 to 40 and 41 to 200 characters, with line
// breaks and waits in the longer ones.
std::vector<std::string> MakeMessages(std::uint32_t seed) {
    static const std::string kCharacters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789      ,.!?";
    std::mt19937 random(seed);
    std::vector<std::string> messages;
    messages.reserve(kTexts);
    for (std::size_t i = 0; i < kTexts; ++i) {
        const std::uint32_t kind = random() % 3;
        const std::uint32_t length = kind == 0   ? 1 + random() % 8
                                     : kind == 1 ? 9 + random() % 32
                                                 : 41 + random() % 160;
        std::string message;
        for (std::uint32_t k = 0; k < length; ++k) {
            if (kind == 2 && random() % 40 == 0) {
                message += random() % 2 == 0 ? "\\n" : "\\w";
            } else {
                message += kCharacters[random() % kCharacters.size()];
            }
        }
        messages.push_back(std::move(message));
    }
    return messages;
}

// A 4 MB image of a release with the encoded messages one after the other, and their offsets.
struct TextImage {
    explicit TextImage(std::uint32_t region) {
        project.romImage.assign(kRomSize4MB, 0);
        project.romSize = kRomSize4MB;
        project.regionIndex = region;
        std::uint32_t at = kFirstText;
        for (const std::string& message : MakeMessages(region + 1)) {
            const auto bytes = EncodeGameText(message, region);
            project.WriteBytes(at, bytes);
            offsets.push_back(at);
            at += static_cast<std::uint32_t>(bytes.size());
        }
    }
    ProjectContext project;
    std::vector<std::uint32_t> offsets;
};

void Decode(benchmark::State& state) {
    SetTraceEnabled(false);
    const TextImage image(static_cast<std::uint32_t>(state.range(0)));
    TextDecoder decoder(image.project);
    std::size_t units = 0;
    for (auto _ : state) {
        for (const std::uint32_t offset : image.offsets) {
            units += decoder.DecodeAt(offset, true).size();
        }
    }
    benchmark::DoNotOptimize(units);
    state.counters["texts/s"] =
        benchmark::Counter(kTexts, benchmark::Counter::kIsIterationInvariantRate);
}

void Encode(benchmark::State& state) {
    SetTraceEnabled(false);
    const auto region = static_cast<std::uint32_t>(state.range(0));
    const TextImage image(region);
    TextDecoder decoder(image.project);
    std::vector<std::string> decoded;
    for (const std::uint32_t offset : image.offsets) {
        decoded.push_back(Utf16ToUtf8(decoder.DecodeAt(offset, true)));
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& text : decoded) {
            bytes += EncodeGameText(text, region).size();
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["texts/s"] =
        benchmark::Counter(kTexts, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

// Region index 1 (western) and 0 (Japanese).
BENCHMARK(Decode)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(Encode)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

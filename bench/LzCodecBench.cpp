#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "fuzz/LzReference.h"
#include "fuzz/LzSamples.h"
#include "project/LzCodec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRawSize = 0xDE00;  // the largest block the game has

struct Sample {
    std::string name;
    Bytes raw;
    Bytes block;  // head, raw size, stream
};

std::vector<Sample> MakeSamples() {
    std::vector<Sample> samples{{"tilemap", SampleTileMap(kRawSize, 1), {}},
                                {"text", SampleText(kRawSize, 1), {}}};
    for (auto& sample : samples) {
        const auto stream = CompressData(sample.raw);
        sample.block = {0, static_cast<std::uint8_t>(kRawSize), kRawSize >> 8};
        sample.block.insert(sample.block.end(), stream->begin(), stream->end());
    }
    return samples;
}

// The fewest bytes any parse of `input` into this format's units could take: every unit form
// at every reachable length, costed in bits (flag bits included), then rounded up to bytes.
// Only a yardstick for the greedy encoder.
std::size_t OptimalParseBound(const Bytes& input) {
    const std::size_t size = input.size();
    std::vector<std::uint16_t> nearLongest(size, 0);  // longest match at most 0x100 back
    std::vector<std::uint16_t> farLongest(size, 0);   // longest match at most 0x2000 back
    for (std::size_t d = 1; d <= 0x2000 && d < size; ++d) {
        std::uint32_t run = 0;
        for (std::size_t i = size; i-- > d;) {
            run = input[i] == input[i - d] ? std::min<std::uint32_t>(run + 1, 256) : 0;
            farLongest[i] = std::max<std::uint16_t>(farLongest[i], run);
            if (d <= 0x100) {
                nearLongest[i] = std::max<std::uint16_t>(nearLongest[i], run);
            }
        }
    }
    std::vector<std::uint64_t> bits(size + 1, 0);
    for (std::size_t i = size; i-- > 1;) {
        std::uint64_t best = 9 + bits[i + 1];
        for (std::size_t length = 2; length <= std::min<std::size_t>(5, nearLongest[i]); ++length) {
            best = std::min(best, 12 + bits[i + length]);
        }
        for (std::size_t length = 3; length <= farLongest[i]; ++length) {
            best = std::min<std::uint64_t>(best, (length <= 9 ? 18 : 26) + bits[i + length]);
        }
        bits[i] = best;
    }
    return 1 + (bits[1] + 2 + 7) / 8 + 3;
}

// Keeps the mean real time per iteration of every run, so ratios can be printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            seconds[run.benchmark_name()] =
                run.real_accumulated_time / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto samples = MakeSamples();

    bool identical = true;
    for (const auto& sample : samples) {
        const auto indexed = CompressData(sample.raw);
        const auto exhaustive = CompressDataExhaustive(sample.raw);
        std::uint32_t size = 0;
        const auto decoded = UncompressDataAt(sample.block, 0, size);
        const bool same = indexed && *indexed == exhaustive && decoded && *decoded == sample.raw;
        identical = identical && same;
        std::printf(
            "%-8s raw %zu bytes, compressed %zu bytes, optimal-parse bound %zu bytes, "
            "indexed and exhaustive output %s\n",
            sample.name.c_str(), sample.raw.size(), exhaustive.size(),
            OptimalParseBound(sample.raw), same ? "identical" : "DIFFERENT");
    }

    for (const auto& sample : samples) {
        const Sample* s = &sample;
        benchmark::RegisterBenchmark(("Compress/" + s->name).c_str(), [s](benchmark::State& st) {
            for (auto _ : st) {
                benchmark::DoNotOptimize(CompressData(s->raw));
            }
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            ("CompressExhaustive/" + s->name).c_str(),
            [s](benchmark::State& st) {
                for (auto _ : st) {
                    benchmark::DoNotOptimize(CompressDataExhaustive(s->raw));
                }
            })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Uncompress/" + s->name).c_str(), [s](benchmark::State& st) {
            std::uint32_t size = 0;
            for (auto _ : st) {
                benchmark::DoNotOptimize(UncompressDataAt(s->block, 0, size));
            }
            st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * s->raw.size()));
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Memcpy/" + s->name).c_str(), [s](benchmark::State& st) {
            Bytes out(s->raw.size());
            for (auto _ : st) {
                std::memcpy(out.data(), s->raw.data(), s->raw.size());
                benchmark::DoNotOptimize(out.data());
                benchmark::ClobberMemory();
            }
            st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * s->raw.size()));
        })->Unit(benchmark::kMicrosecond);
    }

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& t = reporter.seconds;
    for (const auto& sample : samples) {
        const std::string& n = sample.name;
        if (!t.count("Compress/" + n) || !t.count("CompressExhaustive/" + n) ||
            !t.count("Uncompress/" + n) || !t.count("Memcpy/" + n)) {
            continue;  // filtered out
        }
        const double mbPerSecond =
            static_cast<double>(sample.raw.size()) / t["Uncompress/" + n] / 1e6;
        std::printf(
            "%-8s compressor %.0fx faster than exhaustive search; decoder %.0f MB/s, "
            "%.1fx the time of memcpy\n",
            n.c_str(), t["CompressExhaustive/" + n] / t["Compress/" + n], mbPerSecond,
            t["Uncompress/" + n] / t["Memcpy/" + n]);
    }
    return identical ? 0 : 1;
}

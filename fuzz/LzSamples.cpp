#include "fuzz/LzSamples.h"

#include <random>
#include <string>

namespace {

std::uint32_t Below(std::mt19937& rng, std::uint32_t bound) {
    return rng() % bound;
}

}  // namespace

std::vector<std::uint8_t> SampleTileMap(std::size_t size, std::uint32_t seed) {
    constexpr std::uint32_t kWidth = 64;
    std::mt19937 rng(seed);
    const std::size_t cells = (size + 1) / 2;
    const std::uint32_t height = static_cast<std::uint32_t>((cells + kWidth - 1) / kWidth);
    std::vector<std::uint16_t> map(static_cast<std::size_t>(kWidth) * height);

    // Ground: a 2x2 pattern per band of rows.
    std::uint16_t ground = 0x2040;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (y % 16 == 0) {
            ground = static_cast<std::uint16_t>(0x2040 + 4 * Below(rng, 6));
        }
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            map[y * kWidth + x] = static_cast<std::uint16_t>(ground + (x & 1) + 2 * (y & 1));
        }
    }
    // Objects: rectangles of consecutive tiles, some of them repeated shapes.
    const std::uint32_t objects = static_cast<std::uint32_t>(map.size() / 40);
    for (std::uint32_t n = 0; n < objects; ++n) {
        const std::uint32_t w = 2 + Below(rng, 8);
        const std::uint32_t h = 2 + Below(rng, 6);
        const std::uint32_t x0 = Below(rng, kWidth - w + 1);
        const std::uint32_t y0 = Below(rng, height);
        const std::uint16_t first = static_cast<std::uint16_t>(0x0100 + 0x20 * Below(rng, 12));
        const std::uint16_t palette = static_cast<std::uint16_t>(0x0400 * Below(rng, 4));
        for (std::uint32_t dy = 0; dy < h && y0 + dy < height; ++dy) {
            for (std::uint32_t dx = 0; dx < w; ++dx) {
                map[(y0 + dy) * kWidth + x0 + dx] =
                    static_cast<std::uint16_t>(palette | (first + dx + 16 * dy));
            }
        }
    }
    // Decoration and flipped cells.
    for (auto& cell : map) {
        const std::uint32_t roll = Below(rng, 100);
        if (roll < 3) {
            cell = static_cast<std::uint16_t>(0x2080 + Below(rng, 24));
        } else if (roll < 4) {
            cell ^= 0x4000;
        }
    }
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k) {
        bytes[k] = static_cast<std::uint8_t>(map[k / 2] >> (8 * (k & 1)));
    }
    return bytes;
}

std::vector<std::uint8_t> SampleText(std::size_t size, std::uint32_t seed) {
    static const char* const kSyllables[] = {"ter", "ra",  "ni",  "ma", "ark", "el",  "on", "ka",
                                             "lo",  "su",  "de",  "in", "vo",  "sha", "ri", "gu",
                                             "the", "and", "you", "is", "to",  "of",  "be", "we"};
    std::mt19937 rng(seed);
    std::vector<std::string> words(300);
    for (auto& word : words) {
        const std::uint32_t parts = 1 + Below(rng, 3);
        for (std::uint32_t p = 0; p < parts; ++p) {
            word += kSyllables[Below(rng, std::size(kSyllables))];
        }
    }
    std::string text;
    std::uint32_t line = 0;
    bool sentenceStart = true;
    while (text.size() < size) {
        // Skewed choice: low indices are far more common, as in real prose.
        const std::uint32_t r = Below(rng, 300);
        std::string word = words[r * r / 300];
        if (sentenceStart) {
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        }
        text += word;
        line += static_cast<std::uint32_t>(word.size());
        const std::uint32_t roll = Below(rng, 12);
        sentenceStart = roll == 0;
        text += roll == 0 ? ". " : roll == 1 ? ", " : " ";
        if (line > 28) {
            text += '\n';
            line = 0;
        }
    }
    text.resize(size);
    return {text.begin(), text.end()};
}

#include "fuzz/LzReference.h"

namespace {

struct Encoder {
    std::vector<std::uint8_t> out;
    std::size_t flagAt = 1;
    int bit = 7;
    std::uint8_t flags = 0;

    void Flag(int value) {
        if (bit < 0) {
            out[flagAt] = flags;
            flagAt = out.size();
            out.push_back(0);
            flags = 0;
            bit = 7;
        }
        if (value != 0) {
            flags |= static_cast<std::uint8_t>(1 << bit);
        }
        --bit;
    }
};

}  // namespace

std::vector<std::uint8_t> CompressDataExhaustive(std::span<const std::uint8_t> input) {
    const std::size_t size = input.size();
    if (size == 0) {
        return {};
    }
    Encoder e;
    e.out = {input[0], 0};
    std::size_t i = 1;
    while (i < size) {
        std::size_t bestLength = 0;
        std::size_t bestSource = 0;
        const std::size_t lowest = i > 0x2000 ? i - 0x2000 : 0;
        for (std::size_t j = i; j-- > lowest;) {
            std::size_t length = 0;
            while (length < 256 && i + length < size && input[j + length] == input[i + length]) {
                ++length;
            }
            if (length >= 2 && length > bestLength) {
                bestLength = length;
                bestSource = j;
            }
        }
        const std::size_t distance = i - bestSource;
        const int back = static_cast<int>(bestSource) - static_cast<int>(i);
        if (bestLength == 0 || (bestLength == 2 && distance > 0x100)) {
            e.Flag(1);
            e.out.push_back(input[i]);
            i += 1;
        } else if (bestLength <= 5 && distance <= 0x100) {
            e.Flag(0);
            e.Flag(0);
            e.Flag(static_cast<int>((bestLength - 2) >> 1));
            e.Flag(static_cast<int>((bestLength - 2) & 1));
            e.out.push_back(static_cast<std::uint8_t>(back & 0xFF));
            i += bestLength;
        } else {
            const unsigned w = static_cast<unsigned>(back * 8) & 0xFFFF;
            e.Flag(0);
            e.Flag(1);
            e.out.push_back(static_cast<std::uint8_t>(w >> 8));
            if (bestLength <= 9) {
                e.out.push_back(static_cast<std::uint8_t>((w & 0xFF) | (bestLength - 2)));
            } else {
                e.out.push_back(static_cast<std::uint8_t>(w & 0xFF));
                e.out.push_back(static_cast<std::uint8_t>(bestLength - 1));
            }
            i += bestLength;
        }
    }
    e.Flag(0);
    e.Flag(1);
    e.out[e.flagAt] = e.flags;
    e.out.insert(e.out.end(), {0, 0, 0});
    return e.out;
}

#include "project/LzCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/Trace.h"
#include "project/ProjectContext.h"

namespace {

// Raw sizes that occur in the game's data; any other size is still decoded, after a trace.
constexpr std::array<std::uint16_t, 34> kKnownRawSizes = {
    0x80,   0x100,  0x101,  0x13D,  0x1DE,  0x200,  0x400,  0x540,  0x57D,  0x600,  0x71D,  0x7B7,
    0x800,  0xA00,  0xAA1,  0xC00,  0xD1D,  0x1000, 0x1079, 0x1200, 0x128C, 0x1400, 0x1800, 0x1C00,
    0x1E00, 0x2000, 0x23F8, 0x2800, 0x3000, 0x4000, 0x6000, 0x7D00, 0xA4FE, 0xDE00};

// The raw size that the game's own loader refuses.
constexpr std::uint32_t kRefusedRawSize = 0x5EF4;
constexpr std::uint32_t kMaxRawSize = 0xFFFF;
constexpr std::size_t kMaxStreamLength = 0xFFFF;  // flag positions are 16 bits wide

constexpr std::uint32_t kShortWindow = 0x100;
constexpr std::uint32_t kLongWindow = 0x2000;
constexpr std::uint32_t kMinMatch = 2;
constexpr std::uint32_t kMaxMatch = 256;
constexpr std::uint32_t kMaxShortMatch = 5;
constexpr std::uint32_t kMaxPackedLongMatch = 9;  // longer ones need the count byte

// Room behind the raw size for copies that move eight bytes at a time.
constexpr std::size_t kCopySlack = 8;

struct StreamEnd {
    std::size_t readEnd = 0;  // offset just past the end marker
};

// Decodes the stream that starts at `start` into `out`, which has room for `rawSize` bytes and
// the copy slack. Every read is bounded by the end of `bytes`; a unit that would write past the
// raw size or copy from before the output's start fails the whole decode.
std::optional<StreamEnd> DecodeStream(std::span<const std::uint8_t> bytes, std::size_t start,
                                      std::uint32_t rawSize, std::vector<std::uint8_t>& out,
                                      std::uint32_t& produced) {
    const std::uint8_t* in = bytes.data();
    const std::size_t end = bytes.size();
    std::uint8_t* dst = out.data();
    std::size_t pos = start;
    if (pos >= end) {
        return std::nullopt;
    }
    dst[0] = in[pos++];
    std::uint32_t outPos = 1;
    unsigned flags = 0;
    int bitsLeft = 0;
    // -1 once the stream runs out.
    auto takeBit = [&]() -> int {
        if (bitsLeft == 0) {
            if (pos >= end) {
                return -1;
            }
            flags = in[pos++];
            bitsLeft = 8;
        }
        --bitsLeft;
        return static_cast<int>((flags >> bitsLeft) & 1);
    };

    for (;;) {
        if (bitsLeft == 0 && pos < end && in[pos] == 0xFF && end - pos > 8 &&
            rawSize - outPos >= 8) {
            // A flag byte of eight literals: common in busy data, taken in one move.
            std::memcpy(dst + outPos, in + pos + 1, 8);
            pos += 9;
            outPos += 8;
            continue;
        }
        const int first = takeBit();
        if (first < 0) {
            return std::nullopt;
        }
        if (first == 1) {
            if (outPos >= rawSize || pos >= end) {
                return std::nullopt;
            }
            dst[outPos++] = in[pos++];
            continue;
        }
        const int second = takeBit();
        if (second < 0) {
            return std::nullopt;
        }
        std::uint32_t distance = 0;
        std::uint32_t length = 0;
        if (second == 1) {
            if (end - pos < 2) {
                return std::nullopt;
            }
            const std::uint32_t w = static_cast<std::uint32_t>(in[pos] << 8 | in[pos + 1]);
            pos += 2;
            if ((w & 7) != 0) {
                length = (w & 7) + 2;
            } else {
                if (pos >= end) {
                    return std::nullopt;
                }
                const std::uint32_t count = in[pos++];
                if (count == 0) {
                    produced = outPos;
                    return StreamEnd{pos};
                }
                length = count + 1;
            }
            distance = kLongWindow - (w >> 3);
        } else {
            const int a = takeBit();
            const int b = takeBit();
            if (a < 0 || b < 0 || pos >= end) {
                return std::nullopt;
            }
            distance = kShortWindow - in[pos++];
            length = 2 + 2 * static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b);
        }
        if (distance > outPos || length > rawSize - outPos) {
            return std::nullopt;
        }
        std::uint8_t* to = dst + outPos;
        const std::uint8_t* from = to - distance;
        if (distance >= 8) {
            // Eight bytes at a time; the buffer's slack takes the overshoot, which later units
            // overwrite (or the final clear removes).
            for (std::uint32_t k = 0; k < length; k += 8) {
                std::memcpy(to + k, from + k, 8);
            }
        } else if (distance == 1) {
            std::memset(to, *from, length);
        } else {
            // Overlapping source: the copy repeats the bytes it is producing.
            for (std::uint32_t k = 0; k < length; ++k) {
                to[k] = from[k];
            }
        }
        outPos += length;
    }
}

std::optional<std::vector<std::uint8_t>> DecodeBlock(std::span<const std::uint8_t> bytes,
                                                     std::size_t rawSizeOffset, std::uint32_t& size,
                                                     std::size_t* streamEnd) {
    size = 0;
    if (!InRange(bytes.size(), rawSizeOffset, 2)) {
        return std::nullopt;
    }
    const std::uint32_t rawSize = GetU16(bytes, rawSizeOffset);
    size = rawSize;
    if (rawSize == 0 || rawSize == kRefusedRawSize) {
        return std::nullopt;
    }
    if (std::find(kKnownRawSizes.begin(), kKnownRawSizes.end(), rawSize) == kKnownRawSizes.end()) {
        Trace("UncompressData: Size:%04X\n", rawSize);
    }
    std::vector<std::uint8_t> out(rawSize + kCopySlack, 0);
    std::uint32_t produced = 0;
    const auto decoded = DecodeStream(bytes, rawSizeOffset + 2, rawSize, out, produced);
    if (!decoded) {
        return std::nullopt;
    }
    // Bytes that a stream ending early leaves undecoded are zero, whatever a copy overshot.
    out.resize(rawSize);
    std::fill(out.begin() + produced, out.end(), 0);
    size = produced;
    if (streamEnd != nullptr) {
        *streamEnd = decoded->readEnd;
    }
    return out;
}

// Finds, for each position, the longest earlier match within the window, the nearest one among
// equals: the same choice as trying every source position, found through hash chains. Matches
// of four bytes or more come from a chain of 4-byte sequences; below that only the nearest
// 3-byte match (or, failing that, a 2-byte one near enough for the short form) can be chosen.
class MatchFinder {
public:
    explicit MatchFinder(std::span<const std::uint8_t> input)
        : in_(input),
          size_(static_cast<std::uint32_t>(input.size())),
          hashBits_(std::clamp<unsigned>(std::bit_width(input.size()), 8, 14)),
          quads_(hashBits_, kLongWindow),
          triples_(hashBits_, kLongWindow),
          pairs_(hashBits_, kShortWindow) {}

    struct Match {
        std::uint32_t length = 0;  // 0: none
        std::uint32_t source = 0;
    };

    Match Find(std::uint32_t i) const {
        const std::uint32_t maxLength = std::min(kMaxMatch, size_ - i);
        if (maxLength >= 4) {
            if (const Match best = Longest(i, maxLength); best.length != 0) {
                return best;
            }
        }
        if (maxLength >= 3) {
            for (std::int32_t j = triples_.Head(TripleHash(i));
                 j >= 0 && i - static_cast<std::uint32_t>(j) <= kLongWindow; j = triples_.Next(j)) {
                if (MatchLength(static_cast<std::uint32_t>(j), i, 3) == 3) {
                    return {3, static_cast<std::uint32_t>(j)};
                }
            }
        }
        if (maxLength >= 2) {
            // The nearest pair; a farther one than the short form reaches is written as a
            // literal anyway.
            for (std::int32_t j = pairs_.Head(Hash(PairKey(i)));
                 j >= 0 && i - static_cast<std::uint32_t>(j) <= kShortWindow; j = pairs_.Next(j)) {
                if (MatchLength(static_cast<std::uint32_t>(j), i, 2) == 2) {
                    return {2, static_cast<std::uint32_t>(j)};
                }
            }
        }
        return {};
    }

    // Makes the positions from `from` up to `until` (exclusive) available as sources.
    void Insert(std::uint32_t from, std::uint32_t until) {
        for (std::uint32_t p = from; p < until; ++p) {
            if (p + 4 <= size_) {
                const std::uint32_t key = Key4(p);
                quads_.Insert(Hash(key), p);
                triples_.Insert(Hash(key & 0xFFFFFF), p);
                pairs_.Insert(Hash(key & 0xFFFF), p);
            } else if (p + 2 <= size_) {
                if (p + 3 <= size_) {
                    triples_.Insert(TripleHash(p), p);
                }
                pairs_.Insert(Hash(PairKey(p)), p);
            }
        }
    }

private:
    // Hash heads and links, as position + 1 in 16 bits (0: none). Links live in a ring as long
    // as the window, which is as far back as any walk goes.
    class Chains {
    public:
        Chains(unsigned hashBits, std::uint32_t window)
            : heads_(std::size_t{1} << hashBits, 0), links_(window, 0), mask_(window - 1) {}
        std::int32_t Head(std::uint32_t hash) const { return heads_[hash] - 1; }
        std::int32_t Next(std::uint32_t p) const { return links_[p & mask_] - 1; }
        void Insert(std::uint32_t hash, std::uint32_t p) {
            links_[p & mask_] = heads_[hash];
            heads_[hash] = static_cast<std::uint16_t>(p + 1);
        }

    private:
        std::vector<std::uint16_t> heads_;
        std::vector<std::uint16_t> links_;
        std::uint32_t mask_;
    };

    // The longest match of four bytes or more, nearest first; 0 when there is none. A source j
    // is met as j + offset on the chain of the four bytes at i + offset: once a match of some
    // length is known, a longer one must also agree on the bytes up to the one just past it,
    // whose chain is usually far shorter than the one of the first bytes.
    Match Longest(std::uint32_t i, std::uint32_t maxLength) const {
        const std::uint32_t lowest = i > kLongWindow ? i - kLongWindow : 0;
        Match best;
        std::uint32_t bestLength = 3;
        std::uint32_t offset = 0;
        std::uint32_t limit = i;  // sources at or above it are done
        std::int64_t q = quads_.Head(QuadHash(i));
        while (q >= std::int64_t{lowest} + offset) {
            const std::uint32_t source = static_cast<std::uint32_t>(q) - offset;
            if (source < limit && in_[source + bestLength] == in_[i + bestLength]) {
                const std::uint32_t length = MatchLength(source, i, maxLength);
                if (length > bestLength) {
                    bestLength = length;
                    best = {length, source};
                    if (length == maxLength) {
                        break;
                    }
                    limit = source;
                    // Within the distance, so every position met on the new chain lies below
                    // i and has been inserted.
                    const std::uint32_t next = std::min(length - 3, i - source);
                    if (next != offset) {
                        offset = next;
                        q = quads_.Head(QuadHash(i + offset));
                        continue;
                    }
                }
            }
            q = quads_.Next(static_cast<std::uint32_t>(q));
        }
        return best;
    }

    // Keys hold the bytes from p upward, the first in the lowest bits.
    std::uint32_t Key4(std::uint32_t p) const {
        if constexpr (std::endian::native == std::endian::little) {
            std::uint32_t key = 0;
            std::memcpy(&key, in_.data() + p, 4);
            return key;
        } else {
            return static_cast<std::uint32_t>(in_[p] | in_[p + 1] << 8 | in_[p + 2] << 16 |
                                              in_[p + 3] << 24);
        }
    }
    std::uint32_t PairKey(std::uint32_t p) const {
        return static_cast<std::uint32_t>(in_[p] | in_[p + 1] << 8);
    }
    std::uint32_t Hash(std::uint32_t key) const { return (key * 2654435761u) >> (32 - hashBits_); }
    std::uint32_t TripleHash(std::uint32_t p) const { return Hash(PairKey(p) | in_[p + 2] << 16); }
    std::uint32_t QuadHash(std::uint32_t p) const { return Hash(Key4(p)); }
    std::uint32_t MatchLength(std::uint32_t source, std::uint32_t i,
                              std::uint32_t maxLength) const {
        std::uint32_t length = 0;
        while (length + 8 <= maxLength) {
            std::uint64_t a = 0;
            std::uint64_t b = 0;
            std::memcpy(&a, in_.data() + source + length, 8);
            std::memcpy(&b, in_.data() + i + length, 8);
            if (a != b) {
                return length + static_cast<std::uint32_t>(__builtin_ctzll(a ^ b) / 8);
            }
            length += 8;
        }
        while (length < maxLength && in_[source + length] == in_[i + length]) {
            ++length;
        }
        return length;
    }

    std::span<const std::uint8_t> in_;
    std::uint32_t size_;
    unsigned hashBits_;  // fewer for small inputs, whose tables are then quick to set up
    Chains quads_;
    Chains triples_;
    Chains pairs_;
};

// Appends stream bytes, interleaving flag bytes where the format puts them.
class StreamWriter {
public:
    explicit StreamWriter(std::size_t capacity) { out_.reserve(capacity); }

    void Byte(std::uint32_t value) { out_.push_back(static_cast<std::uint8_t>(value)); }
    void Bit(std::uint32_t bit) {
        if (bitIndex_ < 0) {
            OpenFlagByte();
        }
        flagByte_ |= static_cast<std::uint8_t>(bit << bitIndex_);
        --bitIndex_;
    }
    void Start(std::uint8_t first) {
        Byte(first);
        flagPosition_ = out_.size();
        Byte(0);
    }
    std::vector<std::uint8_t> Finish() {
        Bit(0);
        Bit(1);
        out_[flagPosition_] = flagByte_;
        Byte(0);
        Byte(0);
        Byte(0);
        return std::move(out_);
    }

private:
    // The full flag byte is stored and the next one's place reserved, right where it is needed.
    void OpenFlagByte() {
        out_[flagPosition_] = flagByte_;
        flagPosition_ = out_.size();
        out_.push_back(0);
        flagByte_ = 0;
        bitIndex_ = 7;
    }

    std::vector<std::uint8_t> out_;
    std::size_t flagPosition_ = 0;
    std::uint8_t flagByte_ = 0;
    int bitIndex_ = 7;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> UncompressDataAt(std::span<const std::uint8_t> bytes,
                                                          std::size_t offset, std::uint32_t& size,
                                                          std::uint32_t* compressedLength) {
    size = 0;
    if (offset >= bytes.size()) {
        return std::nullopt;
    }
    std::size_t streamEnd = 0;
    auto out = DecodeBlock(bytes, offset + 1, size, &streamEnd);
    if (out && compressedLength != nullptr) {
        *compressedLength = static_cast<std::uint32_t>(streamEnd - (offset + 3));
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> UncompressData(const ProjectContext& project,
                                                        std::uint32_t address, std::uint32_t& size,
                                                        std::uint32_t* compressedLength) {
    // The raw size is found through the address rule; the stream follows it in the image.
    const std::size_t rawSizeOffset = project.WrapRomOffset(address + 1);
    std::size_t streamEnd = 0;
    auto out = DecodeBlock(project.Image(), rawSizeOffset, size, &streamEnd);
    if (out && compressedLength != nullptr) {
        *compressedLength = static_cast<std::uint32_t>(streamEnd - (rawSizeOffset + 2));
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> CompressData(std::span<const std::uint8_t> input,
                                                      std::uint32_t* compressedLength) {
    if (input.empty() || input.size() > kMaxRawSize) {
        return std::nullopt;
    }
    const auto size = static_cast<std::uint32_t>(input.size());
    // Worst case: every byte a literal (9 bits), plus the first byte and the end marker.
    StreamWriter writer(size + size / 8 + 8);
    MatchFinder finder(input);
    writer.Start(input[0]);
    finder.Insert(0, 1);
    std::uint32_t i = 1;
    while (i < size) {
        const auto match = finder.Find(i);
        const std::uint32_t distance = i - match.source;
        std::uint32_t step = 1;
        if (match.length == 0 || (match.length == kMinMatch && distance > kShortWindow)) {
            writer.Bit(1);
            writer.Byte(input[i]);
        } else if (match.length <= kMaxShortMatch && distance <= kShortWindow) {
            const std::uint32_t extra = match.length - kMinMatch;
            writer.Bit(0);
            writer.Bit(0);
            writer.Bit(extra >> 1);
            writer.Bit(extra & 1);
            writer.Byte((match.source - i) & 0xFF);
            step = match.length;
        } else {
            const std::uint32_t w = ((match.source - i) * 8) & 0xFFFF;
            writer.Bit(0);
            writer.Bit(1);
            writer.Byte(w >> 8);
            if (match.length <= kMaxPackedLongMatch) {
                writer.Byte((w & 0xFF) | (match.length - 2));
            } else {
                writer.Byte(w & 0xFF);
                writer.Byte(match.length - 1);
            }
            step = match.length;
        }
        finder.Insert(i, i + step);
        i += step;
    }
    auto stream = writer.Finish();
    if (stream.size() > kMaxStreamLength) {
        return std::nullopt;
    }
    if (compressedLength != nullptr) {
        *compressedLength = static_cast<std::uint32_t>(stream.size());
    }
    return stream;
}

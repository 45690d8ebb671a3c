#include <random>

#include <gtest/gtest.h>

#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "tests/support/SyntheticImage.h"
#include "tests/support/TraceCapture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A block (head 0, raw size, stream) alone in a buffer, decoded with the plain-offset variant.
std::optional<Bytes> Decode(std::uint32_t rawSize, const Bytes& stream, std::uint32_t& size,
                            std::uint32_t* length = nullptr) {
    Bytes block{0, static_cast<std::uint8_t>(rawSize), static_cast<std::uint8_t>(rawSize >> 8)};
    block.insert(block.end(), stream.begin(), stream.end());
    return UncompressDataAt(block, 0, size, length);
}

// Encodes, decodes behind a head and checks the input comes back, with the same stream length
// reported on both sides.
void ExpectRoundTrip(const Bytes& input) {
    SCOPED_TRACE(testing::Message() << "size " << input.size());
    std::uint32_t encodedLength = 0;
    const auto stream = CompressData(input, &encodedLength);
    ASSERT_TRUE(stream);
    EXPECT_EQ(encodedLength, stream->size());
    std::uint32_t size = 0;
    std::uint32_t decodedLength = 0;
    const auto raw =
        Decode(static_cast<std::uint32_t>(input.size()), *stream, size, &decodedLength);
    ASSERT_TRUE(raw);
    EXPECT_EQ(*raw, input);
    EXPECT_EQ(size, input.size());
    EXPECT_EQ(decodedLength, encodedLength);
}

Bytes RandomBytes(std::mt19937& rng, std::size_t size, std::uint32_t alphabet) {
    Bytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(rng() % alphabet);
    }
    return bytes;
}

}  // namespace

TEST(LzCodec, WorkedExamplesByteForByte) {
    const Bytes abc{0x61, 0x62, 0x63, 0x61, 0x62, 0x63, 0x61, 0x62, 0x63, 0x61, 0x62, 0x63};
    const std::pair<Bytes, Bytes> cases[] = {
        {Bytes(10, 0x61), {0x61, 0x50, 0xFF, 0xFF, 0x00, 0x00, 0x00}},
        {abc, {0x61, 0xD4, 0x62, 0x63, 0xFF, 0xEF, 0x00, 0x00, 0x00}},
        {Bytes(300, 0), {0x00, 0x54, 0xFF, 0xF8, 0xFF, 0xFF, 0xF8, 0x2A, 0x00, 0x00, 0x00}},
        // Two equally long earlier matches of "xyz": the nearer one (distance 4) is used.
        {{'x', 'y', 'z', 'x', 'y', 'z', 'w', 'x', 'y', 'z'},
         {'x', 0xC6, 'y', 'z', 0xFD, 'w', 0x28, 0xFC, 0x00, 0x00, 0x00}},
    };
    for (const auto& [raw, stream] : cases) {
        EXPECT_EQ(CompressData(raw), stream);
        ExpectRoundTrip(raw);
    }
}

TEST(LzCodec, DecoderAcceptsWellFormedStreamsAndRefusesTheRest) {
    const Bytes literal = SyntheticImage::LiteralLzStream(Bytes(0x5EF4, 7));
    // The decoded bytes, or nothing; behind the decoded bytes the buffer is zero.
    const struct {
        std::uint32_t rawSize;
        Bytes stream;
        std::optional<Bytes> decoded;
    } cases[] = {
        {0x80, {0x41, 0x40, 0x00, 0x00, 0x00}, Bytes{'A'}},  // ends after the first byte
        {0x20,
         {0x41, 0xFE, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0xA0, 0xFF, 0xC1, 0x00, 0x00, 0x00},
         Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'A', 'B', 'C'}},  // after a far copy
        // Long copies with a count byte: 1 copies 2 bytes, 0xFF copies 256.
        {3, {0x41, 0x50, 0xFF, 0xF8, 0x01, 0x00, 0x00, 0x00}, Bytes(3, 0x41)},
        {257, {0x41, 0x50, 0xFF, 0xF8, 0xFF, 0x00, 0x00, 0x00}, Bytes(257, 0x41)},
        {2, {0x41, 0xA0, 0x42, 0x00, 0x00, 0x00}, Bytes{'A', 'B'}},
        // One byte past the raw size, by a copy or a literal.
        {256, {0x41, 0x50, 0xFF, 0xF8, 0xFF, 0x00, 0x00, 0x00}, {}},
        {2, {0x41, 0xD0, 0x42, 0x43, 0x00, 0x00, 0x00}, {}},
        {4, {0x41, 0x30, 0xFF, 0x00, 0x00}, {}},
        // Copies from before the start: 2 back, long from 2 back, long from 0x400 back.
        {4, {0x41, 0x00, 0xFE, 0x00, 0x00, 0x00}, {}},
        {4, {0x41, 0x50, 0xFF, 0xF1, 0x00, 0x00, 0x00}, {}},
        {4, {0x41, 0x50, 0xE0, 0x01}, {}},
        // No end marker before the data ends, an end marker cut short, no stream.
        {4, {0x41, 0xFF, 0x42, 0x43}, {}},
        {4, {0x41, 0x40, 0x00, 0x00}, {}},
        {4, {}, {}},
        // Raw sizes that are refused even with a well-formed stream.
        {0x5EF4, literal, {}},
        {0, literal, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rawSize << " " << testing::PrintToString(c.stream));
        std::uint32_t size = 0;
        std::uint32_t length = 0;
        const auto raw = Decode(c.rawSize, c.stream, size, &length);
        ASSERT_EQ(raw.has_value(), c.decoded.has_value());
        if (raw) {
            Bytes expected = *c.decoded;
            expected.resize(c.rawSize, 0);
            EXPECT_EQ(*raw, expected);
            EXPECT_EQ(size, c.decoded->size());
            EXPECT_EQ(length, c.stream.size());
        } else {
            EXPECT_EQ(size, c.rawSize);
        }
    }
    // A head cut by the end of the bytes, and offsets past it.
    std::uint32_t size = 0;
    EXPECT_FALSE(UncompressDataAt(Bytes{0, 0x10}, 0, size));
    EXPECT_FALSE(UncompressDataAt(Bytes{0, 0x10}, 5, size));
}

TEST(LzCodec, ImageBlocksFollowTheAddressRuleAndStopAtTheImageEnd) {
    SyntheticImage image(SyntheticImage::k4MB);
    std::mt19937 rng(1);
    const Bytes text = RandomBytes(rng, 0x13C, 8);
    const std::uint32_t blockLength = image.PutLzBlock(0x12345, text, 0x99);
    const auto cut = SyntheticImage::LiteralLzStream(Bytes(0x30, 1));
    image.PutLzStream(SyntheticImage::k4MB - 0x20, 0x30, std::span(cut).first(0x20 - 3));
    ProjectContext project;
    project.romImage = image.Bytes();
    project.romSize = image.Size();
    project.regionIndex = 1;

    std::uint32_t size = 0;
    std::uint32_t length = 0;
    std::optional<Bytes> raw;
    // A raw size the game never uses is decoded all the same, after a trace.
    EXPECT_EQ(CaptureTrace([&] { raw = UncompressData(project, 0xC12345, size, &length); }),
              "UncompressData: Size:013C\n");
    EXPECT_EQ(raw, text);
    EXPECT_EQ(length, blockLength - 3);
    EXPECT_FALSE(UncompressData(project, SyntheticImage::k4MB - 0x20, size));
}

TEST(LzCodec, RoundTripsManyShapesAndSizesUpTo0xFFFF) {
    // Runs, inputs full of short and long matches, and random bytes that are mostly literals.
    std::mt19937 rng(11);
    for (const std::size_t size : {1u, 2u, 3u, 9u, 10u, 257u, 0x1000u, 0x8001u, 0xDE00u, 0xFFFFu}) {
        ExpectRoundTrip(Bytes(size, 0xA5));
        ExpectRoundTrip(RandomBytes(rng, size, 2));
        ExpectRoundTrip(RandomBytes(rng, size, 5));
        if (size <= 0xE000) {
            ExpectRoundTrip(RandomBytes(rng, size, 256));
        }
    }
    // Unrepresentable: empty, too long, or a stream that would pass 0xFFFF bytes (random
    // bytes grow by an eighth).
    EXPECT_FALSE(CompressData({}));
    EXPECT_FALSE(CompressData(Bytes(0x10000, 0)));
    EXPECT_FALSE(CompressData(RandomBytes(rng, 0xFFFF, 256)));

    // No byte pair repeats nearby in this sequence; its first four bytes are then repeated
    // 0x2000 back (a long copy reaches them) or 0x2001 back (out of reach: literals only).
    Bytes spread;
    for (unsigned a = 0; a < 256; ++a) {
        spread.push_back(static_cast<std::uint8_t>(a));
        for (unsigned b = a + 1; b < 256; ++b) {
            spread.insert(spread.end(),
                          {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)});
        }
    }
    for (const std::size_t gap : {0x2000u, 0x2001u}) {
        Bytes input(spread.begin(), spread.begin() + gap);
        input.insert(input.end(), spread.begin(), spread.begin() + 4);
        ExpectRoundTrip(input);
        EXPECT_EQ(CompressData(input) == SyntheticImage::LiteralLzStream(input), gap == 0x2001);
    }
}

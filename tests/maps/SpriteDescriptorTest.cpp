#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "maps/SpriteDescriptor.h"
#include "project/ProjectContext.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Piece = SyntheticImage::SpritePiece;
using Frame = SyntheticImage::SpriteFrame;

constexpr std::uint32_t kInfo = 0x100000;
constexpr std::uint32_t kAnim = 0x110000;
constexpr std::uint32_t kPalette = 0x120000;
constexpr std::uint32_t kGraphics = 0x130000;
constexpr std::uint32_t kOtherGraphics = 0x140000;
constexpr std::uint32_t kTablePalette = 0x150000;
constexpr std::uint32_t kTableGraphics = 0x160000;
constexpr std::uint32_t kBackground = 0xFF101010;

// Colour i of the test palette: red i, green 31 - i, blue 2i (15-bit), never the key colour.
std::uint32_t Argb(int i) {
    return 0xFF000000 | static_cast<std::uint32_t>(i) << 19 |
           static_cast<std::uint32_t>(31 - i) << 11 |
           static_cast<std::uint32_t>((2 * i) & 0x1F) << 3;
}

std::array<std::uint16_t, 16> TestPalette() {
    std::array<std::uint16_t, 16> colours{};
    colours[0] = 0x7FFF;  // never shown
    for (int i = 1; i < 16; ++i) {
        colours[i] = static_cast<std::uint16_t>(i | (31 - i) << 5 | ((2 * i) & 0x1F) << 10);
    }
    return colours;
}

std::unique_ptr<ProjectContext> MakeProject(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = image.Size();
    project->regionIndex = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
    return project;
}

// An image with one sprite whose record names its palette and graphics by address: the given
// animations, the test palette and the given sheet.
SyntheticImage SpriteImage(const std::vector<SyntheticImage::SpriteAnimation>& animations,
                           const std::vector<std::string>& sheet = {"1"}) {
    SyntheticImage image;
    image.PutSpriteInfo(kInfo, kAnim, kPalette, kGraphics);
    image.PutLzBlock(kAnim, SyntheticImage::SpriteAnimationData(animations));
    image.PutSpritePalette(kPalette, TestPalette());
    image.PutLzBlock(kGraphics, SyntheticImage::SpriteTiles(sheet));
    return image;
}

}  // namespace

TEST(SpriteDescriptor, DrawsMirroredPiecesPixelExact) {
    // Tile 0x00 holds 1 2 / 3 in its corner, tile 0x01 a 4 in its top-right corner, tile 0x11
    // a B in its bottom-right one; tile 0x02 is solid 7; tiles 0x0F and 0x1F at the sheet's
    // right edge are solid C and D.
    std::vector<std::string> sheet(16, std::string(128, '.'));
    sheet[0].replace(0, 24, "12.............477777777");
    sheet[1].replace(0, 24, "3...............77777777");
    for (int r = 2; r < 8; ++r) {
        sheet[r].replace(16, 8, "77777777");
    }
    sheet[15][15] = 'B';
    for (int r = 0; r < 16; ++r) {
        sheet[r].replace(120, 8, std::string(8, r < 8 ? 'C' : 'D'));
    }
    const Frame frame = {
        {.large = true, .x = 0, .y = 0, .tile = 0x00, .mirrorX = true, .mirrorY = true},
        {.large = false, .x = 16, .y = 0, .tile = 0x00, .mirrorX = true},
        {.large = false, .x = 16, .y = 8, .tile = 0x00, .mirrorY = true},
        // Later pieces lie under earlier ones, showing through their transparent pixels.
        {.large = false, .x = 0, .y = 0, .tile = 0x02},
        // Its right half lies outside the sheet and stays transparent.
        {.large = true, .x = 16, .y = 0, .tile = 0x0F},
    };
    const auto image = SpriteImage({{frame}}, sheet);
    auto project = MakeProject(image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    Canvas view(32, 16, kBackground);
    const auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_TRUE(result.drawn);
    const char* const picture[] = {
        "B7777777........CCCCCC21........", "77777777........CCCCCCC3........",
        "77777777........CCCCCCCC........", "77777777........CCCCCCCC........",
        "77777777........CCCCCCCC........", "77777777........CCCCCCCC........",
        "77777777........CCCCCCCC........", "77777777........CCCCCCCC........",
        "................DDDDDDDD........", "................DDDDDDDD........",
        "................DDDDDDDD........", "................DDDDDDDD........",
        "................DDDDDDDD........", "................DDDDDDDD........",
        "...............33DDDDDDD........", "4.............2112DDDDDD........",
    };
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = picture[y][x];
            ASSERT_EQ(view.At(x, y),
                      c == '.' ? kBackground : Argb(std::stoi(std::string(1, c), nullptr, 16)))
                << "at (" << x << ", " << y << ")";
        }
    }
    // The sheet: palette colours, the key colour (alpha 0) for index 0.
    ASSERT_TRUE(result.sheet.has_value());
    EXPECT_EQ(result.sheet->Height(), 16);
    EXPECT_EQ(result.sheet->At(1, 1), 0x00FF00FFu);
    EXPECT_EQ(result.sheet->At(127, 15), Argb(0xD));
}

TEST(SpriteDescriptor, LoadReadsEveryFormOfRecord) {
    const Frame one = {{.tile = 0}};
    auto image = SpriteImage({{one, one, one}, {one}});
    image.PutSpritePalettePointer(31, kTablePalette);
    image.PutSpritePalettePointer(5, kTablePalette + 0x20);
    image.PutSpriteGraphicsPointer(93, kTableGraphics);
    image.PutSpriteGraphicsPointer(3, kTableGraphics + 0x100);
    // Image bytes to change; then the palette, graphics and animation count, and the project's
    // current graphics (kOtherGraphics before the load).
    using Bytes = std::vector<std::pair<std::uint32_t, std::uint8_t>>;
    const std::pair<Bytes, std::array<std::uint32_t, 4>> cases[] = {
        {{}, {kPalette, kGraphics, 2, kGraphics}},
        // Byte 3 bit 5: palette by byte 5 (low 6 bits), graphics by byte 12; the byte 8 form
        // counts only without it.
        {{{kInfo + 3, 0x20}, {kInfo + 5, 0xC0 | 31}, {kInfo + 12, 93}, {kInfo + 8, 0x85}},
         {kTablePalette, kTableGraphics, 2, kTableGraphics}},
        // Byte 8 bit 7: palette by its low 6 bits, graphics by byte 15.
        {{{kInfo + 8, 0x80 | 5}, {kInfo + 15, 3}},
         {kTablePalette + 0x20, kTableGraphics + 0x100, 2, kTableGraphics + 0x100}},
        // Palette only (word 9 is 0xFFFF): the current graphics are borrowed.
        {{{kInfo + 9, 0xFF}, {kInfo + 10, 0xFF}, {kInfo + 5, 0x40 | 31}},
         {kTablePalette, kOtherGraphics, 2, kOtherGraphics}},
        // Refused: palette 32; graphics byte 94 (the palette is taken); palette 0x3F of the
        // byte 8 form; a record without graphics (word 12 is 0xFFFF).
        {{{kInfo + 3, 0x20}, {kInfo + 5, 32}}, {0, 0, 0, kOtherGraphics}},
        {{{kInfo + 3, 0x20}, {kInfo + 5, 31}, {kInfo + 12, 94}},
         {kTablePalette, 0, 0, kOtherGraphics}},
        {{{kInfo + 8, 0x80 | 0x3F}}, {0, 0, 0, kOtherGraphics}},
        {{{kInfo + 12, 0xFF}, {kInfo + 13, 0xFF}}, {0, 0, 0, kOtherGraphics}},
        // Animation data that does not decode (a raw size of 0).
        {{{kAnim + 1, 0}, {kAnim + 2, 0}}, {kPalette, kGraphics, 0, kGraphics}},
    };
    SpriteDescriptor descriptor;  // reused: nothing of an earlier load may stay
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        SyntheticImage changed = image;
        for (const auto& [at, value] : bytes) {
            changed.Put8(at, value);
        }
        auto project = MakeProject(changed);
        project->spriteGraphicsAddress = kOtherGraphics;
        descriptor.Load(*project, kInfo);
        EXPECT_EQ((std::array{descriptor.paletteAddress, descriptor.graphicsAddress,
                              descriptor.animationCount, project->spriteGraphicsAddress}),
                  expected);
        EXPECT_EQ(descriptor.frameCount, expected[2] == 0 ? 0u : 3u);
    }

    // Address 0 changes nothing; game addresses pass the address rule.
    auto project = MakeProject(image);
    descriptor.Load(*project, kInfo);
    descriptor.Load(*project, 0);
    EXPECT_EQ(descriptor.infoAddress, kInfo);
    image.Put24(kInfo, 0xC00000 | kAnim);
    project = MakeProject(image);
    descriptor.Load(*project, 0xC00000 | kInfo);
    EXPECT_EQ(descriptor.infoAddress, 0xC00000 | kInfo);
    EXPECT_EQ(descriptor.animDataAddress, 0xC00000 | kAnim);
    EXPECT_EQ(descriptor.animationCount, 2u);
}

TEST(SpriteDescriptor, KeepsItsGraphicsWhenOtherSpritesLoad) {
    auto image = SpriteImage({{{{.tile = 0}}}}, {"3"});
    image.PutSpriteInfo(kInfo + 0x40, kAnim, kPalette, kOtherGraphics);
    image.PutLzBlock(kOtherGraphics, SyntheticImage::SpriteTiles({"5"}));
    auto project = MakeProject(image);
    SpriteDescriptor first;
    first.Load(*project, kInfo);
    SpriteDescriptor second;
    second.Load(*project, kInfo + 0x40);
    Canvas view(8, 8);
    first.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_EQ(view.At(0, 0), Argb(3));
    second.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_EQ(view.At(0, 0), Argb(5));
}

TEST(SpriteDescriptor, SheetsOfAnySize) {
    // The sheet has two rows per 128 bytes; only whole tile rows, at most 16, are coloured.
    const struct {
        std::size_t size;
        int height, colouredRows;
    } cases[] = {{0x540, 20, 16}, {0x4000, 256, 128}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        auto image = SpriteImage({SyntheticImage::SpriteAnimation{{}}});
        auto tiles =
            SyntheticImage::SpriteTiles(std::vector<std::string>(256, std::string(128, 'F')));
        tiles.resize(c.size, 0xFF);
        image.PutLzBlock(kGraphics, tiles);
        auto project = MakeProject(image);
        SpriteDescriptor descriptor;
        descriptor.Load(*project, kInfo);
        Canvas view(8, 8);
        const auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
        EXPECT_TRUE(result.drawn);  // a frame without pieces
        ASSERT_TRUE(result.sheet.has_value());
        EXPECT_EQ(result.sheet->Height(), c.height);
        EXPECT_EQ(result.sheet->At(127, c.colouredRows - 1), Argb(15));
        EXPECT_EQ(result.sheet->At(0, c.colouredRows), 0u);
    }
}

TEST(SpriteDescriptor, OutOfRangePlacesAnimationsFramesPiecesAndTilesAreSafe) {
    const Frame frame = {{.large = true, .tile = 0x00}, {.x = 16, .tile = 0xFF}};
    const auto data = SyntheticImage::SpriteAnimationData({{frame}});
    ASSERT_EQ(data[12 + 16], 2);  // table (4) and list (8), a head of 16, then the piece count
    auto image = SpriteImage({{frame}});
    auto project = MakeProject(image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    Canvas view(520, 520, kBackground);
    const auto draws = [&](int x, int y, std::uint32_t animation, std::uint32_t frame) {
        view.Fill(kBackground);
        return descriptor.RenderFrame(*project, x, y, animation, frame, view).drawn;
    };
    const auto blank = [&] {
        return std::all_of(view.Pixels(), view.Pixels() + 520 * 520,
                           [](std::uint32_t p) { return p == kBackground; });
    };
    // A piece must lie wholly inside the 512 x 512 area; tile 0xFF lies below the one-row sheet
    // and stays transparent.
    EXPECT_TRUE(draws(496, 496, 0, 0));
    EXPECT_EQ(view.At(496, 496), Argb(1));
    EXPECT_TRUE(draws(0, 0, 0, 0));
    EXPECT_EQ(view.At(16, 0), kBackground);
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    for (const auto& [x, y] : {std::pair{497, 0}, std::pair{0, 497}, std::pair{-1, 0},
                               std::pair{0, -1}, std::pair{kMin, 0}, std::pair{kMax, kMax}}) {
        EXPECT_TRUE(draws(x, y, 0, 0));
        EXPECT_TRUE(blank()) << x << ", " << y;
    }
    // Animations past the count; frame 1 past the list's end; frames far beyond the data.
    for (const auto& [a, f] :
         {std::pair{1u, 0u}, {0xFFFFFFFFu, 0u}, {0u, 1u}, {0u, 0x3FFFFFFFu}, {0u, 0xFFFFFFFFu}}) {
        EXPECT_FALSE(draws(0, 0, a, f)) << a << " " << f;
    }

    // A piece count beyond the data draws the pieces that are there; a frame record outside
    // the data draws nothing.
    auto changed = data;
    changed[12 + 16] = 255;
    image.PutLzBlock(kAnim, changed);
    project = MakeProject(image);
    EXPECT_TRUE(draws(0, 0, 0, 0));
    EXPECT_EQ(view.At(0, 0), Argb(1));
    changed = data;
    changed[6] = 0xF0;
    changed[7] = 0xFF;
    image.PutLzBlock(kAnim, changed);
    project = MakeProject(image);
    EXPECT_FALSE(draws(0, 0, 0, 0));

    // Graphics that do not decode: neither sheet nor frame.
    image.Put16(kGraphics + 1, 0);
    project = MakeProject(image);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).sheet.has_value());
}

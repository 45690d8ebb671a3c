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

constexpr std::uint32_t kInfo = 0x100000;
constexpr std::uint32_t kAnim = 0x110000;
constexpr std::uint32_t kPalette = 0x120000;
constexpr std::uint32_t kGraphics = 0x130000;
constexpr std::uint32_t kOtherGraphics = 0x140000;
constexpr std::uint32_t kTablePalette = 0x150000;
constexpr std::uint32_t kTableGraphics = 0x160000;
constexpr std::uint32_t kBackground = 0xFF101010;

// Colour i of the test palette: red i, green 31 - i, blue 2i (15-bit), never the key colour.
std::uint16_t Colour15(int i) {
    return static_cast<std::uint16_t>(i | (31 - i) << 5 | ((2 * i) & 0x1F) << 10);
}

std::uint32_t Argb(int i) {
    return 0xFF000000 | static_cast<std::uint32_t>(i) << 19 |
           static_cast<std::uint32_t>(31 - i) << 11 |
           static_cast<std::uint32_t>((2 * i) & 0x1F) << 3;
}

std::array<std::uint16_t, 16> TestPalette() {
    std::array<std::uint16_t, 16> colours{};
    colours[0] = 0x7FFF;  // never shown
    for (int i = 1; i < 16; ++i) {
        colours[i] = Colour15(i);
    }
    return colours;
}

std::vector<std::string> BlankSheet(int rows) {
    return std::vector<std::string>(rows, std::string(128, '.'));
}

std::unique_ptr<ProjectContext> MakeProject(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = image.Size();
    project->regionIndex = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
    return project;
}

// One animation of one frame of one piece.
std::vector<SyntheticImage::SpriteAnimation> OnePiece(const Piece& piece) {
    return {{{piece}}};
}

// Compares a canvas with rows of hexadecimal palette indexes, '.' for the background.
void ExpectPicture(const Canvas& canvas, const std::vector<std::string>& rows) {
    ASSERT_EQ(canvas.Height(), static_cast<int>(rows.size()));
    for (int y = 0; y < canvas.Height(); ++y) {
        ASSERT_EQ(canvas.Width(), static_cast<int>(rows[y].size()));
        for (int x = 0; x < canvas.Width(); ++x) {
            const char c = rows[y][x];
            const std::uint32_t want =
                c == '.' ? kBackground : Argb(std::stoi(std::string(1, c), nullptr, 16));
            ASSERT_EQ(canvas.At(x, y), want) << "at (" << x << ", " << y << ")";
        }
    }
}

// An image with one sprite whose record names its palette and graphics by address: the given
// animations, the test palette and the given sheet.
struct SpriteImage {
    SyntheticImage image;

    explicit SpriteImage(const std::vector<SyntheticImage::SpriteAnimation>& animations,
                         std::vector<std::string> sheet = BlankSheet(16)) {
        image.PutSpriteInfo(kInfo, kAnim, kPalette, kGraphics);
        image.PutLzBlock(kAnim, SyntheticImage::SpriteAnimationData(animations));
        image.PutSpritePalette(kPalette, TestPalette());
        image.PutLzBlock(kGraphics, SyntheticImage::SpriteTiles(sheet));
    }
};

}  // namespace

TEST(SpriteDescriptor, DrawsMirroredPiecesPixelExact) {
    // A 16 x 16 square from tiles 0x00, 0x01, 0x10, 0x11, a solid tile 0x02 and tiles 0x0F and
    // 0x1F at the sheet's right edge.
    auto sheet = BlankSheet(16);
    sheet[0].replace(0, 24, "12.............377777777");
    sheet[1].replace(0, 24, "2...............77777777");
    for (int r = 2; r < 8; ++r) {
        sheet[r].replace(16, 8, "77777777");
    }
    sheet[8][8] = 'A';
    sheet[14][15] = 'B';
    sheet[15].replace(0, 16, "4..............5");
    for (int r = 0; r < 16; ++r) {
        sheet[r].replace(120, 8, std::string(8, r < 8 ? 'C' : 'D'));
    }
    const SyntheticImage::SpriteFrame frame = {
        {.large = true, .x = 0, .y = 0, .tile = 0x00, .mirrorX = true, .mirrorY = true},
        {.large = false, .x = 18, .y = 0, .tile = 0x00, .mirrorX = true},
        {.large = false, .x = 28, .y = 4, .tile = 0x00, .mirrorY = true},
        // Under piece 0, showing through its transparent pixels.
        {.large = false, .x = 0, .y = 0, .tile = 0x02},
        // Its right half lies outside the sheet and stays transparent.
        {.large = true, .x = 20, .y = 10, .tile = 0x0F},
    };
    SpriteImage sprite({{frame}}, sheet);
    auto project = MakeProject(sprite.image);

    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    Canvas view(40, 28, kBackground);
    const auto result = descriptor.RenderFrame(*project, 2, 1, 0, 0, view);
    EXPECT_TRUE(result.drawn);
    ExpectPicture(
        view,
        {
            "........................................", "..57777777.......4........21............",
            "..B7777777.................2............", "..77777777..............................",
            "..77777777..............................", "..77777777..............................",
            "..77777777..............................", "..77777777..............................",
            "..7777777A..............................", "........................................",
            "........................................", "......................CCCCCCCC2.........",
            "......................CCCCCCCC12........", "......................CCCCCCCC..........",
            "......................CCCCCCCC..........", ".................2....CCCCCCCC..........",
            "..3.............21....CCCCCCCC..........", "......................CCCCCCCC..........",
            "......................CCCCCCCC..........", "......................DDDDDDDD..........",
            "......................DDDDDDDD..........", "......................DDDDDDDD..........",
            "......................DDDDDDDD..........", "......................DDDDDDDD..........",
            "......................DDDDDDDD..........", "......................DDDDDDDD..........",
            "......................DDDDDDDD..........", "........................................",
        });

    // The sheet: palette colours, the key colour (alpha 0) for index 0.
    ASSERT_TRUE(result.sheet.has_value());
    EXPECT_EQ(result.sheet->Width(), 128);
    EXPECT_EQ(result.sheet->Height(), 16);
    EXPECT_EQ(result.sheet->At(0, 0), Argb(1));
    EXPECT_EQ(result.sheet->At(1, 1), 0x00FF00FFu);
    EXPECT_EQ(result.sheet->At(127, 15), Argb(0xD));
}

TEST(SpriteDescriptor, ConvertsFifteenBitColours) {
    SpriteImage sprite(OnePiece({.tile = 0}), {"1234"});
    sprite.image.Put16(kPalette + 2, 0x7FFF);
    sprite.image.Put16(kPalette + 4, 0x001F);
    sprite.image.Put16(kPalette + 6, 0x03E0);
    sprite.image.Put16(kPalette + 8, 0x7C00);
    auto project = MakeProject(sprite.image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    Canvas view(8, 8);
    const auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_EQ(view.At(0, 0), 0xFFF8F8F8u);
    EXPECT_EQ(view.At(1, 0), 0xFFF80000u);
    EXPECT_EQ(view.At(2, 0), 0xFF00F800u);
    EXPECT_EQ(view.At(3, 0), 0xFF0000F8u);
    EXPECT_EQ(view.At(4, 0), 0u);  // key colour left out
}

TEST(SpriteDescriptor, LoadsAPlainRecord) {
    const SyntheticImage::SpriteFrame one = {{.tile = 1}};
    SpriteImage sprite({{one, one, one}, {one}});
    auto project = MakeProject(sprite.image);
    SpriteDescriptor descriptor;
    EXPECT_EQ(&descriptor.Load(*project, kInfo), &descriptor);
    EXPECT_EQ(descriptor.infoAddress, kInfo);
    EXPECT_EQ(descriptor.animDataAddress, kAnim);
    EXPECT_EQ(descriptor.animDataSize,
              SyntheticImage::SpriteAnimationData({{one, one, one}, {one}}).size());
    EXPECT_EQ(descriptor.paletteAddress, kPalette);
    EXPECT_EQ(descriptor.graphicsAddress, kGraphics);
    EXPECT_EQ(project->spriteGraphicsAddress, kGraphics);
    EXPECT_EQ(descriptor.animationCount, 2u);
    EXPECT_EQ(descriptor.frameCount, 3u);

    // Address 0 changes nothing; game addresses pass the address rule.
    descriptor.Load(*project, 0);
    EXPECT_EQ(descriptor.infoAddress, kInfo);
    sprite.image.Put24(kInfo, 0xC00000 | kAnim);
    project = MakeProject(sprite.image);
    SpriteDescriptor viaGameAddress;
    viaGameAddress.Load(*project, 0xC00000 | kInfo);
    EXPECT_EQ(viaGameAddress.infoAddress, 0xC00000 | kInfo);
    EXPECT_EQ(viaGameAddress.animDataAddress, 0xC00000 | kAnim);
    EXPECT_EQ(viaGameAddress.animationCount, 2u);
}

TEST(SpriteDescriptor, LoadsRecordsThatUseThePointerTables) {
    SpriteImage sprite(OnePiece({.tile = 1}));
    auto& image = sprite.image;
    image.PutSpritePalettePointer(31, kTablePalette);
    image.PutSpritePalettePointer(5, kTablePalette + 0x20);
    image.PutSpriteGraphicsPointer(93, kTableGraphics);
    image.PutSpriteGraphicsPointer(3, kTableGraphics + 0x100);

    // Byte 3 bit 5: palette by byte 5 (low 6 bits), graphics by byte 12.
    image.Put8(kInfo + 3, 0x20);
    image.Put8(kInfo + 5, 0xC0 | 31);
    image.Put8(kInfo + 12, 93);
    image.Put8(kInfo + 8, 0x80 | 5);  // the byte 8 form counts only without byte 3's bit
    image.Put8(kInfo + 15, 3);
    auto project = MakeProject(image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, kTablePalette);
    EXPECT_EQ(descriptor.graphicsAddress, kTableGraphics);
    EXPECT_EQ(project->spriteGraphicsAddress, kTableGraphics);
    EXPECT_EQ(descriptor.animationCount, 1u);

    // Byte 8 bit 7: palette by its low 6 bits, graphics by byte 15.
    image.Put8(kInfo + 3, 0x00);
    project = MakeProject(image);
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, kTablePalette + 0x20);
    EXPECT_EQ(descriptor.graphicsAddress, kTableGraphics + 0x100);
    EXPECT_EQ(descriptor.animationCount, 1u);
}

TEST(SpriteDescriptor, RefusesIndexesBeyondThePointerTables) {
    SpriteImage sprite(OnePiece({.tile = 1}));
    auto& image = sprite.image;
    image.PutSpritePalettePointer(31, kTablePalette);
    image.Put8(kInfo + 3, 0x20);
    image.Put8(kInfo + 5, 32);
    image.Put8(kInfo + 12, 0);
    auto project = MakeProject(image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, 0u);
    EXPECT_EQ(descriptor.animationCount, 0u);
    EXPECT_EQ(project->spriteGraphicsAddress, 0u);

    // Palette 31 is taken, graphics byte 94 refused: the palette stays, nothing else is set.
    image.Put8(kInfo + 5, 31);
    image.Put8(kInfo + 12, 94);
    project = MakeProject(image);
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, kTablePalette);
    EXPECT_EQ(descriptor.animationCount, 0u);
    EXPECT_EQ(project->spriteGraphicsAddress, 0u);
    Canvas view(16, 16);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).drawn);

    // The same limits for the byte 8 form.
    image.Put8(kInfo + 3, 0x00);
    image.Put8(kInfo + 8, 0x80 | 0x3F);
    image.Put8(kInfo + 15, 0);
    project = MakeProject(image);
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, 0u);
    EXPECT_EQ(descriptor.animationCount, 0u);
}

TEST(SpriteDescriptor, PaletteOnlyRecordsBorrowTheLastGraphics) {
    SpriteImage sprite(OnePiece({.tile = 0}), {"3"});
    auto& image = sprite.image;
    constexpr std::uint32_t kPaletteOnly = kInfo + 0x40;
    image.PutSpriteInfo(kPaletteOnly, kAnim, 0, 0);
    image.Put16(kPaletteOnly + 9, 0xFFFF);
    image.Put8(kPaletteOnly + 5, 0x40 | 7);
    image.PutSpritePalettePointer(7, kTablePalette);
    image.PutSpritePalette(kTablePalette, TestPalette());
    image.Put16(kTablePalette + 6, 0x7FFF);  // colour 3 differs from the plain sprite's

    // First load of the project: no graphics yet.
    auto project = MakeProject(image);
    SpriteDescriptor borrower;
    borrower.Load(*project, kPaletteOnly);
    EXPECT_EQ(borrower.paletteAddress, kTablePalette);
    EXPECT_EQ(borrower.graphicsAddress, 0u);
    EXPECT_EQ(borrower.animationCount, 1u);

    SpriteDescriptor plain;
    plain.Load(*project, kInfo);
    borrower.Load(*project, kPaletteOnly);
    EXPECT_EQ(borrower.graphicsAddress, kGraphics);
    Canvas view(8, 8);
    EXPECT_TRUE(borrower.RenderFrame(*project, 0, 0, 0, 0, view).drawn);
    EXPECT_EQ(view.At(0, 0), 0xFFF8F8F8u);
}

TEST(SpriteDescriptor, KeepsItsGraphicsWhenOtherSpritesLoad) {
    SpriteImage sprite(OnePiece({.tile = 0}), {"3"});
    auto& image = sprite.image;
    constexpr std::uint32_t kOtherInfo = kInfo + 0x40;
    image.PutSpriteInfo(kOtherInfo, kAnim, kPalette, kOtherGraphics);
    image.PutLzBlock(kOtherGraphics, SyntheticImage::SpriteTiles({"5"}));
    auto project = MakeProject(image);

    SpriteDescriptor first;
    first.Load(*project, kInfo);
    SpriteDescriptor second;
    second.Load(*project, kOtherInfo);
    EXPECT_EQ(project->spriteGraphicsAddress, kOtherGraphics);
    Canvas view(8, 8);
    first.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_EQ(view.At(0, 0), Argb(3));
    second.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_EQ(view.At(0, 0), Argb(5));
}

TEST(SpriteDescriptor, RecordsWithoutGraphicsOrDataLeaveNoAnimations) {
    SpriteImage sprite(OnePiece({.tile = 0}));
    auto& image = sprite.image;
    auto project = MakeProject(image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    ASSERT_EQ(descriptor.animationCount, 1u);

    // A record marked as having no graphics; the descriptor is reused.
    constexpr std::uint32_t kNoGraphics = kInfo + 0x40;
    image.PutSpriteInfo(kNoGraphics, kAnim, kPalette, kOtherGraphics);
    image.Put16(kNoGraphics + 12, 0xFFFF);
    project = MakeProject(image);
    project->spriteGraphicsAddress = kGraphics;
    descriptor.Load(*project, kNoGraphics);
    EXPECT_EQ(descriptor.infoAddress, kNoGraphics);
    EXPECT_EQ(descriptor.paletteAddress, 0u);
    EXPECT_EQ(descriptor.animationCount, 0u);
    EXPECT_EQ(descriptor.frameCount, 0u);
    EXPECT_EQ(project->spriteGraphicsAddress, kGraphics);
    Canvas view(8, 8);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).drawn);

    // Animation data that does not decode (a raw size of 0).
    image.Put16(kAnim + 1, 0);
    project = MakeProject(image);
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.paletteAddress, kPalette);
    EXPECT_EQ(descriptor.animationCount, 0u);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).drawn);
}

TEST(SpriteDescriptor, AnimationTableLength) {
    const SyntheticImage::SpriteFrame one = {{.tile = 0}};
    auto data = SyntheticImage::SpriteAnimationData({{one, one}});
    EXPECT_EQ(SpriteDescriptor::AnimationCount(data), 1u);
    EXPECT_EQ(SpriteDescriptor::CountFrames(data, 0), 2u);
    EXPECT_EQ(SpriteDescriptor::CountFrames(data, 1), 2u);  // the spare slot repeats list 0
    EXPECT_EQ(SpriteDescriptor::CountFrames(data, 50), 0u);

    // A first entry of 2: no animation, yet animation 0's list (at 2) is still counted.
    data[0] = 2;
    EXPECT_EQ(SpriteDescriptor::AnimationCount(data), 0u);
    data[0] = 0;
    EXPECT_EQ(SpriteDescriptor::AnimationCount(data), 0u);
    EXPECT_EQ(SpriteDescriptor::AnimationCount({}), 0u);

    // The first entry counts even when marked; a list without its end stops at the data's end.
    const std::vector<std::uint8_t> marked = {2, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    EXPECT_EQ(SpriteDescriptor::CountFrames(marked, 0), 1u);
    const std::vector<std::uint8_t> unended = {2, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    EXPECT_EQ(SpriteDescriptor::CountFrames(unended, 0), 2u);
}

TEST(SpriteDescriptor, OneAnimationOrNone) {
    SpriteImage sprite(OnePiece({.tile = 0}), {"3"});
    auto project = MakeProject(sprite.image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.animationCount, 1u);  // first u16 = 4
    Canvas view(8, 8);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 1, 0, view).drawn);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0xFFFFFFFF, 0, view).drawn);

    auto data = SyntheticImage::SpriteAnimationData(OnePiece({.tile = 0}));
    data[0] = 2;
    sprite.image.PutLzBlock(kAnim, data);
    project = MakeProject(sprite.image);
    descriptor.Load(*project, kInfo);
    EXPECT_EQ(descriptor.animationCount, 0u);
    const auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_FALSE(result.drawn);
    EXPECT_FALSE(result.sheet.has_value());
}

TEST(SpriteDescriptor, SheetSizeFollowsTheGraphicsSize) {
    struct Case {
        std::size_t size;
        int height;
        int colouredRows;
    };
    for (const Case c : {Case{0x2000, 128, 128}, Case{0x1000, 64, 64}, Case{0x540, 20, 16},
                         Case{0x4000, 256, 128}}) {
        SCOPED_TRACE(c.size);
        SpriteImage sprite({SyntheticImage::SpriteAnimation{{}}});
        auto tiles =
            SyntheticImage::SpriteTiles(std::vector<std::string>(256, std::string(128, 'F')));
        tiles.resize(c.size, 0xFF);
        sprite.image.PutLzBlock(kGraphics, tiles);
        auto project = MakeProject(sprite.image);
        SpriteDescriptor descriptor;
        descriptor.Load(*project, kInfo);
        Canvas view(8, 8);
        const auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
        EXPECT_TRUE(result.drawn);  // a frame without pieces
        ASSERT_TRUE(result.sheet.has_value());
        EXPECT_EQ(result.sheet->Width(), 128);
        EXPECT_EQ(result.sheet->Height(), c.height);
        EXPECT_EQ(result.sheet->At(127, c.colouredRows - 1), Argb(15));
        EXPECT_EQ(result.sheet->At(0, c.colouredRows), 0u);
        EXPECT_EQ(result.sheet->At(127, c.height - 1), c.height == c.colouredRows ? Argb(15) : 0u);
    }
}

TEST(SpriteDescriptor, PiecesMustFitTheViewArea) {
    SpriteImage sprite({{{{.large = true, .x = 0, .y = 0, .tile = 0}},
                         {{.large = false, .x = 5, .y = 5, .tile = 0}}}},
                       {"1"});
    auto project = MakeProject(sprite.image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);
    Canvas view(520, 520, kBackground);
    EXPECT_TRUE(descriptor.RenderFrame(*project, 496, 496, 0, 0, view).drawn);
    EXPECT_EQ(view.At(496, 496), Argb(1));
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    for (const auto& [x, y] : {std::pair{497, 0}, std::pair{0, 497}, std::pair{-1, 0},
                               std::pair{0, -1}, std::pair{kMin, 0}, std::pair{kMax, kMax}}) {
        view.Fill(kBackground);
        EXPECT_TRUE(descriptor.RenderFrame(*project, x, y, 0, 0, view).drawn);
        EXPECT_TRUE(std::all_of(view.Pixels(), view.Pixels() + 520 * 520,
                                [](std::uint32_t p) { return p == kBackground; }))
            << x << ", " << y;
    }
    // The piece's own offset counts: -5 + 5 is inside.
    view.Fill(kBackground);
    descriptor.RenderFrame(*project, -5, -5, 0, 1, view);
    EXPECT_EQ(view.At(0, 0), Argb(1));
}

TEST(SpriteDescriptor, OutOfRangeFramesPiecesAndTilesAreSafe) {
    const SyntheticImage::SpriteFrame frame = {{.tile = 0x00},
                                               {.large = true, .x = 8, .tile = 0xFF}};
    auto data = SyntheticImage::SpriteAnimationData({{frame}});
    // Frame record: table(4) + list(8), head of 16, then the count.
    ASSERT_EQ(data[12 + 16], 2);
    SpriteImage sprite({{frame}}, {"1"});
    auto project = MakeProject(sprite.image);
    SpriteDescriptor descriptor;
    descriptor.Load(*project, kInfo);

    // Frame 1 lies past the list's end; frame indexes far beyond the data.
    Canvas view(32, 16, kBackground);
    for (const std::uint32_t f : {1u, 2u, 0x3FFFFFFFu, 0xFFFFFFFFu}) {
        const auto result = descriptor.RenderFrame(*project, 0, 0, 0, f, view);
        EXPECT_FALSE(result.drawn) << f;
        EXPECT_TRUE(result.sheet.has_value());
    }

    // Tile 0xFF lies below a one-row sheet: transparent, while piece 0 is drawn.
    auto result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_TRUE(result.drawn);
    EXPECT_EQ(view.At(0, 0), Argb(1));
    EXPECT_EQ(view.At(8, 0), kBackground);

    // A piece count beyond the data draws the pieces that are there.
    auto truncated = data;
    truncated[12 + 16] = 255;
    sprite.image.PutLzBlock(kAnim, truncated);
    project = MakeProject(sprite.image);
    view.Fill(kBackground);
    EXPECT_TRUE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).drawn);
    EXPECT_EQ(view.At(0, 0), Argb(1));

    // A frame record outside the data.
    auto farRecord = data;
    farRecord[6] = 0xF0;
    farRecord[7] = 0xFF;
    sprite.image.PutLzBlock(kAnim, farRecord);
    project = MakeProject(sprite.image);
    EXPECT_FALSE(descriptor.RenderFrame(*project, 0, 0, 0, 0, view).drawn);

    // Graphics that do not decode: neither sheet nor frame.
    sprite.image.Put16(kGraphics + 1, 0);
    project = MakeProject(sprite.image);
    result = descriptor.RenderFrame(*project, 0, 0, 0, 0, view);
    EXPECT_FALSE(result.drawn);
    EXPECT_FALSE(result.sheet.has_value());
}

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "editors/TitleScreen.h"
#include "editors/TitleScreenPageModel.h"
#include "project/LzCodec.h"
#include "tests/editors/TitleScreenProject.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TraceCapture.h"

namespace {

using Region = SyntheticImage::Region;
using Bytes = std::vector<std::uint8_t>;

void ExpectSamePixels(const Canvas& actual, const Canvas& expected, const char* what) {
    ASSERT_EQ(actual.Width(), expected.Width()) << what;
    ASSERT_EQ(actual.Height(), expected.Height()) << what;
    int wrong = 0;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            if (actual.At(x, y) != expected.At(x, y) && ++wrong <= 3) {
                ADD_FAILURE() << what << " pixel (" << x << ", " << y << "): " << std::hex
                              << actual.At(x, y) << " instead of " << expected.At(x, y);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << what;
}

// The offsets at which two images differ.
std::vector<std::uint32_t> Changed(const Bytes& before, const Bytes& after) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            out.push_back(i);
        }
    }
    return out;
}

// A graphics file: the logo halves, then a strip whose pixels repeat enough to compress.
Bytes GraphicsFile() {
    Bytes file = TitleScreenProject::Tiles(
        512, 8, [](int t, int x, int r) { return static_cast<std::uint8_t>(255 - t - x * r); });
    const Bytes strip = TitleScreenProject::Tiles(
        192, 8, [](int t, int x, int) { return static_cast<std::uint8_t>(t % 5 + (x > 3)); });
    file.insert(file.end(), strip.begin(), strip.end());
    return file;
}

}  // namespace

TEST(TitleScreen, DrawsEveryPixelOfTheScreenAndTheTileSet) {
    // Region 5 is a 1 MB image; the last release has no "Start Text" or "License" block.
    const std::pair<std::uint32_t, Region> images[] = {{SyntheticImage::k4MB, Region::German},
                                                       {SyntheticImage::k4MB, Region::Japanese},
                                                       {SyntheticImage::k1MB, Region::ReleaseM},
                                                       {SyntheticImage::k4MB, Region::ReleaseF}};
    for (const auto& [size, region] : images) {
        SCOPED_TRACE(SyntheticImage::RegionIndex(region));
        const TitleScreenProject data(size, region);
        const auto project = data.MakeProject();
        Canvas screen;
        Canvas tileSet;
        DrawTitleScreen(*project, screen, tileSet);
        ExpectSamePixels(screen, data.ExpectedScreen(), "screen");
        ExpectSamePixels(tileSet, TitleScreenProject::ExpectedTileSet(), "tile set");
    }
}

TEST(TitleScreen, ShortTileSetShowsItsTransparentColourBeyondItsTiles) {
    TitleScreenProject data;
    data.title.tileSet.resize(17 * 32 + 5);  // 17 whole tiles and a piece of one
    data.image.PutTitleScreen(data.title);
    const auto project = data.MakeProject();
    Canvas tileSet;
    EXPECT_EQ(DrawTitleTileSet(*project, tileSet),
              SnesColorToArgb(TitleScreenProject::TileColour(0)));
    const Canvas full = TitleScreenProject::ExpectedTileSet();
    EXPECT_EQ(tileSet.At(7, 8 + 7), full.At(7, 8 + 7));  // tile 16
    EXPECT_EQ(tileSet.At(8, 8), SnesColorToArgb(TitleScreenProject::TileColour(0)));
}

TEST(TitleScreen, ClicksRetileAndMoveOnlyTheChosenPiece) {
    const TitleScreenProject data;
    const auto project = data.MakeProject();
    struct Case {
        bool tileSet;  // else the screen
        std::size_t block;
        std::uint32_t piece;
        int x, y;
        bool large;
        bool written;
        std::uint8_t size, offsetX, offsetY, tile;  // the piece afterwards
    };
    const Case cases[] = {
        {true, 0, 0, 45, 70, true, true, 1, 0, 0, 0x84},
        {true, 0, 0, 45, 70, false, true, 0, 0, 0, 0x85},
        // A piece of size 2 stays 32 x 32 after an "8x8" click.
        {true, 0, 1, 127, 127, false, true, 2, 4, 8, 0xFF},
        {true, 0, 3, 127, 127, true, true, 1, 230, 0, 0xCC},
        {true, 0, 0, 128, 5, true, false, 0, 0, 0, 0},
        {true, 0, 0, 5, 128, true, false, 0, 0, 0, 0},
        {true, 0, 0, -1, 5, true, false, 0, 0, 0, 0},
        {true, 0, 5, 0, 0, true, false, 0, 0, 0, 0},  // no such piece
        // Left of and above the origin: the origin's own coordinate, rounded down.
        {false, 0, 0, 16, 16, false, true, 0, 16, 16, 0x00},
        {false, 0, 0, 26, 27, false, true, 0, 0, 0, 0x00},
        {false, 0, 0, 255, 223, false, true, 0, 224, 192, 0x00},
        {false, 0, 0, 255, 223, true, true, 0, 200, 168, 0x00},
        {false, 0, 0, 256, 100, false, false, 0, 0, 0, 0},
        {false, 0, 0, 100, 224, false, false, 0, 0, 0, 0},
        {false, 1, 1, 88, 159, false, true, 0xFF, 8, 0, 0xF0},
        {false, 1, 1, 80, 151, false, true, 0xFF, 80, 144, 0xF0},
        {false, 1, 1, 160, 160, true, true, 0xFF, 80, 8, 0xF0},
        {false, 2, 0, 12, 187, false, true, 3, 8, 184, 0xE2},
        {false, 2, 0, 28, 203, false, true, 3, 8, 8, 0xE2},
        {false, 2, 0, 21, 188, false, true, 3, 0, 184, 0xE2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.tileSet ? "tile set " : "screen ") << c.block << ":"
                                        << c.piece << " (" << c.x << ", " << c.y << ")");
        project->romImage = data.image.Bytes();
        const bool written =
            c.tileSet ? SetTitlePieceTile(*project, c.block, c.piece, c.x, c.y, c.large)
                      : SetTitlePiecePosition(*project, c.block, c.piece, c.x, c.y, c.large);
        ASSERT_EQ(written, c.written);
        const auto changed = Changed(data.image.Bytes(), project->romImage);
        if (!c.written) {
            EXPECT_TRUE(changed.empty());
            continue;
        }
        const std::uint32_t at = TitleBlockOffset(*project, c.block) + 1 + 7 * c.piece;
        EXPECT_TRUE(std::all_of(changed.begin(), changed.end(),
                                [&](std::uint32_t i) { return i >= at && i < at + 7; }));
        const auto piece = ReadTitlePiece(*project, c.block, c.piece);
        ASSERT_TRUE(piece);
        EXPECT_EQ(piece->size, c.size);
        EXPECT_EQ(piece->x, c.offsetX);
        EXPECT_EQ(piece->y, c.offsetY);
        EXPECT_EQ(piece->tile, c.tile);
    }
}

TEST(TitleScreen, PiecesPastTheImageEndAreDrawnFromZerosAndNeverWritten) {
    // A block in the last bytes of the image whose count claims more pieces than fit.
    TitleScreenProject data(SyntheticImage::k1MB, Region::ReleaseM);
    const auto project = data.MakeProject();
    const std::uint32_t at = SyntheticImage::k1MB - 10;
    project->SetTable(RegionTable::TitleLayoutTableC, at);
    project->Write8(at, 200);
    // The logo's right half: 17 tiles before the image ends.
    project->SetTable(RegionTable::TitleScreenTableB, SyntheticImage::k1MB - 64 * 17);
    Canvas screen;
    Canvas tileSet;
    DrawTitleScreen(*project, screen, tileSet);
    EXPECT_EQ(screen.At(128 + 8 * 5, 15 + 8), 0xFF000000u);  // tile 21
    EXPECT_EQ(TitlePieceCount(*project, 2), 200u);
    EXPECT_FALSE(ReadTitlePiece(*project, 3, 0));
    EXPECT_TRUE(ReadTitlePiece(*project, 2, 0));
    EXPECT_FALSE(ReadTitlePiece(*project, 2, 1));
    const Bytes before = project->romImage;
    EXPECT_FALSE(SetTitlePiecePosition(*project, 2, 1, 40, 200, false));
    EXPECT_FALSE(SetTitlePieceTile(*project, 2, 1, 40, 40, false));
    EXPECT_EQ(project->romImage, before);
}

TEST(TitleScreen, ImportsPaletteAndGraphicsAndTheStripReloadsEqual) {
    const TitleScreenProject data;
    const auto project = data.MakeProject();
    const ScratchDataFolder folder;
    Bytes palette(512);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<std::uint8_t>(i * 3 + 1);
    }
    const Bytes graphics = GraphicsFile();
    folder.Put(".pal", palette);
    folder.Put(".spr", graphics);
    ScriptedPrompts prompts;
    ImportTitleFiles(*project, folder.Folder(), prompts);
    EXPECT_TRUE(prompts.messages.empty());

    const auto& image = project->romImage;
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), image.begin() + 0x21CE60));
    EXPECT_TRUE(std::equal(graphics.begin(), graphics.begin() + 0x8000, image.begin() + 0x350000));
    const Bytes code = {image[0x6F22C], image[0x6F22D], image[0x6F231], image[0x6F240],
                        image[0x6F241], image[0x6F191], image[0x6F192], image[0x6F196]};
    EXPECT_EQ(code, (Bytes{0x60, 0xCE, 0xE1, 0xE0, 0x01, 0x60, 0xD0, 0xE1}));
    EXPECT_EQ(image[0x21D060], 0);
    std::uint32_t size = 0;
    const auto strip = UncompressDataAt(image, 0x21D060, size);
    ASSERT_TRUE(strip);
    EXPECT_EQ(*strip, Bytes(graphics.begin() + 0x8000, graphics.end()));

    // Pointed at the imported strip and colours, the screen shows what the file holds.
    project->SetTable(RegionTable::TitleScreenCompressedTable, 0x21D060);
    project->SetTable(RegionTable::TitleScreenTableA, 0x21CE60);
    Canvas screen;
    Canvas tileSet;
    DrawTitleScreen(*project, screen, tileSet);
    // Strip tile 16 * 3 + 2 (rows 24 to 31), its pixel (5, 2), in the left half.
    const std::uint8_t index = (16 * 3 + 2) % 5 + 1;
    EXPECT_EQ(screen.At(16 + 5, 143 + 24 + 2),
              SnesColorToArgb(
                  static_cast<std::uint16_t>(palette[2 * index] | palette[2 * index + 1] << 8)));
}

TEST(TitleScreen, RefusedImportFilesLeaveTheImageUnchanged) {
    const Bytes palette(512, 0x11);
    const Bytes graphics = GraphicsFile();
    Bytes random = graphics;  // a strip of noise does not compress into its place
    std::uint32_t seed = 7;
    for (std::size_t i = 0x8000; i < random.size(); ++i) {
        seed = seed * 1103515245 + 12345;
        random[i] = static_cast<std::uint8_t>(seed >> 16);
    }
    const std::string failed = "Failed to open a file";
    struct Case {
        const char* what;
        std::optional<Bytes> pal;
        std::optional<Bytes> spr;
        Region region;
        std::size_t messages;
        bool paletteWritten;
    };
    const Case cases[] = {
        {"no files", std::nullopt, std::nullopt, Region::German, 2, false},
        {"short palette", Bytes(511), std::nullopt, Region::German, 2, false},
        {"long palette", Bytes(513), std::nullopt, Region::German, 2, false},
        {"short graphics", palette, Bytes(0xAFFF), Region::German, 1, true},
        {"long graphics", palette, Bytes(0xB001), Region::German, 1, true},
        {"noisy strip", palette, random, Region::German, 1, true},
        {"1 MB image", std::nullopt, graphics, Region::ReleaseM, 2, false},
        {"1 MB image, palette", palette, graphics, Region::ReleaseM, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TitleScreenProject data(
            c.region == Region::ReleaseM ? SyntheticImage::k1MB : SyntheticImage::k4MB, c.region);
        const auto project = data.MakeProject();
        const ScratchDataFolder folder;
        if (c.pal) {
            folder.Put(".pal", *c.pal);
        }
        if (c.spr) {
            folder.Put(".spr", *c.spr);
        }
        ScriptedPrompts prompts;
        const std::string trace =
            CaptureTrace([&] { ImportTitleFiles(*project, folder.Folder(), prompts); });
        EXPECT_EQ(prompts.messages.size(), c.messages);
        EXPECT_EQ(prompts.messages.front() == failed, !c.pal.has_value());
        EXPECT_EQ(prompts.messages.back() == failed, !c.spr.has_value());
        if (!c.pal) {
            EXPECT_NE(trace.find((folder.Folder() / ".pal").string()), std::string::npos);
        }
        const auto changed = Changed(data.image.Bytes(), project->romImage);
        const std::uint32_t paletteAt = c.region == Region::ReleaseM ? 0x1CE60 : 0x21CE60;
        if (c.paletteWritten) {
            EXPECT_EQ(changed.size(), 512u + 5) << "the palette and its code bytes only";
            EXPECT_EQ(std::count_if(changed.begin(), changed.end(),
                                    [&](std::uint32_t i) { return i - paletteAt < 512; }),
                      512);
        } else {
            EXPECT_TRUE(changed.empty());
        }
    }
}

TEST(TitleScreen, StripTakesAtMostTheRoomItHad) {
    // Noise up to `noisy` bytes then zeros: find the strips that compress to exactly the room
    // and to one byte more.
    const auto strip = [](std::size_t noisy, std::uint32_t seed) {
        Bytes raw(0x3000, 0);
        for (std::size_t i = 0; i < noisy; ++i) {
            seed = seed * 1103515245 + 12345;
            raw[i] = static_cast<std::uint8_t>(seed >> 16);
        }
        return raw;
    };
    std::optional<Bytes> fits;
    std::optional<Bytes> overflows;
    for (std::uint32_t seed = 1; seed < 50 && !(fits && overflows); ++seed) {
        for (std::size_t noisy = 7830; noisy < 7870; ++noisy) {
            const Bytes raw = strip(noisy, seed);
            const std::size_t length = CompressData(raw)->size();
            if (length == 0x229D) {
                fits = raw;
            } else if (length == 0x229E) {
                overflows = raw;
            }
        }
    }
    ASSERT_TRUE(fits && overflows);
    for (const auto& [raw, accepted] : {std::pair{*fits, true}, std::pair{*overflows, false}}) {
        const TitleScreenProject data;
        const auto project = data.MakeProject();
        const ScratchDataFolder folder;
        Bytes graphics(0x8000, 1);
        graphics.insert(graphics.end(), raw.begin(), raw.end());
        folder.Put(".pal", Bytes(512));
        folder.Put(".spr", graphics);
        ScriptedPrompts prompts;
        ImportTitleFiles(*project, folder.Folder(), prompts);
        EXPECT_EQ(prompts.messages.empty(), accepted);
        EXPECT_EQ(project->Read8(0x350000) == 1, accepted);
    }
}

TEST(TitleScreenPageModel, ListsHighlightsAndEditsThePiecesOfTheChosenBlock) {
    const TitleScreenProject data;
    const auto project = data.MakeProject();
    TitleScreenPageModel model;
    model.Load(nullptr);
    EXPECT_FALSE(model.layoutEnabled || model.saveEnabled);
    EXPECT_TRUE(model.screen.Empty());

    model.layoutLine = 7;  // no such line: "Title"
    model.Load(project.get());
    EXPECT_TRUE(model.layoutEnabled && model.saveEnabled);
    EXPECT_EQ(model.tileLines,
              (std::vector<std::string>{"Tile 0", "Tile 1", "Tile 2", "Tile 3", "Tile 4"}));
    ExpectSamePixels(model.screen, data.ExpectedScreen(), "screen");

    // No tile line: clicks do nothing.
    const Bytes before = project->romImage;
    model.TileSetClick(project.get(), 0, 0);
    model.ScreenClick(project.get(), 100, 100);
    model.TileSelChange(project.get());
    EXPECT_EQ(project->romImage, before);

    model.layoutLine = 1;
    model.LayoutSelChange(project.get());
    EXPECT_EQ(model.tileLines, (std::vector<std::string>{"Tile 0", "Tile 1"}));
    model.tileLine = 1;  // 32 x 32 at tile 0xF0: the square at (0, 120), 8 rows of it on the set
    model.TileSelChange(project.get());
    EXPECT_TRUE(model.large);
    const Canvas plain = TitleScreenProject::ExpectedTileSet();
    for (const auto& [x, y, tinted] : {std::tuple{0, 120, true}, std::tuple{31, 127, true},
                                       std::tuple{32, 120, false}, std::tuple{0, 119, false}}) {
        const std::uint32_t shown = model.tileSet.At(x, y);
        EXPECT_EQ(shown != plain.At(x, y), tinted) << x << ", " << y;
        if (tinted) {
            EXPECT_GT(shown >> 8 & 0xFF, plain.At(x, y) >> 8 & 0xFF) << "greener";
        }
    }
    model.tileLine = 0;
    model.TileSelChange(project.get());
    EXPECT_FALSE(model.large);

    // A click redraws the screen with the piece moved.
    model.ScreenClick(project.get(), 200, 100);
    const auto piece = ReadTitlePiece(*project, 1, 0);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->x, 120);
    EXPECT_EQ(piece->y, 144);
    TitleScreenProject moved;
    moved.title.blocks[1][0][1] = 120;
    moved.title.blocks[1][0][3] = 144;
    moved.image.PutTitleScreen(moved.title);
    ExpectSamePixels(model.screen, moved.ExpectedScreen(), "screen after the move");
    ExpectSamePixels(model.tileSet, plain, "tile set after the move");

    model.tileLine = 0;
    model.TileSetClick(project.get(), 0, 0);
    EXPECT_EQ(ReadTitlePiece(*project, 1, 0)->tile, 0);
    model.LayoutSelChange(nullptr);
    EXPECT_TRUE(model.tileLines.empty());
}

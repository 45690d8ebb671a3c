#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "editors/TitleScreen.h"
#include "platform/Files.h"
#include "project/LzCodec.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/editors/TitleScreenProject.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TraceCapture.h"

namespace {

using Region = SyntheticImage::Region;
using Bytes = std::vector<std::uint8_t>;

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

// A graphics file of the logo halves and a strip that compresses to exactly `length` bytes:
// noise up to a point, then zeros.
Bytes GraphicsFile(std::size_t length) {
    Bytes file(0x8000, 1);
    for (std::uint32_t attempt = 0; attempt < 3000; ++attempt) {
        Bytes strip(0x3000, 0);
        std::uint32_t state = attempt / 60;
        for (std::size_t i = 0; i < length * 8 / 9 - 40 + attempt % 60; ++i) {
            state = state * 1103515245 + 12345;
            strip[i] = static_cast<std::uint8_t>(state >> 16);
        }
        if (CompressData(strip)->size() == length) {
            file.insert(file.end(), strip.begin(), strip.end());
            return file;
        }
    }
    ADD_FAILURE() << "no strip compresses to " << length << " bytes";
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
        Canvas screen;
        Canvas tileSet;
        DrawTitleScreen(*data.MakeProject(), screen, tileSet);
        EXPECT_TRUE(SamePicture(screen, data.ExpectedScreen()));
        EXPECT_TRUE(SamePicture(tileSet, TitleScreenProject::ExpectedTileSet()));
    }
}

TEST(TitleScreen, ClicksRetileAndMoveOnlyTheChosenPiece) {
    const TitleScreenProject data;
    const auto project = data.MakeProject();
    struct Case {  // a tile-set or screen click on a piece, and the piece afterwards
        bool tileSet;
        std::size_t block;
        std::uint32_t piece;
        int x, y;
        bool large;
        std::optional<std::array<std::uint8_t, 4>> after;  // size, x, y, tile; none: refused
    };
    const Case cases[] = {
        {true, 0, 0, 45, 70, true, {{1, 0, 0, 0x84}}},
        {true, 0, 3, 127, 127, false, {{0, 230, 0, 0xFF}}},
        {true, 0, 1, 0, 0, false, {{2, 4, 8, 0x00}}},  // size 2 stays 32 x 32
        {true, 0, 0, 128, 5, true, {}},
        {true, 0, 0, 5, 128, true, {}},
        {true, 0, 5, 0, 0, true, {}},  // no such piece
        // Left of and above the origin: the origin's own coordinate, rounded down.
        {false, 0, 0, 0, 0, false, {{0, 16, 16, 0x00}}},
        {false, 0, 0, 255, 223, true, {{0, 200, 168, 0x00}}},
        {false, 0, 0, 256, 100, false, {}},
        {false, 0, 0, 100, 224, false, {}},
        {false, 1, 1, 80, 151, false, {{0xFF, 80, 144, 0xF0}}},
        {false, 1, 1, 88, 159, false, {{0xFF, 8, 0, 0xF0}}},
        {false, 2, 0, 28, 203, false, {{3, 8, 8, 0xE2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.tileSet << c.block << c.piece << " " << c.x << "," << c.y);
        project->romImage = data.image.Bytes();
        const bool written =
            c.tileSet ? SetTitlePieceTile(*project, c.block, c.piece, c.x, c.y, c.large)
                      : SetTitlePiecePosition(*project, c.block, c.piece, c.x, c.y, c.large);
        ASSERT_EQ(written, c.after.has_value());
        const auto changed = Changed(data.image.Bytes(), project->romImage);
        const std::uint32_t at = TitleBlockOffset(*project, c.block) + 1 + 7 * c.piece;
        EXPECT_TRUE(std::all_of(changed.begin(), changed.end(),
                                [&](std::uint32_t i) { return written && i - at < 7; }));
        if (const auto piece = ReadTitlePiece(*project, c.block, c.piece); written) {
            EXPECT_EQ((std::array{piece->size, piece->x, piece->y, piece->tile}), *c.after);
        }
    }
}

TEST(TitleScreen, DataEndingEarlyIsDrawnAsFarAsItGoesAndNeverWritten) {
    // A tile set of 17 tiles and a bit; the logo's right half 17 tiles before the image ends;
    // a block in its last bytes whose count claims more pieces than fit.
    TitleScreenProject data(SyntheticImage::k1MB, Region::ReleaseM);
    const Bytes tiles = TitleScreenProject::Sheet(3, 18);
    data.image.PutLzBlock(data.image.Table(RegionTable::TitleScreenTilesTableB),
                          std::span(tiles).first(17 * 32 + 5));
    const auto project = data.MakeProject();
    project->SetTable(RegionTable::TitleScreenTableB, SyntheticImage::k1MB - 64 * 17);
    project->SetTable(RegionTable::TitleLayoutTableC, SyntheticImage::k1MB - 10);
    project->Write8(SyntheticImage::k1MB - 10, 200);
    Canvas screen;
    Canvas tileSet;
    DrawTitleScreen(*project, screen, tileSet);
    EXPECT_EQ(screen.At(128 + 8 * 5, 15 + 8), 0xFF000000u);  // tile 21 of the right half
    EXPECT_EQ(tileSet.At(7, 15), TitleScreenProject::ExpectedTileSet().At(7, 15));  // tile 16
    EXPECT_EQ(tileSet.At(8, 8), TitleScreenProject::Colour(0, true));               // tile 17
    EXPECT_TRUE(ReadTitlePiece(*project, 2, 0) && !ReadTitlePiece(*project, 2, 1));
    EXPECT_FALSE(ReadTitlePiece(*project, 3, 0));
    EXPECT_FALSE(SetTitlePiecePosition(*project, 2, 1, 40, 200, false));
}

TEST(TitleScreen, ImportsPaletteAndGraphicsAndTheStripReloadsEqual) {
    const TitleScreenProject data;
    const auto project = data.MakeProject();
    const auto folder = ScratchTitleFolder();
    Bytes palette(512);
    std::iota(palette.begin(), palette.end(), 1);
    const Bytes graphics = GraphicsFile(0x229D);  // all the room there is
    WriteWholeFile(folder / ".pal", palette);
    WriteWholeFile(folder / ".spr", graphics);
    ScriptedPrompts prompts;
    ImportTitleFiles(*project, folder, prompts);
    EXPECT_TRUE(prompts.messages.empty());

    const auto& image = project->romImage;
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), image.begin() + 0x21CE60));
    EXPECT_TRUE(std::equal(graphics.begin(), graphics.begin() + 0x8000, image.begin() + 0x350000));
    const Bytes code = {image[0x6F22C], image[0x6F22D], image[0x6F231], image[0x6F240],
                        image[0x6F241], image[0x6F191], image[0x6F192], image[0x6F196]};
    EXPECT_EQ(code, (Bytes{0x60, 0xCE, 0xE1, 0xE0, 0x01, 0x60, 0xD0, 0xE1}));
    std::uint32_t size = 0;
    const auto strip = UncompressDataAt(image, 0x21D060, size);
    ASSERT_TRUE(strip);
    EXPECT_EQ(*strip, Bytes(graphics.begin() + 0x8000, graphics.end()));
    EXPECT_EQ(image[0x21D060], 0);
}

TEST(TitleScreen, RefusedImportFilesLeaveTheImageUnchanged) {
    const Bytes palette(512, 0x11);
    const Bytes graphics = GraphicsFile(0x229D);
    const struct {
        const char* what;
        std::optional<Bytes> pal, spr;
        bool region5;  // a 1 MB image
    } cases[] = {
        {"no files", {}, {}, false},
        {"short palette", Bytes(511), {}, false},
        {"long palette", Bytes(513), {}, false},
        {"short graphics", palette, Bytes(0xAFFF), false},
        {"long graphics", palette, Bytes(0xB001), false},
        {"strip a byte too long", palette, GraphicsFile(0x229E), false},
        {"1 MB image", {}, graphics, true},
        {"1 MB image, palette", palette, graphics, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TitleScreenProject data(c.region5 ? SyntheticImage::k1MB : SyntheticImage::k4MB,
                                      c.region5 ? Region::ReleaseM : Region::German);
        const auto project = data.MakeProject();
        const auto folder = ScratchTitleFolder();
        for (const auto& [name, file] : {std::pair{".pal", c.pal}, std::pair{".spr", c.spr}}) {
            if (file) {
                WriteWholeFile(folder / name, *file);
            }
        }
        ScriptedPrompts prompts;
        const auto trace = CaptureTrace([&] { ImportTitleFiles(*project, folder, prompts); });
        const bool paletteWritten = c.pal == palette;
        EXPECT_EQ(prompts.messages.size(), paletteWritten ? 1u : 2u);
        const auto missing = [&](const char* name) {
            return "Failed to open a file\n\"" + std::string(name) +
                   "\" was looked for in the data folder \"" + folder.string() + "\".";
        };
        EXPECT_EQ(prompts.messages.front() == missing(".pal"), !c.pal);
        EXPECT_EQ(prompts.messages.back() == missing(".spr"), !c.spr);
        EXPECT_EQ(trace.find((folder / ".pal").string()) != std::string::npos, !c.pal);
        // Only the palette and its five code bytes change, if anything.
        const auto changed = Changed(data.image.Bytes(), project->romImage);
        const std::uint32_t paletteAt = c.region5 ? 0x1CE60 : 0x21CE60;
        EXPECT_EQ(changed.size(), paletteWritten ? 512u + 5 : 0u);
        EXPECT_EQ(std::count_if(changed.begin(), changed.end(),
                                [&](std::uint32_t i) { return i - paletteAt < 512; }),
                  paletteWritten ? 512 : 0);
    }
}

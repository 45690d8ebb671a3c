#include "editors/TitleScreen.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "maps/PlanarTile.h"
#include "maps/SnesColor.h"
#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "platform/Trace.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr int kTilesPerRow = 16;
constexpr int kLogoSide = 128;
constexpr int kLogoTop = 15;
constexpr int kStripTop = 143;
constexpr int kStripHeight = 96;  // 12 tile rows, of which the screen shows 10
constexpr int kStripPart = 40;    // each screen half shows 40 of its rows
constexpr std::uint32_t kLogoHalfBytes = 256 * kPlanarTile8Bytes;

// Where each block sits on the screen and which table locates it.
struct BlockPlace {
    RegionTable table;
    int originX;
    int originY;
};
constexpr std::array<BlockPlace, kTitleBlockCount> kBlocks = {{
    {RegionTable::TitleLayoutTableA, 18, 19},
    {RegionTable::TitleLayoutTableB, 80, 151},
    {RegionTable::TitleLayoutTableC, 12, 187},
}};

// The import files and where they go. The palette and the strip land in space of bank 0xE1
// that the game leaves free; the code bytes point the title screen's loader there.
constexpr std::uint32_t kPaletteFileSize = 512;
constexpr std::uint32_t kGraphicsFileSize = 0xB000;
constexpr std::uint32_t kLogoBytes = 2 * kLogoHalfBytes;
constexpr std::uint32_t kPaletteAt = 0x21CE60;
constexpr std::uint32_t kPaletteAtRegion5 = 0x1CE60;
constexpr std::uint32_t kStripBlockAt = 0x21D060;
// The stream must end before 0x21F300, where the game's own data goes on.
constexpr std::uint32_t kStripRoom = 0x229D;

std::vector<std::uint32_t> ReadColours(const ProjectContext& project, std::uint32_t offset,
                                       std::size_t count) {
    std::vector<std::uint32_t> colours(count);
    for (std::size_t i = 0; i < count; ++i) {
        colours[i] = SnesColorToArgb(project.Read16(offset + static_cast<std::uint32_t>(2 * i)));
    }
    return colours;
}

// The bytes of the image from `offset` on, at most `length` of them.
std::span<const std::uint8_t> ImageBytes(const ProjectContext& project, std::uint32_t offset,
                                         std::uint32_t length) {
    const auto image = project.Image();
    if (offset >= image.size()) {
        return {};
    }
    return image.subspan(offset, std::min<std::size_t>(length, image.size() - offset));
}

// Draws whole tiles, 16 to a row, into the picture from its top-left corner, as many as the
// data holds and the picture has room for.
void DrawTiles(std::span<const std::uint8_t> tiles, bool eightBit,
               std::span<const std::uint32_t> colours, Canvas& picture) {
    const std::size_t tileBytes = eightBit ? kPlanarTile8Bytes : kPlanarTileBytes;
    const std::size_t room = static_cast<std::size_t>(picture.Width() / 8) *
                             static_cast<std::size_t>(picture.Height() / 8);
    const std::size_t count = std::min(tiles.size() / tileBytes, room);
    std::uint8_t indexes[64];
    for (std::size_t t = 0; t < count; ++t) {
        const std::uint8_t* tile = tiles.data() + t * tileBytes;
        if (eightBit) {
            DecodePlanarTile8(tile, indexes, 8);
        } else {
            DecodePlanarTile(tile, indexes, 8);
        }
        const int left = static_cast<int>(t % kTilesPerRow) * 8;
        const int top = static_cast<int>(t / kTilesPerRow) * 8;
        for (int r = 0; r < 8; ++r) {
            for (int x = 0; x < 8; ++x) {
                picture.Set(left + x, top + r, colours[indexes[r * 8 + x]]);
            }
        }
    }
}

std::optional<std::uint32_t> PieceOffset(const ProjectContext& project, std::size_t block,
                                         std::uint32_t piece) {
    const std::uint32_t offset = TitleBlockOffset(project, block);
    if (offset == 0 || piece >= TitlePieceCount(project, block)) {
        return std::nullopt;
    }
    const std::uint32_t at = offset + 1 + static_cast<std::uint32_t>(kTitlePieceBytes) * piece;
    if (!InRange(project.romImage.size(), at, kTitlePieceBytes)) {
        return std::nullopt;
    }
    return at;
}

TitlePiece PieceAt(const ProjectContext& project, std::uint32_t at) {
    return {project.Read8(at), project.Read8(at + 1), project.Read8(at + 3), project.Read8(at + 5)};
}

// The grid a click snaps to.
int Snap(int value, bool large) {
    return value & (large ? ~31 : ~7);
}

// A click left of or above a block's origin gives the origin's own coordinate.
std::uint8_t OffsetFromOrigin(int value, int origin) {
    return static_cast<std::uint8_t>((value <= origin ? origin : value - origin) & ~7);
}

// A run of bytes to put into the image.
struct Patch {
    std::uint32_t offset;
    std::vector<std::uint8_t> bytes;
};

// Writes every patch, or none when any of them would reach past the image.
bool ApplyPatches(ProjectContext& project, std::span<const Patch> patches) {
    for (const Patch& patch : patches) {
        if (!InRange(project.romImage.size(), patch.offset, patch.bytes.size())) {
            return false;
        }
    }
    for (const Patch& patch : patches) {
        project.WriteBytes(patch.offset, patch.bytes);
    }
    return true;
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(path.string());
}

// The import file of exactly `size` bytes, or nothing after saying why.
std::optional<std::vector<std::uint8_t>> ReadImportFile(const std::filesystem::path& path,
                                                        std::uint32_t size, Prompts& prompts) {
    const auto failed = [&] {
        Trace("Failed to open %s\n", path.string().c_str());
        // The message names the file and the folder it was looked for in.
        prompts.ShowMessage("Failed to open a file\n" + Quoted(path.filename()) +
                            " was looked for in the data folder " + Quoted(path.parent_path()) +
                            ".");
        return std::optional<std::vector<std::uint8_t>>();
    };
    const auto actual = FileSize(path);
    if (!actual) {
        return failed();
    }
    if (*actual != size) {
        prompts.ShowMessage(Quoted(path) + " is not " + std::to_string(size) +
                            " bytes long; nothing was imported from it.");
        return std::nullopt;
    }
    auto data = ReadWholeFile(path, size);
    if (!data) {
        return failed();
    }
    return data;
}

void ImportPalette(ProjectContext& project, const std::filesystem::path& path, Prompts& prompts) {
    const auto file = ReadImportFile(path, kPaletteFileSize, prompts);
    if (!file) {
        return;
    }
    const std::uint32_t at = project.regionIndex == 5 ? kPaletteAtRegion5 : kPaletteAt;
    const Patch patches[] = {
        {0x6F22C, {0x60, 0xCE}}, {0x6F231, {0xE1}}, {0x6F240, {0xE0, 0x01}}, {at, *file}};
    if (!ApplyPatches(project, patches)) {
        prompts.ShowMessage("This image has no room for the title palette at its place; " +
                            Quoted(path) + " was not imported.");
    }
}

void ImportGraphics(ProjectContext& project, const std::filesystem::path& path, Prompts& prompts) {
    const auto file = ReadImportFile(path, kGraphicsFileSize, prompts);
    if (!file) {
        return;
    }
    const std::span<const std::uint8_t> bytes(*file);
    const auto stream = CompressData(bytes.subspan(kLogoBytes));
    if (!stream || stream->size() > kStripRoom) {
        prompts.ShowMessage("The title strip of " + Quoted(path) +
                            " does not compress into its place (at most " +
                            std::to_string(kStripRoom) + " bytes); nothing was imported from it.");
        return;
    }
    std::vector<std::uint8_t> block{0x00, 0x00, 0x30};  // raw size 0x3000
    block.insert(block.end(), stream->begin(), stream->end());
    const std::uint32_t logoAt =
        project.WrapRomOffset(project.Table(RegionTable::TitleScreenGraphicsTable));
    const Patch patches[] = {{logoAt, {bytes.begin(), bytes.begin() + kLogoBytes}},
                             {kStripBlockAt, std::move(block)},
                             {0x6F191, {0x60, 0xD0}},
                             {0x6F196, {0xE1}}};
    if (!ApplyPatches(project, patches)) {
        prompts.ShowMessage("This image has no room for the title graphics at their place; " +
                            Quoted(path) + " was not imported.");
    }
}

}  // namespace

std::uint32_t TitleBlockOffset(const ProjectContext& project, std::size_t block) {
    return block < kTitleBlockCount ? project.Table(kBlocks[block].table) : 0;
}

std::uint32_t TitlePieceCount(const ProjectContext& project, std::size_t block) {
    const std::uint32_t offset = TitleBlockOffset(project, block);
    return offset == 0 ? 0 : project.Read8(offset);
}

std::optional<TitlePiece> ReadTitlePiece(const ProjectContext& project, std::size_t block,
                                         std::uint32_t piece) {
    const auto at = PieceOffset(project, block, piece);
    if (!at) {
        return std::nullopt;
    }
    return PieceAt(project, *at);
}

std::uint32_t DrawTitleTileSet(const ProjectContext& project, Canvas& tileSet, bool* found) {
    const auto colours =
        ReadColours(project, project.Table(RegionTable::TitleScreenTilesTable), 16);
    tileSet.Resize(kTitleTileSetSize, kTitleTileSetSize, colours[0]);
    std::uint32_t size = 0;
    const auto tiles =
        UncompressDataAt(project.Image(), project.Table(RegionTable::TitleScreenTilesTableB), size);
    if (tiles) {
        DrawTiles(*tiles, false, colours, tileSet);
    }
    if (found != nullptr) {
        *found = tiles && !tiles->empty();
    }
    return colours[0];
}

std::vector<std::string> DrawTitleScreen(const ProjectContext& project, Canvas& screen,
                                         Canvas& tileSet) {
    std::vector<std::string> missing;
    screen.Resize(kTitleScreenWidth, kTitleScreenHeight, kBlack);
    const auto colours = ReadColours(project, project.Table(RegionTable::TitleScreenTableA), 256);

    const RegionTable halves[] = {RegionTable::TitleScreenGraphicsTable,
                                  RegionTable::TitleScreenTableB};
    Canvas half(kLogoSide, kLogoSide);
    for (int side = 0; side < 2; ++side) {
        half.Fill(kBlack);
        const auto logo = ImageBytes(project, project.Table(halves[side]), kLogoHalfBytes);
        if (logo.size() < kLogoHalfBytes && missing.empty()) {
            missing.push_back("logo");
        }
        DrawTiles(logo, true, colours, half);
        screen.Copy(half.Source(), side * kLogoSide, kLogoTop, 0, 0, kLogoSide, kLogoSide);
    }

    std::uint32_t size = 0;
    const auto strip = UncompressDataAt(
        project.Image(), project.Table(RegionTable::TitleScreenCompressedTable), size);
    if (strip && !strip->empty()) {
        Canvas picture(kLogoSide, kStripHeight, kBlack);
        DrawTiles(*strip, true, colours, picture);
        screen.Copy(picture.Source(), 0, kStripTop, 0, 0, kLogoSide, kStripPart);
        screen.Copy(picture.Source(), kLogoSide, kStripTop, 0, kStripPart, kLogoSide, kStripPart);
    } else {
        missing.push_back("strip");
    }

    bool tilesFound = true;
    const std::uint32_t key = DrawTitleTileSet(project, tileSet, &tilesFound);
    if (!tilesFound) {
        missing.push_back("tile set");
    }
    for (std::size_t block = 0; block < kTitleBlockCount; ++block) {
        const std::uint32_t offset = TitleBlockOffset(project, block);
        if (offset == 0) {
            continue;
        }
        const std::uint32_t count = TitlePieceCount(project, block);
        for (std::uint32_t k = 0; k < count; ++k) {
            // Bytes past the image read as 0; the blit clips what lies off either picture.
            const TitlePiece piece =
                PieceAt(project, offset + 1 + static_cast<std::uint32_t>(kTitlePieceBytes) * k);
            screen.CopyKeyed(tileSet.Source(), kBlocks[block].originX + piece.x,
                             kBlocks[block].originY + piece.y, piece.SourceX(), piece.SourceY(),
                             piece.Side(), piece.Side(), key);
        }
    }
    return missing;
}

bool SetTitlePieceTile(ProjectContext& project, std::size_t block, std::uint32_t piece, int x,
                       int y, bool large) {
    const auto at = PieceOffset(project, block, piece);
    if (!at || x < 0 || y < 0 || x >= kTitleTileSetSize || y >= kTitleTileSetSize) {
        return false;
    }
    const std::uint8_t size = project.Read8(*at);
    project.Write8(*at, large ? size | 1 : size & ~1);
    project.Write8(*at + 5, Snap(y, large) / 8 * 16 + Snap(x, large) / 8);
    return true;
}

bool SetTitlePiecePosition(ProjectContext& project, std::size_t block, std::uint32_t piece, int x,
                           int y, bool large) {
    const auto at = PieceOffset(project, block, piece);
    if (!at || x < 0 || y < 0 || x >= kTitleScreenWidth || y >= kTitleScreenHeight) {
        return false;
    }
    project.Write8(*at + 1, OffsetFromOrigin(Snap(x, large), kBlocks[block].originX));
    project.Write8(*at + 3, OffsetFromOrigin(Snap(y, large), kBlocks[block].originY));
    return true;
}

void ImportTitleFiles(ProjectContext& project, const std::filesystem::path& folder,
                      Prompts& prompts) {
    ImportPalette(project, folder / kTitlePaletteFileName, prompts);
    ImportGraphics(project, folder / kTitleGraphicsFileName, prompts);
}

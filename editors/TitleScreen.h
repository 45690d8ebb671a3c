#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class Canvas;
class ProjectContext;
class Prompts;

// The game's title screen: the logo in two halves of 8-bit tiles, a strip of 8-bit tiles from
// an LZ block, and three blocks of pieces cut from a 4-bit tile set, drawn over them. The pieces
// are edited in place in the image; the logo and the strip are replaced from two import files.

inline constexpr int kTitleScreenWidth = 256;
inline constexpr int kTitleScreenHeight = 224;
inline constexpr int kTitleTileSetSize = 128;
inline constexpr std::size_t kTitleBlockCount = 3;
inline constexpr std::size_t kTitlePieceBytes = 7;

// The tile blocks, in drawing order; line i of the layout list names block i.
inline constexpr std::array<const char*, kTitleBlockCount> TitleScreenLayoutNames = {
    "Title", "Start Text", "License"};

// The import files, looked for in the program's title data folder.
inline constexpr const char* kTitlePaletteFileName = ".pal";
inline constexpr const char* kTitleGraphicsFileName = ".spr";

// A piece of a tile block as the image keeps it in 7 bytes: byte 0 the size (0 for 8 x 8,
// else 32 x 32), bytes 1 and 3 the offset from the block's origin, byte 5 the tile of the tile
// set (low nibble column, high nibble row); bytes 2, 4 and 6 are the game's and not drawn.
struct TitlePiece {
    std::uint8_t size = 0;
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint8_t tile = 0;

    bool Large() const { return size != 0; }
    int Side() const { return Large() ? 32 : 8; }
    int SourceX() const { return 8 * (tile & 0x0F); }
    int SourceY() const { return 8 * (tile >> 4); }
};

// The image offset of a block (its piece count, then the pieces); 0 when the release has none.
std::uint32_t TitleBlockOffset(const ProjectContext& project, std::size_t block);
// The block's piece count; 0 without the block.
std::uint32_t TitlePieceCount(const ProjectContext& project, std::size_t block);
// Piece k of the block, when the block has it and all its bytes lie in the image.
std::optional<TitlePiece> ReadTitlePiece(const ProjectContext& project, std::size_t block,
                                         std::uint32_t piece);

// The tile set, 128 x 128, as far as its block holds tiles (the rest shows its colour 0).
// Returns its colour 0, the colour that the blocks leave out; `found` turns false when the tile
// block does not decode where its table points.
std::uint32_t DrawTitleTileSet(const ProjectContext& project, Canvas& tileSet,
                               bool* found = nullptr);
// The 256 x 224 screen: logo halves, strip, then the three blocks from the tile set, which is
// drawn again into `tileSet` on the way. Returns the parts that the image does not hold where
// its tables point ("logo", "strip", "tile set"), so that an empty screen can be explained.
std::vector<std::string> DrawTitleScreen(const ProjectContext& project, Canvas& screen,
                                         Canvas& tileSet);

// A click at (x, y) of the tile set gives the piece the tile there, on a 32- or 8-pixel grid
// as `large` says; bit 0 of its size byte follows `large`. A click at (x, y) of the screen
// moves the piece there. Both write only into the piece's own bytes and return false, writing
// nothing, for a point off the picture or a piece that is not in the image.
bool SetTitlePieceTile(ProjectContext& project, std::size_t block, std::uint32_t piece, int x,
                       int y, bool large);
bool SetTitlePiecePosition(ProjectContext& project, std::size_t block, std::uint32_t piece, int x,
                           int y, bool large);

// Imports the palette file and then the graphics file from `folder` (see the file names above).
// A file that is missing, of the wrong size, or whose data would not fit where it goes is
// refused with a message and nothing of it is written; a refused palette still lets the
// graphics be imported.
void ImportTitleFiles(ProjectContext& project, const std::filesystem::path& folder,
                      Prompts& prompts);

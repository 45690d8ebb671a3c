#include "maps/SpriteDescriptor.h"

#include <algorithm>
#include <array>
#include <vector>

#include "project/ByteAccess.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"

namespace {

// Pointer tables at fixed image offsets, the same in every release.
constexpr std::uint32_t kSpritePalettePointerTable = 0xFC72;
constexpr std::uint32_t kSpriteGraphicsPointerTable = 0xFDA4;
constexpr std::uint32_t kLastPaletteIndex = 31;
constexpr std::uint32_t kLastGraphicsOffset = 93;  // a byte offset into the table, not an index

constexpr std::uint32_t kFrameRecordHead = 16;
constexpr std::uint32_t kPieceSize = 7;
constexpr std::uint32_t kTileBytes = 32;
constexpr std::uint32_t kTileRowBytes = 16 * kTileBytes;
constexpr std::uint32_t kColouredTileRows = 16;
constexpr int kViewLimit = 512;
constexpr std::uint32_t kPaletteKeyEntry = kSpriteKeyColour;  // alpha 0

using SpritePalette = std::array<std::uint32_t, 16>;

std::uint32_t PalettePointer(const ProjectContext& project, std::uint32_t index) {
    return project.Read24(kSpritePalettePointerTable + 3 * index);
}

std::uint32_t GraphicsPointer(const ProjectContext& project, std::uint32_t byteOffset) {
    return project.Read24(kSpriteGraphicsPointerTable + byteOffset);
}

std::uint32_t Bgr15ToArgb(std::uint16_t c) {
    const std::uint32_t red = (c & 0x1F) << 3;
    const std::uint32_t green = ((c >> 5) & 0x1F) << 3;
    const std::uint32_t blue = ((c >> 10) & 0x1F) << 3;
    return 0xFF000000 | red << 16 | green << 8 | blue;
}

// Entry 0 is always the key colour; the game's colour 0 is never read.
SpritePalette ReadSpritePalette(const ProjectContext& project, std::uint32_t address) {
    SpritePalette palette{};
    palette[0] = kPaletteKeyEntry;
    const std::uint32_t base = project.WrapRomOffset(address);
    for (std::uint32_t i = 1; i < palette.size(); ++i) {
        palette[i] = Bgr15ToArgb(project.Read16(base + 2 * i));
    }
    return palette;
}

// The colour sheet of 4-bit planar tiles, 16 to a row; 2 rows for every 128 bytes of data,
// of which only whole tile rows, and at most 16 of them, are coloured.
Canvas BuildColourSheet(std::span<const std::uint8_t> tiles, const SpritePalette& palette) {
    const auto size = static_cast<std::uint32_t>(tiles.size());
    Canvas sheet(kSpriteSheetWidth, static_cast<int>(2 * (size >> 7)), 0);
    const std::uint32_t tileRows = std::min(size / kTileRowBytes, kColouredTileRows);
    for (std::uint32_t t = 0; t < tileRows; ++t) {
        for (std::uint32_t c = 0; c < 16; ++c) {
            const std::uint32_t tile = t * kTileRowBytes + c * kTileBytes;
            for (std::uint32_t r = 0; r < 8; ++r) {
                const std::uint8_t p0 = tiles[tile + 2 * r];
                const std::uint8_t p1 = tiles[tile + 2 * r + 1];
                const std::uint8_t p2 = tiles[tile + 16 + 2 * r];
                const std::uint8_t p3 = tiles[tile + 17 + 2 * r];
                for (int x = 0; x < 8; ++x) {
                    const int bit = 7 - x;
                    const int index = (p0 >> bit & 1) | (p1 >> bit & 1) << 1 |
                                      (p2 >> bit & 1) << 2 | (p3 >> bit & 1) << 3;
                    sheet.Set(static_cast<int>(8 * c) + x, static_cast<int>(8 * t + r),
                              palette[index]);
                }
            }
        }
    }
    return sheet;
}

// The block's decoded bytes, no more than the decoder reported.
std::optional<std::vector<std::uint8_t>> Decode(const ProjectContext& project,
                                                std::uint32_t address, std::uint32_t& size) {
    auto data = UncompressData(project, address, size);
    if (data) {
        data->resize(std::min<std::size_t>(data->size(), size));
    }
    return data;
}

// Copies an s x s square of the sheet to (destX, destY), mirrored as asked. Key-coloured
// pixels and those outside the sheet are left out.
void DrawPiece(const Canvas& sheet, int srcX, int srcY, int s, bool mirrorX, bool mirrorY,
               Canvas& view, int destX, int destY) {
    for (int dy = 0; dy < s; ++dy) {
        const int sy = srcY + (mirrorY ? s - 1 - dy : dy);
        for (int dx = 0; dx < s; ++dx) {
            const int sx = srcX + (mirrorX ? s - 1 - dx : dx);
            if (!sheet.Contains(sx, sy)) {
                continue;
            }
            const std::uint32_t pixel = sheet.At(sx, sy);
            if ((pixel & 0xFFFFFF) != kSpriteKeyColour) {
                view.Set(destX + dx, destY + dy, pixel);
            }
        }
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SpriteDescriptor::ReadAnimationData(
    const ProjectContext& project, std::uint32_t infoAddress) {
    std::uint32_t size = 0;
    return Decode(project, project.ReadRomLong(infoAddress), size);
}

std::uint32_t SpriteDescriptor::AnimationCount(std::span<const std::uint8_t> animData) {
    const int count = (GetU16(animData, 0) >> 1) - 1;
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

std::uint32_t SpriteDescriptor::CountFrames(std::span<const std::uint8_t> animData,
                                            std::uint32_t animation) {
    const std::size_t size = animData.size();
    if (!InRange(size, std::size_t{2} * animation, 2)) {
        return 0;
    }
    const std::size_t list = GetU16(animData, std::size_t{2} * animation);
    std::uint32_t count = 0;
    for (std::size_t entry = list; InRange(size, entry, 4); entry += 4) {
        if (count > 0 && GetU16(animData, entry) == 0xFFFF) {
            break;
        }
        ++count;
    }
    return count;
}

SpriteDescriptor& SpriteDescriptor::Load(ProjectContext& project, std::uint32_t address) {
    if (address == 0) {
        return *this;
    }
    // A reused descriptor must not keep the animations of the sprite loaded before.
    *this = SpriteDescriptor{};
    infoAddress = address;

    const auto recordByte = [&](std::uint32_t offset) {
        return project.Read8(project.WrapRomOffset(address + offset));
    };
    const auto recordWord = [&](std::uint32_t offset) {
        return static_cast<std::uint16_t>(recordByte(offset) | recordByte(offset + 1) << 8);
    };
    const auto recordLong = [&](std::uint32_t offset) {
        return recordWord(offset) | static_cast<std::uint32_t>(recordByte(offset + 2)) << 16;
    };
    // Palette from the pointer table and, when `graphicsByte` is given, graphics from theirs.
    const auto fromTables = [&](std::uint32_t paletteIndex,
                                std::optional<std::uint32_t> graphicsByte) {
        if (paletteIndex > kLastPaletteIndex) {
            return false;
        }
        paletteAddress = PalettePointer(project, paletteIndex);
        if (!graphicsByte) {
            return true;
        }
        if (*graphicsByte > kLastGraphicsOffset) {
            return false;
        }
        project.spriteGraphicsAddress = GraphicsPointer(project, *graphicsByte);
        return true;
    };

    bool usable = false;
    if (recordWord(9) == 0xFFFF) {
        usable = fromTables(recordByte(5) & 0x3F, std::nullopt);
    } else if (recordWord(12) == 0xFFFF) {
        usable = false;
    } else if ((recordByte(3) & 0x20) != 0) {
        usable = fromTables(recordByte(5) & 0x3F, recordByte(12));
    } else if ((recordByte(8) & 0x80) != 0) {
        usable = fromTables(recordByte(8) & 0x3F, recordByte(15));
    } else {
        paletteAddress = recordLong(9);
        project.spriteGraphicsAddress = recordLong(18);
        usable = true;
    }
    if (!usable) {
        return *this;
    }
    graphicsAddress = project.spriteGraphicsAddress;

    animDataAddress = project.ReadRomLong(address);
    const auto animData = Decode(project, animDataAddress, animDataSize);
    if (!animData) {
        return *this;
    }
    animationCount = AnimationCount(*animData);
    frameCount = CountFrames(*animData, 0);
    return *this;
}

SpriteFrameResult SpriteDescriptor::RenderFrame(const ProjectContext& project, int x, int y,
                                                std::uint32_t animation, std::uint32_t frame,
                                                Canvas& frameView) const {
    SpriteFrameResult result;
    if (animation >= animationCount) {
        return result;
    }
    std::uint32_t tilesSize = 0;
    const auto tiles = Decode(project, graphicsAddress, tilesSize);
    if (!tiles) {
        return result;
    }
    result.sheet = BuildColourSheet(*tiles, ReadSpritePalette(project, paletteAddress));
    const Canvas& sheet = *result.sheet;

    const auto animBlock = ReadAnimationData(project, infoAddress);
    if (!animBlock) {
        return result;
    }
    const std::span<const std::uint8_t> anim = *animBlock;
    // A frame past the end of its list, or a record outside the data, is not drawn.
    if (frame >= CountFrames(anim, animation)) {
        return result;
    }
    const std::size_t list = GetU16(anim, std::size_t{2} * animation);
    const std::size_t record = GetU16(anim, list + std::size_t{4} * frame + 2);
    if (!InRange(anim.size(), record, kFrameRecordHead + 1)) {
        return result;
    }
    const std::size_t pieceCount = anim[record + kFrameRecordHead];
    const std::size_t firstPiece = record + kFrameRecordHead + 1;
    // Piece 0 is drawn last so that it ends on top; pieces cut off by the data's end are left out.
    for (std::size_t k = pieceCount; k-- > 0;) {
        const std::size_t piece = firstPiece + kPieceSize * k;
        if (!InRange(anim.size(), piece, kPieceSize)) {
            continue;
        }
        const int s = (anim[piece] & 1) != 0 ? 16 : 8;
        const std::int64_t destX = std::int64_t{x} + anim[piece + 1];
        const std::int64_t destY = std::int64_t{y} + anim[piece + 3];
        if (destX < 0 || destY < 0 || destX + s > kViewLimit || destY + s > kViewLimit) {
            continue;
        }
        const std::uint8_t tile = anim[piece + 5];
        const std::uint8_t mirror = anim[piece + 6];
        DrawPiece(sheet, 8 * (tile & 0x0F), 8 * (tile >> 4), s, (mirror & 0x40) != 0,
                  (mirror & 0x80) != 0, frameView, static_cast<int>(destX),
                  static_cast<int>(destY));
    }
    result.drawn = true;
    return result;
}

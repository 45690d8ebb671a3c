#include "maps/HeaderScriptRunner.h"

#include <algorithm>
#include <span>
#include <vector>

#include "maps/MapDataBlocks.h"
#include "maps/MapRenderer.h"
#include "platform/Files.h"
#include "platform/Trace.h"
#include "project/ProjectContext.h"

namespace {

// The metatile table that a metatile command's d operand names; none for 0x04, 0x08, ...
std::optional<std::uint32_t> MetatileTableOfOperand(std::uint8_t d) {
    if (d == 0 || (d & 3) == 1 || (d & 3) == 3) {
        return 0;
    }
    if ((d & 3) == 2) {
        return 1;
    }
    return std::nullopt;
}

// Where a tile command's graphics go in tileData, in units of 0x200 bytes.
std::uint32_t TileSlot(std::uint8_t b) {
    if ((b & 0x70) < 0x40) {
        return b & 0x78;
    }
    switch (b) {
        case 0x40:
            return 0x20;
        case 0x50:
            return 0x50;
        case 0x70:
            return 0x30;
        default:
            return 0;
    }
}

}  // namespace

HeaderScriptRunner::HeaderScriptRunner(MapRenderer& map, bool skipFlagGotos,
                                       HeaderScriptSurvey* survey)
    : map_(map), project_(map.Project()), skipFlagGotos_(skipFlagGotos), survey_(survey) {}

bool HeaderScriptRunner::Run() {
    const std::uint32_t start = map_.cursor;
    for (std::uint32_t count = 0; count < kMaxCommands; ++count) {
        const std::uint32_t at = map_.cursor;
        jumped_ = false;
        const Step step = RunCommand();
        if (survey_ != nullptr) {
            survey_->Command(at, jumped_ ? commandEnd_ : map_.cursor);
            if (step == Step::Continue && jumped_ && LandsAgain()) {
                survey_->Repeats();
                return false;
            }
        }
        switch (step) {
            case Step::Continue:
                break;
            case Step::End:
                return true;
            case Step::Stopped:
                return false;
        }
    }
    Trace("Header script at %06X stopped after %u commands\n", start, kMaxCommands);
    return false;
}

bool HeaderScriptRunner::LandsAgain() {
    // From a landing it reaches again with the same stacks, the walk goes the way it went
    // from there before: it loops. A survey sees whole turns from the first landing, and
    // turns that follow a whole turn from the second.
    std::vector<std::uint32_t> key{map_.cursor, static_cast<std::uint32_t>(callStack_.Size())};
    key.insert(key.end(), callStack_.Entries().begin(), callStack_.Entries().end());
    key.insert(key.end(), deferredStack_.Entries().begin(), deferredStack_.Entries().end());
    return ++landings_[std::move(key)] == 4;
}

void HeaderScriptRunner::JumpTo(std::uint32_t position) {
    commandEnd_ = map_.cursor;
    jumped_ = true;
    map_.cursor = position;
}

std::uint8_t HeaderScriptRunner::ReadByte() {
    return project_.Read8(project_.WrapRomOffset(map_.cursor++));
}

std::uint16_t HeaderScriptRunner::ReadWord() {
    const std::uint8_t lo = ReadByte();
    return static_cast<std::uint16_t>(lo | ReadByte() << 8);
}

std::uint32_t HeaderScriptRunner::PiecePosition(std::uint32_t piece) const {
    return ReadScriptPosition(project_, project_.Table(RegionTable::MapScriptTableB) + 3 * piece);
}

HeaderScriptRunner::Step HeaderScriptRunner::Push(HeaderScriptStack& stack,
                                                  std::uint32_t position) {
    if (stack.Push(position)) {
        return Step::Continue;
    }
    Trace("Header script: stack full at %06X, walk stopped\n", map_.cursor);
    return Step::Stopped;
}

HeaderScriptRunner::Step HeaderScriptRunner::EndOfPiece() {
    if (const auto back = callStack_.Pop()) {
        JumpTo(*back);
    } else if (const auto deferred = deferredStack_.Pop()) {
        JumpTo(*deferred);
    } else {
        return Step::End;
    }
    return Step::Continue;
}

HeaderScriptRunner::Step HeaderScriptRunner::RunCommand() {
    switch (ReadByte()) {
        case 0x00:
            return EndOfPiece();
        case 0x01:
            map_.cursor += 6;
            break;
        case 0x02:
            map_.cursor += 1;
            map_.mapMusicTrack = ReadByte();
            map_.ReadScriptPointer();
            break;
        case 0x04:
            map_.ReadScriptPointer();
            map_.cursor += 2;
            break;
        case 0x08:
            return RunFlowCommand();
        case 0x10: {
            const std::uint8_t n = ReadByte();
            if (n == 1 || n == 2) {
                LoadLayer(n - 1);
            } else if (n == 0) {
                map_.cursor += 3;
            }
            break;
        }
        case 0x20:
            LoadMetatilesOrCollision();
            break;
        case 0x40:
            LoadPalette();
            break;
        case 0x80:
            LoadTiles();
            break;
        default:
            break;
    }
    return Step::Continue;
}

HeaderScriptRunner::Step HeaderScriptRunner::RunFlowCommand() {
    const std::uint8_t sub = ReadByte();
    switch (sub) {
        case 0xF8:
            if (const auto back = callStack_.Pop()) {
                JumpTo(*back);
            }
            break;
        case 0xF9: {
            const std::uint16_t piece = ReadWord();
            if (Push(callStack_, map_.cursor) == Step::Stopped) {
                return Step::Stopped;
            }
            JumpTo(PiecePosition(piece & 0x7FFF));
            break;
        }
        case 0xFA:
            return Push(deferredStack_, PiecePosition(ReadWord()));
        case 0xFC: {
            map_.mapMusicTrackPos = map_.cursor;
            map_.mapMusicTrack = ReadWord();
            break;
        }
        case 0xFD: {
            map_.cursor += 2;  // the event flag, which loading does not test
            const std::uint16_t piece = ReadWord();
            if (!skipFlagGotos_) {
                JumpTo(PiecePosition(piece));
            }
            break;
        }
        case 0xFE: {
            const std::uint16_t piece = ReadWord();
            if (const auto back = callStack_.Pop()) {
                JumpTo(*back);
            } else {
                JumpTo(PiecePosition(piece));
            }
            break;
        }
        case 0xFF: {
            const std::uint16_t piece = ReadWord();
            if (callStack_.Empty()) {
                JumpTo(PiecePosition(piece));
            }
            break;
        }
        default:
            break;
    }
    return Step::Continue;
}

void HeaderScriptRunner::LoadLayer(std::uint32_t layer) {
    const std::uint32_t pointerPos = map_.cursor;
    const std::uint32_t p = map_.ReadScriptPointer();
    if (survey_ != nullptr) {
        survey_->Block(HeaderScriptSurvey::BlockKind::Layer, pointerPos, p, 0);
        return;
    }
    map_.layerSource[layer] = p + 2;
    auto data = DecodeMapBlock(project_, p + 2);
    if (!data) {
        map_.layerMap[layer] = {};
        return;
    }
    map_.layerMap[layer] = std::move(*data);
    map_.layerPointerPos[layer] = pointerPos;
    map_.layerWidth[layer] = project_.Read8(project_.WrapRomOffset(p)) * 256u;
    map_.layerHeight[layer] = project_.Read8(project_.WrapRomOffset(p + 1)) * 256u;
}

void HeaderScriptRunner::LoadMetatilesOrCollision() {
    const std::uint32_t a = ReadByte() & 0x7F;
    const std::uint32_t b = ReadByte();
    const std::uint32_t c = ReadByte();
    const std::uint8_t d = ReadByte();
    const std::uint32_t pointerPos = map_.cursor;
    const std::uint32_t p = map_.ReadScriptPointer();
    const auto table = MetatileTableOfOperand(d);
    if (survey_ != nullptr) {
        if ((d & 0x80) != 0 || table) {
            survey_->Block(HeaderScriptSurvey::BlockKind::Lz, pointerPos, p, 0);
        }
        return;
    }

    if (d & 0x80) {
        if (map_.collisionSource == 0) {
            map_.collisionSource = p;
        }
        const auto data = DecodeMapBlock(project_, p);
        if (!data) {
            return;
        }
        CopyClipped(map_.collision, c * 64, *data, 0, b * 64);
        // The count says how much of the table holds data; it never passes the table's end.
        map_.collisionSize = static_cast<std::uint32_t>(
            std::min<std::size_t>(map_.collisionSize + data->size(), map_.collision.size()));
        WriteDumpFile("col.bin", std::span(map_.collision).first(map_.collisionSize));
        return;
    }

    if (!table) {
        return;
    }
    if (map_.metatileSource == 0) {
        map_.metatileSource = p;
    }
    const auto data = DecodeMapBlock(project_, p);
    if (!data) {
        return;
    }
    auto& target = map_.metatileTables[*table];
    CopyClipped(target, c * 64, *data, a * 64, b * 64);
    map_.metatileTableSizes[*table] = static_cast<std::uint32_t>(
        std::min<std::size_t>(map_.metatileTableSizes[*table] + b * 64, target.size()));
}

void HeaderScriptRunner::LoadPalette() {
    map_.cursor += 1;
    const std::uint32_t count = ReadByte();
    const std::uint32_t first = ReadByte();
    const std::uint32_t pointerPos = map_.cursor;
    const std::uint32_t p = map_.ReadScriptPointer();
    if (survey_ != nullptr) {
        // Whole rows of 16 colours are read, as long as they are rows of the palette.
        std::uint32_t rows = 0;
        for (std::uint32_t k = 0; k < count && ((first + k) >> 4) < 16; k += 16) {
            ++rows;
        }
        survey_->Block(HeaderScriptSurvey::BlockKind::Colours, pointerPos, p, rows * 32);
        return;
    }
    map_.LoadPaletteRow(project_.Table(RegionTable::DefaultMapPaletteTable), 0);
    if (map_.paletteSource == 0) {
        map_.paletteSource = p;
    }
    for (std::uint32_t k = 0; k < count; k += 16) {
        const std::uint32_t row = (first + k) >> 4;
        if (row < 16) {
            map_.LoadPaletteRow(p + 2 * k, row);
        }
    }
}

void HeaderScriptRunner::LoadTiles() {
    map_.cursor += 1;
    const std::uint32_t y = ReadByte();
    const std::uint8_t type = ReadByte();
    const std::uint32_t pointerPos = map_.cursor;
    const std::uint32_t p = map_.ReadScriptPointer();
    const std::uint8_t b = ReadByte();
    map_.cursor += 1;
    const std::uint32_t size = (y << 9) & 0xFFFF;
    if (survey_ != nullptr) {
        survey_->Block(type == kTileSetLinear ? HeaderScriptSurvey::BlockKind::Lz
                                              : HeaderScriptSurvey::BlockKind::Tiles,
                       pointerPos, p, size);
        return;
    }

    map_.tileSetType = type;
    if (type == 1) {
        map_.tileNumberOffset[0] = (b & 0x30u) << 4;
    } else if (type == 2) {
        map_.tileNumberOffset[1] = (b & 0x30u) << 4;
    }
    if (type == kTileSetLinear) {
        auto data = DecodeMapBlock(project_, p);
        map_.linearTiles = data ? std::move(*data) : std::vector<std::uint8_t>{};
        return;
    }

    if (map_.tileSource == 0) {
        map_.tileSource = p;
    }
    const std::uint32_t offset = TileSlot(b) * 0x200;
    if (const auto data = DecodeMapBlock(project_, p)) {
        CopyClipped(map_.tileData, offset, *data, 0, size);
        map_.tileDataSize = std::max(map_.tileDataSize, offset + size);
    } else {
        // A block that is not compressed is taken as it stands in the image.
        CopyClipped(map_.tileData, 0, project_.Image(), project_.WrapRomOffset(p), size);
    }
}

#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "maps/HeaderScriptStack.h"

class MapRenderer;
class ProjectContext;

// Told what a header script names instead of loading it: the walk that finds which parts of the
// image the maps still use.
class HeaderScriptSurvey {
public:
    enum class BlockKind {
        Layer,    // width and height bytes, then an LZ block
        Lz,       // an LZ block
        Colours,  // `bytes` raw bytes of colours
        Tiles,    // an LZ block, or `bytes` raw bytes where it does not decode
    };

    virtual ~HeaderScriptSurvey() = default;
    // The bytes start to end of one command, as the walk read them.
    virtual void Command(std::uint32_t start, std::uint32_t end) = 0;
    // A block that a command names by the pointer at pointerPos.
    virtual void Block(BlockKind kind, std::uint32_t pointerPos, std::uint32_t address,
                       std::uint32_t bytes) = 0;
    // The walk stopped at a jump's landing that it reached a fourth time with the same stacks:
    // it is in a loop, and each turn tells again what the turns before told.
    virtual void Repeats() = 0;
};

// Runs a map header script from the map object's cursor into the map object's buffers: the
// layer tile maps, tiles, metatile tables, collision, palette and music. The call and deferred
// stacks belong to one run.
class HeaderScriptRunner {
public:
    // Scripts of the game run a few dozen commands; a walk that reaches this many loops.
    static constexpr std::uint32_t kMaxCommands = 4096;

    // With a survey the walk tells it every command and block and loads nothing.
    HeaderScriptRunner(MapRenderer& map, bool skipFlagGotos, HeaderScriptSurvey* survey = nullptr);

    // Runs until the script ends, a stack would overflow or the command limit is reached; a
    // walk for a survey also stops when it only repeats itself. Returns false when the walk was
    // stopped instead of ending.
    bool Run();

private:
    enum class Step { Continue, End, Stopped };

    Step RunCommand();
    Step RunFlowCommand();
    Step EndOfPiece();
    Step Push(HeaderScriptStack& stack, std::uint32_t position);
    // Whether the walk, just landed by a jump, lands here with these stacks a fourth time.
    bool LandsAgain();

    void LoadLayer(std::uint32_t layer);
    void LoadMetatilesOrCollision();
    void LoadPalette();
    void LoadTiles();

    // Continues the walk at position; the command ends where its operands did.
    void JumpTo(std::uint32_t position);
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    // The position of shared script piece n.
    std::uint32_t PiecePosition(std::uint32_t piece) const;

    MapRenderer& map_;
    ProjectContext& project_;
    bool skipFlagGotos_;
    HeaderScriptStack callStack_;
    HeaderScriptStack deferredStack_;
    HeaderScriptSurvey* survey_;
    std::uint32_t commandEnd_ = 0;
    bool jumped_ = false;
    // A survey's landings: position and both stacks, and how often the walk came there.
    std::map<std::vector<std::uint32_t>, std::uint32_t> landings_;
};

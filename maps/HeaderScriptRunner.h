#pragma once

#include <cstdint>

#include "maps/HeaderScriptStack.h"

class MapRenderer;
class ProjectContext;

// Runs a map header script from the map object's cursor into the map object's buffers: the
// layer tile maps, tiles, metatile tables, collision, palette and music. The call and deferred
// stacks belong to one run.
class HeaderScriptRunner {
public:
    // Scripts of the game run a few dozen commands; a walk that reaches this many loops.
    static constexpr std::uint32_t kMaxCommands = 4096;

    HeaderScriptRunner(MapRenderer& map, bool skipFlagGotos);

    // Runs until the script ends, a stack would overflow or the command limit is reached.
    // Returns false when the walk was stopped instead of ending.
    bool Run();

private:
    enum class Step { Continue, End, Stopped };

    Step RunCommand();
    Step RunFlowCommand();
    Step EndOfPiece();
    Step Push(HeaderScriptStack& stack, std::uint32_t position);

    void LoadLayer(std::uint32_t layer);
    void LoadMetatilesOrCollision();
    void LoadPalette();
    void LoadTiles();

    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    // The position of shared script piece n.
    std::uint32_t PiecePosition(std::uint32_t piece) const;

    MapRenderer& map_;
    ProjectContext& project_;
    bool skipFlagGotos_;
    HeaderScriptStack callStack_;
    HeaderScriptStack deferredStack_;
};

#pragma once

#include <cstdint>

#include "scripts/ScriptReader.h"
#include "scripts/ScriptTree.h"

struct ScriptWalkOptions {
    // A walk the person started: shows the start offset and resets the nesting count.
    bool root = false;
    // The script starts with a five-byte flags header.
    bool header = false;
    // The accumulator is 8-bit at the start of every run of 65816 code.
    bool mFlag = false;
    // Writes the C-like translation to "script_%06X.log" in the working folder.
    bool writeLog = true;
};

// Walks the script at a game address or image offset: script commands (COP, a command byte
// and its operands) and runs of 65816 code, each run one item with its instructions below.
// The items go under `parent`. Every read stays inside the image; a walk ends at the image
// end, at a script's end or after a bounded number of items, and says which limit stopped it.
void DisassembleScript(ScriptReader& reader, ScriptTreeNode& parent, std::uint32_t address,
                       const ScriptWalkOptions& options);

// Walks in progress; a walk refuses to start when more than six are. A root walk resets it.
extern std::uint32_t ScriptNestingDepth;

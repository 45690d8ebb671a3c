#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "project/ByteAccess.h"
#include "scripts/ScriptFormat.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptTree.h"

// Addresses in the log carry bit 23, as the game's own addresses of the image do.
inline constexpr std::uint32_t kLogAddressBit = 0x800000;
// One walk lists at most this many items: far more than any script of the game has, and a
// tree that large is no longer a listing anyone reads. A walk into data that never ends (a
// zero-filled area reads as BRK after BRK) stops here.
inline constexpr std::size_t kMaxWalkItems = 0x8000;

// The state of one walk, shared by the walk, the 65816 decoder and the command catalogue.
struct ScriptWalk {
    ScriptReader& reader;
    std::span<const std::uint8_t> image;
    ScriptTreeNode& parent;
    std::string* log = nullptr;  // null: no log is written

    bool accumulatorIs8Bit = false;
    std::uint32_t pendingLabel = 0;  // 0: no forward branch target
    int previousOpcode = -1;         // none yet
    bool stop = false;
    std::uint32_t savedJumpOffset = 0;  // set by command 0x00 of this walk
    std::size_t items = 0;
    // Where item texts are put together, so that building one allocates nothing.
    std::string scratch{};

    std::uint32_t& position() { return reader.position; }
    std::uint8_t Byte(std::uint32_t offset) const { return GetU8(image, offset); }
    std::uint16_t Word(std::uint32_t offset) const { return GetU16(image, offset); }
    std::uint32_t Long(std::uint32_t offset) const { return GetU24(image, offset); }
    // Whether `length` bytes from `offset` lie inside the image.
    bool Fits(std::uint32_t offset, std::uint32_t length) const {
        return InRange(image.size(), offset, length);
    }

    ScriptTreeNode& Add(ScriptTreeNode& under, std::string text) {
        ++items;
        return under.Add(std::move(text));
    }
    // An item whose text was built elsewhere (in `scratch`): it gets a copy of just its length.
    ScriptTreeNode& AddCopy(ScriptTreeNode& under, std::string_view text) {
        ++items;
        return under.AddCopy(text);
    }
    // Ends the walk with an item that names the limit that stopped it.
    void StopAt(std::string_view warning) {
        Add(parent, std::string(warning));
        stop = true;
    }
};

inline constexpr std::string_view kEndOfImageWarning = "[Warning end of ROM image reached]";

// Appends the item of the instruction at the position under `run`, writes its log statement,
// advances past it and applies the stop rules. Returns the opcode.
std::uint8_t DecodeInstruction(ScriptWalk& walk, ScriptTreeNode& run);

// Appends the item(s) of the script command whose command byte is at the position and
// advances past its operands.
void HandleScriptCommand(ScriptWalk& walk);

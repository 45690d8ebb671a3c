#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// How a command's arguments become the bytes after its number.
enum class ScriptOperands : std::uint8_t {
    Fields,         // each argument cut to the width given for its place
    EventFlag,      // flag and mask as one event-flag word
    EventFlagJump,  // flag and mask as one event-flag word, then a label's address
    Text,           // the address of the first argument's text, stored after the code
    Nothing,        // no bytes at all, not even the command
    Trigger,        // the address of the label named by the first argument
    GiveItem,       // the item byte, then the release's word for the item message
    Asm,            // raw 65816 code: the low byte of every argument, without a command
};

inline constexpr int kAnyArguments = -1;

struct ScriptCommandRow {
    std::string_view name;
    std::uint8_t number;
    int argumentCount;  // kAnyArguments: not checked
    ScriptOperands operands;
    // For Fields and GiveItem: one letter per argument, 'b' for its low byte, 'w' for its low
    // 16 bits (little-endian).
    std::string_view widths;
};

// The commands that the script compiler knows, by name (case counts).
extern const std::array<ScriptCommandRow, 30> ScriptCommandTable;

// The row of a command name, or null for a name that is no command.
const ScriptCommandRow* FindScriptCommand(std::string_view name);

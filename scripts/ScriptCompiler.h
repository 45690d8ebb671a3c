#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scripts/ScriptCommandTable.h"

class ProjectContext;

// One argument of a script line: a quoted text, or a number as typed (with its sign). For a
// label line, the label's name.
struct ScriptArgument {
    std::optional<std::string> text;
    std::int64_t value = 0;
    std::string typed;  // the argument as it stands in the line, for messages
};

// The opcode of a label line.
inline constexpr std::uint32_t ScriptLabel = 0xDEAD;

// One line of a script: a command of ScriptCommandTable with its arguments, or a label.
struct ScriptCommand {
    std::uint32_t opcode = ScriptLabel;
    std::vector<ScriptArgument> args;
    std::uint32_t line = 0;                 // the line's number in the text, from 1
    const ScriptCommandRow* row = nullptr;  // null for a label
};

// The event-flag word of a flag and a bit mask: bits 3-14 the flag's low 12 bits, bits 0-2 the
// mask's place among the single-bit masks (0 for any other mask), bit 15 the flag's bit 15.
inline constexpr std::array<std::uint32_t, 8> EventFlagBitMasks = {0x01, 0x02, 0x04, 0x08,
                                                                   0x10, 0x20, 0x40, 0x80};
std::uint16_t EventFlagCode(std::uint32_t flag, std::uint32_t mask);

// The word of the release that GiveItem writes after the item: the address of the release's own
// item routine. Nothing for releases whose routine is not known.
std::optional<std::uint16_t> GiveItemWord(std::uint32_t regionIndex);

// The bytes that open a script compiled with a header.
inline constexpr std::array<std::uint8_t, 5> ScriptHeader = {0x00, 0x00, 0x51, 0x00, 0x00};

// A compiled script is at most this long: header, code, closing RTL and texts.
inline constexpr std::size_t kScriptMaxBytes = 1024;

// The lines of a script up to its end (a line of blanks and bytes of 0x80 and above, one that
// starts with such a byte, or a zero byte), or the message that refuses them. An end that would
// drop anything but blanks (bytes of 0x80 and above included) is refused.
struct ScriptReadResult {
    std::vector<ScriptCommand> commands;
    bool anyLine = false;  // false for a text without a single line (nothing to compile)
    std::string message;   // empty when the text was read
};
ScriptReadResult ReadScriptCommands(std::string_view text);

// Said when the script stands in the image but its copy in "script.bin" could not be written.
inline constexpr char kScriptDumpNotWritten[] =
    "The script was compiled into the image, but \"script.bin\" could not be written.";

struct ScriptCompileResult {
    bool compiled = false;
    // Why the script was refused, naming the line; for a compiled script, kScriptDumpNotWritten
    // or nothing.
    std::string message;
    std::vector<std::uint8_t> bytes;  // empty for a text without lines
};

// Compiles script text (8-bit, Print16 texts in UTF-8) for a script standing at the game
// address `address` in a release, into at most `room` bytes (kScriptMaxBytes at most).
// Writes nothing anywhere.
ScriptCompileResult AssembleScript(std::string_view text, std::uint32_t address, bool noRtl,
                                   bool header, std::uint32_t regionIndex,
                                   std::size_t room = kScriptMaxBytes);

// Compiles the text into the project's image at the address (through the address rule) and
// writes the bytes to "script.bin" in the working folder. A refused script changes neither.
// Numbers are whole decimal or "0x" hexadecimal runs; each must fit its field, where a minus
// counts down from the top of the field.
ScriptCompileResult CompileScript(ProjectContext& project, std::string_view text,
                                  std::uint32_t address, bool noRtl, bool header);

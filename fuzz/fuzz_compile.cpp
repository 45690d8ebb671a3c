// Compiling arbitrary script text into a fuzzed image.
//
// Input: flags (bit 0 header, bit 1 no RTL), the game address (u24), the text's length (u16),
// the text, then an image description. A refused script leaves the image as it was; an
// accepted one stands in the image and fits its bounds. Its code walks back as the commands of
// its lines, in order, with every jump inside the code and every text after it; and the
// disassembler, walking the image there, lists the same commands at the same places.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptCompiler.h"
#include "scripts/ScriptDisassembler.h"

namespace {

constexpr std::size_t kPrefix = 6;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The bytes after a command's number: its operand fields, or a word per address it holds.
std::size_t OperandLength(const ScriptCommandRow& row) {
    switch (row.operands) {
        case ScriptOperands::EventFlagJump:
            return 4;
        case ScriptOperands::EventFlag:
        case ScriptOperands::Text:
        case ScriptOperands::Trigger:
            return 2;
        case ScriptOperands::GiveItem:
            return 3;
        default:
            return static_cast<std::size_t>(
                std::count(row.widths.begin(), row.widths.end(), 'b') +
                2 * std::count(row.widths.begin(), row.widths.end(), 'w'));
    }
}

const ScriptCommandRow* RowOfNumber(std::uint8_t number) {
    for (const ScriptCommandRow& row : ScriptCommandTable) {
        if (row.number == number && row.operands != ScriptOperands::Asm) {
            return &row;
        }
    }
    return nullptr;
}

// The script commands that the disassembler lists at the top of a walk, as (offset, command
// byte) in order.
std::vector<std::pair<std::uint32_t, std::uint32_t>> ListedCommands(const ProjectContext& project,
                                                                    std::uint32_t address,
                                                                    bool header) {
    ScriptNestingDepth = 0;
    ScriptReader reader(project);
    ScriptTreeNode top;
    DisassembleScript(reader, top, address, {.header = header, .writeLog = false});
    std::vector<std::pair<std::uint32_t, std::uint32_t>> listed;
    for (const ScriptTreeNode& item : top.children) {
        unsigned offset = 0;
        unsigned command = 0;
        char close = 0;
        if (std::sscanf(item.text.c_str(), "[%6X][%2X%c", &offset, &command, &close) == 3 &&
            close == ']') {
            listed.emplace_back(offset, command);
        }
    }
    return listed;
}

// Walks the code of an accepted script, as far as its raw 65816 lines let it, against the
// command numbers of its lines; the places of the commands go to `places`.
void WalkBack(const std::vector<std::uint8_t>& bytes, std::string_view text, std::uint32_t address,
              bool header, bool noRtl,
              std::vector<std::pair<std::uint32_t, std::uint32_t>>& places) {
    std::vector<std::uint8_t> expected;
    bool raw = false;
    for (const ScriptCommand& command : ReadScriptCommands(text).commands) {
        if (command.row != nullptr && command.row->operands == ScriptOperands::Asm) {
            raw = true;
            break;
        }
        if (command.row != nullptr && command.row->operands != ScriptOperands::Nothing) {
            expected.push_back(command.row->number);
        }
    }
    std::size_t at = header ? 5 : 0;
    std::vector<std::pair<std::size_t, ScriptOperands>> words;  // addresses and their kind
    for (std::uint8_t number : expected) {
        Check(at + 1 < bytes.size() && bytes[at] == 0x02 && bytes[at + 1] == number);
        places.emplace_back(static_cast<std::uint32_t>(at), number);
        const ScriptCommandRow* row = RowOfNumber(number);
        Check(row != nullptr);
        if (row->operands == ScriptOperands::EventFlagJump) {
            words.emplace_back(at + 4, row->operands);
        } else if (row->operands == ScriptOperands::Text ||
                   row->operands == ScriptOperands::Trigger) {
            words.emplace_back(at + 2, row->operands);
        }
        at += 2 + OperandLength(*row);
        Check(at <= bytes.size());
    }
    if (raw) {
        return;
    }
    if (!noRtl) {
        Check(at < bytes.size() && bytes[at] == 0x6B);
        ++at;
    }
    for (const auto& [place, kind] : words) {
        const std::uint32_t offset = ((bytes[place] | bytes[place + 1] << 8) - address) & 0xFFFF;
        if (kind == ScriptOperands::Text) {
            Check(offset >= at && offset + 4 <= bytes.size());
        } else {
            Check(offset <= at);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size < kPrefix) {
        return 0;
    }
    const bool header = (data[0] & 1) != 0;
    const bool noRtl = (data[0] & 2) != 0;
    const std::uint32_t address =
        data[1] | data[2] << 8 | static_cast<std::uint32_t>(data[3]) << 16;
    const std::size_t length = data[4] | data[5] << 8;
    if (size < kPrefix + length) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + kPrefix), length);
    std::vector<std::uint8_t>* image =
        pool.Build({data + kPrefix + length, size - kPrefix - length});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    std::vector<std::uint8_t>& rom = project.romImage;  // the pool's buffer, for this run
    const std::size_t offset = std::min<std::size_t>(project.WrapRomOffset(address), rom.size());
    const std::size_t room = rom.size() - offset;
    const auto span = static_cast<std::ptrdiff_t>(std::min(room, kScriptMaxBytes + 1));
    const auto at = rom.begin() + static_cast<std::ptrdiff_t>(offset);
    const std::vector<std::uint8_t> before(at, at + span);

    const ScriptCompileResult result = CompileScript(project, text, address, noRtl, header);
    const std::vector<std::uint8_t> after(at, at + span);
    if (!result.compiled) {
        Check(!result.message.empty() && after == before);
    } else {
        Check(result.bytes.size() <= std::min(room, kScriptMaxBytes));
        Check(std::equal(result.bytes.begin(), result.bytes.end(), after.begin()));
        const auto written = static_cast<std::ptrdiff_t>(result.bytes.size());
        Check(std::equal(after.begin() + written, after.end(), before.begin() + written));
        std::vector<std::pair<std::uint32_t, std::uint32_t>> places;
        if (!result.bytes.empty()) {
            WalkBack(result.bytes, text, address, header, noRtl, places);
        }
        // The disassembler ends its walk at the closing RTL.
        if (!noRtl && !places.empty()) {
            const auto listed = ListedCommands(project, address, header);
            Check(listed.size() >= places.size());
            for (std::size_t i = 0; i < places.size(); ++i) {
                Check(listed[i].first == offset + places[i].first + 1 &&
                      listed[i].second == places[i].second);
            }
        }
    }
    // The pool zeroes only what its own patches wrote.
    std::copy(before.begin(), before.end(), at);
    return 0;
}

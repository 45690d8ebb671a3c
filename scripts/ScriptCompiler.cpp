#include "scripts/ScriptCompiler.h"

#include <algorithm>
#include <map>

#include "platform/Files.h"
#include "platform/Trace.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"

namespace {

constexpr std::uint8_t kCop = 0x02;
constexpr std::uint8_t kRtl = 0x6B;

struct TextLine {
    std::string_view text;
    std::uint32_t number = 0;
};

// The non-empty lines of the text with their numbers as an editor counts them (CR, LF and CR LF
// each end one line). The text ends at its first zero byte.
std::vector<TextLine> SplitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<TextLine> lines;
    std::uint32_t number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        if (i > start) {
            lines.push_back({text.substr(start, i - start), number});
        }
        const bool crBeforeLf = i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
        if (!crBeforeLf) {
            ++number;
        }
        start = i + 1;
    }
    return lines;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHigh(char c) {
    return static_cast<std::uint8_t>(c) >= 0x80;
}

// A refusal, naming the line in the text.
std::string LineError(std::uint32_t line, const std::string& what) {
    return "Error: Line " + std::to_string(line) + " " + what + "!\n";
}

// A number from its first digit on: hexadecimal after "0x" or "0X", decimal otherwise. Leaves
// `at` after the whole run of letters and digits.
std::uint32_t ReadNumber(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && (IsLetter(text[at]) || IsDigit(text[at]))) {
        ++at;
    }
    std::string_view run = text.substr(start, at - start);
    if (run.size() < 2 || (run[1] != 'x' && run[1] != 'X') || run[0] != '0') {
        run = run.substr(0, run.find_first_not_of("0123456789"));
    }
    return static_cast<std::uint32_t>(ParseNumberText(run));
}

// The arguments in the text between a command's name and its ")": numbers, quoted texts, and
// separators between them. A number right after a minus sign is negative.
std::vector<ScriptArgument> ReadArguments(std::string_view text) {
    std::vector<ScriptArgument> args;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && !IsLetter(text[at]) && !IsDigit(text[at]) && text[at] != '"') {
            ++at;
        }
        if (at >= text.size()) {
            break;
        }
        ScriptArgument& arg = args.emplace_back();
        if (text[at] == '"') {
            const std::size_t close = text.find('"', at + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            arg.text = std::string(text.substr(at + 1, end - at - 1));
            at = std::min(end + 1, text.size());
        } else if (IsDigit(text[at])) {
            const bool negative = at > 0 && text[at - 1] == '-';
            const std::uint32_t value = ReadNumber(text, at);
            arg.value = negative ? 0u - value : value;
        } else {
            Trace("we got some fail here!\n");
            break;
        }
    }
    return args;
}

}  // namespace

std::uint16_t EventFlagCode(std::uint32_t flag, std::uint32_t mask) {
    const auto found = std::find(EventFlagBitMasks.begin(), EventFlagBitMasks.end(), mask);
    const std::uint32_t bit = found == EventFlagBitMasks.end()
                                  ? 0
                                  : static_cast<std::uint32_t>(found - EventFlagBitMasks.begin());
    return static_cast<std::uint16_t>((flag & 0x8000) | (flag & 0xFFF) << 3 | bit);
}

ScriptReadResult ReadScriptCommands(std::string_view text) {
    ScriptReadResult result;
    std::map<std::string, std::uint32_t, std::less<>> labelLines;
    for (const TextLine& line : SplitLines(text)) {
        result.anyLine = true;
        // A line of blanks, or one that starts with a high byte, ends the script.
        if (IsHigh(line.text.front())) {
            break;
        }
        std::size_t at = 0;
        while (at < line.text.size() &&
               (line.text[at] == ' ' || line.text[at] == '\t' || IsHigh(line.text[at]))) {
            ++at;
        }
        if (at == line.text.size()) {
            break;
        }
        const std::string_view rest = line.text.substr(at);
        // The name runs up to "(" or ":", without trailing blanks.
        const std::size_t nameStart = rest.find_first_not_of("(:");
        const std::size_t nameEnd = std::min(rest.find_first_of("(:", nameStart), rest.size());
        std::string_view name =
            nameStart == std::string_view::npos ? "" : rest.substr(nameStart, nameEnd - nameStart);
        name = name.substr(0, name.find_last_not_of(" \t") + 1);
        if (name.empty()) {
            result.commands.clear();
            result.message = LineError(line.number, "Could not parse function name");
            return result;
        }

        ScriptCommand& command = result.commands.emplace_back();
        command.line = line.number;
        command.row = FindScriptCommand(name);
        if (command.row == nullptr) {
            const auto [first, added] = labelLines.emplace(std::string(name), line.number);
            if (!added) {
                result.commands.clear();
                result.message = LineError(line.number, "Label " + first->first +
                                                            " is already defined on line " +
                                                            std::to_string(first->second));
                return result;
            }
            command.args.push_back({std::string(name), 0});
            continue;
        }
        command.opcode = command.row->number;
        std::string_view argumentText =
            nameEnd < rest.size() ? rest.substr(nameEnd + 1) : std::string_view();
        argumentText.remove_prefix(
            std::min(argumentText.find_first_not_of(')'), argumentText.size()));
        command.args = ReadArguments(argumentText.substr(0, argumentText.find(')')));
    }
    return result;
}

namespace {

// The output of one compile, each byte with the line it came from, and the places that wait
// for an address.
class ScriptOutput {
public:
    void Put(std::uint32_t value, std::uint32_t line) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        lines.push_back(line);
    }
    void PutWord(std::uint32_t value, std::uint32_t line) {
        Put(value, line);
        Put(value >> 8, line);
    }
    void PutField(char width, std::uint32_t value, std::uint32_t line) {
        if (width == 'w') {
            PutWord(value, line);
        } else {
            Put(value, line);
        }
    }
    // A word that the address of a label or text fills in later; returns its offset.
    std::size_t PutPlaceholder(std::uint32_t line) {
        PutWord(0, line);
        return bytes.size() - 2;
    }
    void Patch(std::size_t at, std::uint32_t value) {
        bytes[at] = static_cast<std::uint8_t>(value);
        bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> lines;
};

}  // namespace

std::optional<std::uint16_t> GiveItemWord(std::uint32_t regionIndex) {
    switch (regionIndex) {
        case 0:
        case 5:
            return 0xD5C1;
        case 1:
            return 0xDE58;
        default:
            return std::nullopt;
    }
}

ScriptCompileResult AssembleScript(std::string_view text, std::uint32_t address, bool noRtl,
                                   bool header, std::uint32_t regionIndex, std::size_t room) {
    ScriptCompileResult result;
    ScriptReadResult read = ReadScriptCommands(text);
    if (!read.message.empty()) {
        result.message = std::move(read.message);
        return result;
    }
    if (!read.anyLine) {
        result.compiled = true;
        return result;
    }
    const std::vector<ScriptCommand>& commands = read.commands;
    std::map<std::string, std::size_t, std::less<>> labels;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].opcode == ScriptLabel) {
            labels.emplace(*commands[i].args.front().text, i);
        }
    }
    const std::uint32_t firstLine = commands.empty() ? 1 : commands.front().line;
    const std::uint32_t lastLine = commands.empty() ? 1 : commands.back().line;

    ScriptOutput out;
    std::vector<std::size_t> labelOffsets(commands.size(), 0);
    // Placeholders: where each jump's word stands and the record of its label; where each
    // text's word stands, with the text and its line.
    std::vector<std::pair<std::size_t, std::size_t>> jumps;
    struct Text {
        std::size_t at;
        std::vector<std::uint8_t> bytes;
        std::uint32_t line;
    };
    std::vector<Text> texts;
    const std::optional<std::uint16_t> itemWord = GiveItemWord(regionIndex);
    if (header) {
        for (std::uint8_t byte : ScriptHeader) {
            out.Put(byte, firstLine);
        }
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const ScriptCommand& command = commands[i];
        const std::uint32_t line = command.line;
        if (command.opcode == ScriptLabel) {
            labelOffsets[i] = out.bytes.size();
            continue;
        }
        const ScriptCommandRow& row = *command.row;
        const std::string name(row.name);
        const std::vector<ScriptArgument>& args = command.args;
        if (row.argumentCount != kAnyArguments &&
            args.size() != static_cast<std::size_t>(row.argumentCount)) {
            result.message =
                LineError(line, name + " takes " + std::to_string(row.argumentCount) +
                                    (row.argumentCount == 1 ? " argument" : " arguments") +
                                    ", not " + std::to_string(args.size()));
            return result;
        }
        if (row.operands == ScriptOperands::Nothing) {
            continue;
        }
        if (row.operands == ScriptOperands::Asm) {
            for (const ScriptArgument& arg : args) {
                out.Put(arg.value, line);
            }
            continue;
        }
        if (row.operands == ScriptOperands::GiveItem && !itemWord) {
            result.message = LineError(line, name + " cannot be compiled for this release");
            return result;
        }
        out.Put(kCop, line);
        out.Put(row.number, line);
        for (std::size_t a = 0; a < row.widths.size(); ++a) {
            out.PutField(row.widths[a], args[a].value, line);
        }
        const ScriptArgument* first = args.empty() ? nullptr : &args.front();
        switch (row.operands) {
            case ScriptOperands::GiveItem:
                out.PutWord(*itemWord, line);
                break;
            case ScriptOperands::EventFlag:
            case ScriptOperands::EventFlagJump:
                out.PutWord(EventFlagCode(args[0].value, args[1].value), line);
                break;
            case ScriptOperands::Text: {
                if (first == nullptr || !first->text) {
                    result.message = LineError(line, name + " needs a text in double quotes");
                    return result;
                }
                std::string unencodable;
                std::vector<std::uint8_t> bytes =
                    EncodeGameText(*first->text, regionIndex, &unencodable);
                if (!unencodable.empty()) {
                    result.message =
                        LineError(line, "The text holds characters the game cannot show (" +
                                            unencodable + ")");
                    return result;
                }
                texts.push_back({out.PutPlaceholder(line), std::move(bytes), line});
                break;
            }
            default:
                break;
        }
        // A jump names its label in the last argument, a trigger in the first.
        if (row.operands == ScriptOperands::EventFlagJump ||
            row.operands == ScriptOperands::Trigger) {
            const ScriptArgument* label =
                row.operands == ScriptOperands::Trigger ? first : &args[2];
            if (label == nullptr || !label->text) {
                result.message = LineError(line, name + " needs a label name in double quotes");
                return result;
            }
            const auto found = labels.find(*label->text);
            if (found == labels.end()) {
                result.message = LineError(line, "Label " + *label->text + " is not defined");
                return result;
            }
            jumps.emplace_back(out.PutPlaceholder(line), found->second);
        }
    }
    if (!noRtl) {
        out.Put(kRtl, lastLine);
    }
    // Texts follow the code in line order; addresses are 16-bit, within the script's bank.
    for (const Text& text : texts) {
        out.Patch(text.at, address + static_cast<std::uint32_t>(out.bytes.size()));
        for (std::uint8_t byte : text.bytes) {
            out.Put(byte, text.line);
        }
    }
    for (const auto& [at, label] : jumps) {
        out.Patch(at, address + static_cast<std::uint32_t>(labelOffsets[label]));
    }

    const std::size_t limit = std::min(room, kScriptMaxBytes);
    if (out.bytes.size() > limit) {
        result.message =
            LineError(out.lines[limit], room < kScriptMaxBytes
                                            ? "The script runs past the end of the image"
                                            : "The script is longer than " +
                                                  std::to_string(kScriptMaxBytes) + " bytes");
        return result;
    }
    result.compiled = true;
    result.bytes = std::move(out.bytes);
    return result;
}

ScriptCompileResult CompileScript(ProjectContext& project, std::string_view text,
                                  std::uint32_t address, bool noRtl, bool header) {
    const std::uint32_t offset = project.WrapRomOffset(address);
    const std::size_t room =
        offset < project.romImage.size() ? project.romImage.size() - offset : 0;
    ScriptCompileResult result =
        AssembleScript(text, address, noRtl, header, project.regionIndex, room);
    if (!result.compiled || result.bytes.empty()) {
        return result;
    }
    project.WriteBytes(offset, result.bytes);
    if (!WriteWholeFile("script.bin", result.bytes)) {
        Trace("CompileScript: could not write script.bin\n");
    }
    return result;
}

#include "scripts/ScriptCompiler.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/Files.h"
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
// each end one line).
std::vector<TextLine> SplitLines(std::string_view text) {
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

bool IsHigh(char c) {
    return static_cast<std::uint8_t>(c) >= 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether an end of the script would drop nothing but blanks. Zero bytes count as blanks, so
// that a zero-padded text is whole; bytes of 0x80 and above are text (a line of Japanese, an
// arrow) that a person would miss.
bool IsBlankLine(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsBlank(c) || c == '\0'; });
}

// A line that yields no name, since bytes of 0x80 and above are skipped like blanks before it.
bool HoldsNoName(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsBlank(c) || IsHigh(c); });
}

// What ends the script before the end of the text.
constexpr char kBlankLineEnds[] = "A line of blanks";
constexpr char kNoNameLineEnds[] = "A line of only blanks and characters above 0x7F";
constexpr char kHighLineEnds[] = "A line that starts with a character above 0x7F";
constexpr char kZeroByteEnds[] = "A zero byte";

// A refusal, naming the line in the text.
std::string LineError(std::uint32_t line, const std::string& what) {
    return "Error: Line " + std::to_string(line) + " " + what + "!\n";
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Whether the text is written as a whole number (a sign, then "0x" and hexadecimal digits or
// decimal digits), so that one the reader refuses is refused for its size.
bool IsNumberShape(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) {
        text.remove_prefix(2);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), [hex](char c) {
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '9';
    });
}

// The arguments after a command's "(" or ":": numbers and quoted texts separated by commas or
// blanks, up to an optional ")" after which only blanks may follow. A text may hold commas and ")".
// On a refusal `error` says why, without the line.
std::vector<ScriptArgument> ReadArguments(std::string_view text, std::string& error) {
    std::vector<ScriptArgument> args;
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
    };
    skipBlanks();
    bool closed = at < text.size() && text[at] == ')';
    if (closed) {
        ++at;
    }
    while (!closed && at < text.size()) {
        const std::string number = std::to_string(args.size() + 1);
        ScriptArgument& arg = args.emplace_back();
        if (text[at] == '"') {
            const std::size_t close = text.find('"', at + 1);
            if (close == std::string_view::npos) {
                error = "The text of argument " + number + " has no closing double quote";
                return {};
            }
            arg.text = std::string(text.substr(at + 1, close - at - 1));
            arg.typed = std::string(text.substr(at, close + 1 - at));
            at = close + 1;
        } else {
            const std::size_t end = std::min(text.find_first_of(", \t)", at), text.size());
            const std::string_view typed = text.substr(at, end - at);
            if (typed.empty()) {
                error = "Argument " + number + " is missing";
                return {};
            }
            const std::optional<std::int64_t> value = ReadNumberText(typed);
            if (!value) {
                error = "Argument " + number + ", " + std::string(typed) +
                        (IsNumberShape(typed)
                             ? ", is too large a number"
                             : ", is neither a number nor a text in double quotes; arguments are "
                               "separated by commas or blanks");
                return {};
            }
            arg.value = *value;
            arg.typed = std::string(typed);
            at = end;
        }
        const std::size_t argumentEnd = at;
        skipBlanks();
        if (at < text.size() && text[at] == ',') {
            ++at;
            skipBlanks();
            if (at == text.size() || text[at] == ')') {
                error = "Argument " + std::to_string(args.size() + 1) + " is missing";
                return {};
            }
        } else if (at < text.size() && text[at] == ')') {
            ++at;
            closed = true;
        } else if (at == argumentEnd && at < text.size()) {
            error = "Argument " + number + " is followed by " + std::string(text.substr(at)) +
                    " instead of a comma, a blank or \")\"";
            return {};
        }
    }
    skipBlanks();
    if (at < text.size()) {
        error = "Nothing may follow the closing parenthesis, but " + std::string(text.substr(at)) +
                " does";
        return {};
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
    const auto refuse = [&result](std::uint32_t line, const std::string& what) {
        result.commands.clear();
        result.message = LineError(line, what);
        return result;
    };
    std::map<std::string, std::uint32_t, std::less<>> labelLines;
    const std::vector<TextLine> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        // A zero byte ends the text; what stands before it on its line is still read.
        const std::size_t zero = line.text.find('\0');
        const std::string_view own = line.text.substr(0, zero);
        result.anyLine = result.anyLine || !own.empty();
        const char* const ends = own.empty()           ? kZeroByteEnds
                                 : IsHigh(own.front()) ? kHighLineEnds
                                 : IsBlankLine(own)    ? kBlankLineEnds
                                 : HoldsNoName(own)    ? kNoNameLineEnds
                                 : zero != own.npos    ? kZeroByteEnds
                                                       : nullptr;
        if (ends != nullptr) {
            // Whatever the end drops must be blank: a script is never cut without a word.
            const std::string_view dropped =
                ends == kZeroByteEnds ? line.text.substr(own.size()) : line.text;
            std::string lost;
            if (const auto later =
                    std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end(),
                                 [](const TextLine& l) { return !IsBlankLine(l.text); });
                later != lines.end()) {
                lost = "line " + std::to_string(later->number);
            } else if (!IsBlankLine(dropped)) {
                lost = (ends == kZeroByteEnds ? "the rest of line " : "line ") +
                       std::to_string(line.number);
            }
            if (!lost.empty()) {
                return refuse(line.number, std::string(ends) + " ends the script, so " + lost +
                                               " would not be compiled");
            }
            if (ends != kZeroByteEnds || own.empty()) {
                break;
            }
        }
        std::size_t at = 0;
        while (IsBlank(own[at]) || IsHigh(own[at])) {
            ++at;  // stops on the first other character, which the line holds
        }
        const std::string_view rest = own.substr(at);
        // The name runs up to "(" or ":", without trailing blanks.
        const std::size_t nameStart = rest.find_first_not_of("(:");
        const std::size_t nameEnd = std::min(rest.find_first_of("(:", nameStart), rest.size());
        std::string_view name =
            nameStart == std::string_view::npos ? "" : rest.substr(nameStart, nameEnd - nameStart);
        name = name.substr(0, name.find_last_not_of(" \t") + 1);
        if (name.empty()) {
            return refuse(line.number, "Could not parse function name");
        }
        const std::string_view after =
            nameEnd < rest.size() ? rest.substr(nameEnd + 1) : std::string_view();

        ScriptCommand& command = result.commands.emplace_back();
        command.line = line.number;
        command.row = FindScriptCommand(name);
        if (command.row == nullptr) {
            // A name that is no command is a label only as "name:" alone, so that a misspelt
            // command is never taken for one.
            if (nameEnd == rest.size() || rest[nameEnd] != ':' || !Trimmed(after).empty()) {
                // "Delay 30": a command whose arguments were not put in parentheses.
                const std::string_view word = name.substr(0, name.find_first_of(" \t"));
                if (word.size() < name.size() && FindScriptCommand(word) != nullptr) {
                    const std::string command(word);
                    return refuse(line.number,
                                  std::string(name) + " is no command; the arguments of " +
                                      command + " go in parentheses: " + command + "(" +
                                      std::string(Trimmed(name.substr(word.size()))) + ")");
                }
                return refuse(line.number, std::string(name) +
                                               " is no command, and a label is a name followed "
                                               "by a colon alone");
            }
            const auto [first, added] = labelLines.emplace(std::string(name), line.number);
            if (!added) {
                return refuse(line.number, "Label " + first->first +
                                               " is already defined on line " +
                                               std::to_string(first->second));
            }
            command.args.push_back({std::string(name), 0, {}});
        } else {
            command.opcode = command.row->number;
            std::string error;
            command.args = ReadArguments(after, error);
            if (!error.empty()) {
                return refuse(line.number, error);
            }
        }
        if (ends != nullptr) {
            break;
        }
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

namespace {

// Why an argument cannot be stored in a field of `bits` bits, or nothing when it can. A minus
// counts down from the top of the field (-1 is all ones).
std::string FieldError(const ScriptArgument& arg, std::size_t index, std::string_view command,
                       int bits) {
    const std::string what =
        "Argument " + std::to_string(index + 1) + " of " + std::string(command);
    if (arg.text) {
        return what + " must be a number, not a text";
    }
    const std::int64_t lowest = -(std::int64_t{1} << (bits - 1));
    const std::int64_t highest = (std::int64_t{1} << bits) - 1;
    if (arg.value < lowest || arg.value > highest) {
        return what + ", " + arg.typed + ", does not fit in " + std::to_string(bits) + " bits (" +
               std::to_string(lowest) + " to " + std::to_string(highest) + ")";
    }
    return {};
}

// Why the numbers of a command cannot be stored as its row lays them out, or nothing.
std::string NumbersError(const ScriptCommandRow& row, const std::vector<ScriptArgument>& args) {
    switch (row.operands) {
        case ScriptOperands::Fields:
        case ScriptOperands::GiveItem:
            for (std::size_t a = 0; a < row.widths.size(); ++a) {
                if (std::string error =
                        FieldError(args[a], a, row.name, row.widths[a] == 'w' ? 16 : 8);
                    !error.empty()) {
                    return error;
                }
            }
            return {};
        case ScriptOperands::Asm:
            for (std::size_t a = 0; a < args.size(); ++a) {
                if (std::string error = FieldError(args[a], a, row.name, 8); !error.empty()) {
                    return error;
                }
            }
            return {};
        case ScriptOperands::EventFlag:
        case ScriptOperands::EventFlagJump: {
            // The event-flag word keeps the flag's low 12 bits and bit 15, and the mask's place
            // among the single bits; anything else would be dropped.
            if (std::string error = FieldError(args[0], 0, row.name, 16); !error.empty()) {
                return error;
            }
            if ((args[0].value & 0x7000) != 0) {
                return "Argument 1 of " + std::string(row.name) + ", " + args[0].typed +
                       ", is no event flag (0 to 0xFFF, or 0x8000 to 0x8FFF)";
            }
            if (std::string error = FieldError(args[1], 1, row.name, 8); !error.empty()) {
                return error;
            }
            // The mask is compared whole: a minus would otherwise pass for bit 7.
            if (std::find(EventFlagBitMasks.begin(), EventFlagBitMasks.end(), args[1].value) ==
                EventFlagBitMasks.end()) {
                return "Argument 2 of " + std::string(row.name) + ", " + args[1].typed +
                       ", is no single-bit mask (1, 2, 4, 8, 0x10, 0x20, 0x40 or 0x80)";
            }
            return {};
        }
        default:
            return {};
    }
}

// True when `length` bytes from `offset` of the output lie in the 64 KB bank of the script's
// address, which 16-bit addresses reach.
bool InScriptBank(std::uint32_t address, std::size_t offset, std::size_t length) {
    return (address & 0xFFFF) + offset + length <= 0x10000;
}

}  // namespace

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
    struct Jump {
        std::size_t at;
        std::size_t label;
        std::uint32_t line;
    };
    std::vector<Jump> jumps;
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
        if (std::string error = NumbersError(row, args); !error.empty()) {
            result.message = LineError(line, error);
            return result;
        }
        if (row.operands == ScriptOperands::Nothing) {
            continue;
        }
        if (row.operands == ScriptOperands::Asm) {
            for (const ScriptArgument& arg : args) {
                out.Put(static_cast<std::uint32_t>(arg.value), line);
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
            out.PutField(row.widths[a], static_cast<std::uint32_t>(args[a].value), line);
        }
        const ScriptArgument* first = args.empty() ? nullptr : &args.front();
        switch (row.operands) {
            case ScriptOperands::GiveItem:
                out.PutWord(*itemWord, line);
                break;
            case ScriptOperands::EventFlag:
            case ScriptOperands::EventFlagJump:
                out.PutWord(EventFlagCode(static_cast<std::uint32_t>(args[0].value & 0xFFFF),
                                          static_cast<std::uint32_t>(args[1].value & 0xFF)),
                            line);
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
            jumps.push_back({out.PutPlaceholder(line), found->second, line});
        }
    }
    if (!noRtl) {
        out.Put(kRtl, lastLine);
    }
    // Texts follow the code in line order; addresses are 16-bit, within the script's bank.
    for (const Text& text : texts) {
        if (!InScriptBank(address, out.bytes.size(), text.bytes.size())) {
            result.message = LineError(text.line, "The text lies outside the script's 64 KB bank");
            return result;
        }
        out.Patch(text.at, address + static_cast<std::uint32_t>(out.bytes.size()));
        for (std::uint8_t byte : text.bytes) {
            out.Put(byte, text.line);
        }
    }
    for (const Jump& jump : jumps) {
        // A label at the very end of the output still names a byte, the one after it.
        if (!InScriptBank(address, labelOffsets[jump.label], 1)) {
            result.message =
                LineError(jump.line, "Label " + *commands[jump.label].args.front().text +
                                         " lies outside the script's 64 KB bank");
            return result;
        }
        out.Patch(jump.at, address + static_cast<std::uint32_t>(labelOffsets[jump.label]));
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
        result.message = kScriptDumpNotWritten;
    }
    return result;
}

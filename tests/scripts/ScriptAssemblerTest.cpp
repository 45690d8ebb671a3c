// The disassembler against a real 65816 assembler: programs are assembled and linked with ca65
// and ld65 at test time, and the walk must find the instructions the assembler's listing shows.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/scripts/ScriptWalkFixture.h"

namespace {

// Programs are linked for bank 0x0A at 0x8000 and put at that image offset.
constexpr std::uint32_t kLoadBank = 0x0A0000;
constexpr std::uint32_t kLoadAddress = 0x8000;

struct ListedLine {
    std::uint32_t address;  // as linked
    std::uint32_t length;
    std::string source;
};

struct Assembled {
    std::vector<std::uint8_t> binary;
    std::vector<ListedLine> lines;  // the lines that produced bytes
};

Assembled Assemble(const std::string& name, const std::string& source) {
    const std::filesystem::path dir = std::filesystem::current_path() / ("ca65_" + name);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "prog.s") << ".p816\n.segment \"CODE\"\n" << source;
    std::ofstream(dir / "prog.cfg")
        << "MEMORY { ROM: start = $8000, size = $8000, file = %O, fill = no; }\n"
           "SEGMENTS { CODE: load = ROM, type = ro; }\n";
    const std::string d = dir.string();
    const std::string command = "ca65 -l " + d + "/prog.lst -o " + d + "/prog.o " + d +
                                "/prog.s && ld65 -C " + d + "/prog.cfg -o " + d + "/prog.bin " + d +
                                "/prog.o";
    EXPECT_EQ(std::system(command.c_str()), 0) << "ca65/ld65 failed (build-scripts/install-deps)";

    Assembled result;
    const std::string binary = FileText(dir / "prog.bin");
    result.binary.assign(binary.begin(), binary.end());
    // "000004r 1  A9 34 12       lda #$1234": offset in the segment, bytes, source.
    const std::regex line(R"(^([0-9A-F]{6})r\s+\d+\s+((?:[0-9A-Fr]{2} )+)\s*(.*)$)");
    std::istringstream listing(FileText(dir / "prog.lst"));
    for (std::string text; std::getline(listing, text);) {
        std::smatch m;
        if (std::regex_match(text, m, line)) {
            result.lines.push_back(
                {kLoadAddress + static_cast<std::uint32_t>(std::stoul(m[1].str(), nullptr, 16)),
                 static_cast<std::uint32_t>(m[2].length() / 3), m[3].str()});
        }
    }
    return result;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// Every instruction form the walk decodes, with the accumulator 8-bit, in the assembler's
// syntax: a mnemonic with its operands separated by "|". The
// assembler chooses the opcodes. Operand bytes differ from one another so that a byte read
// from the wrong place shows.
// clang-format off
const char* const kDecodedForms[] = {
    "ora $12,s|$12|#$5A|$3456|$789ABC|$12,x|$3456,y|$3456,x|$789ABC,x",
    "and $12,s|$12|#$5A|$3456|$789ABC|$3456,y|$3456,x",
    "eor $12,s|$12|#$5A|$3456|$3456,x",
    "adc $12,s|$12|#$5A|$3456|$789ABC|[$12],y|$3456,y|$3456,x|$789ABC,x",
    "sta $12,s|$12|[$12]|$3456|$789ABC|($12),y|($12)|($12,s),y|$12,x|[$12],y|$3456,y|$3456,x|$789ABC,x",
    "lda $12,s|$12|[$12]|#$5A|$3456|$789ABC|($12),y|($12)|[$12],y|$3456,y|$3456,x|$789ABC,x",
    "cmp $12,s|$12|[$12]|#$5A|$3456|$789ABC|$3456,y|$3456,x|$789ABC,x",
    "sbc $12,s|$12|[$12]|#$5A|$3456|$789ABC|($12),y|$3456,y|$3456,x|$789ABC,x",
    "tsb $12|$3456",
    "trb $12|$3456",
    "asl $12|a|$3456",
    "rol $12|a|$3456",
    "lsr $12|a|$3456",
    "ror $12|a|$3456|$3456,x",
    "bit $12|$3456|#$5A",
    "stz $12|$12,x|$3456|$3456,x",
    "sty $12|$3456|$12,x",
    "stx $12|$3456",
    "ldy #$3456|$12|$3456|$3456,x",
    "ldx #$3456|$12|$3456|$3456,y",
    "cpy #$3456|$12|$3456",
    "cpx #$3456|$12|$3456",
    "dec $12|$3456|$3456,x|a",
    "inc $12|$3456|$3456,x|a",
    "mvn #$12,#$34",
    "pei ($12)",
    "pea $3456",
    "jsr $3456",
    "jsl $789ABC",
    "php", "phd", "clc", "tcs", "plp", "pld", "sec", "tsc", "pha", "phk", "phy", "tcd", "pla",
    "tdc", "sei", "ply", "dey", "txa", "phb", "tya", "txs", "txy", "tay", "tax", "plb", "tsx",
    "tyx", "iny", "dex", "wai", "cld", "phx", "stp", "inx", "nop", "xba", "sed", "plx", "xce",
};
// clang-format on

// Forms the walk steps over by their length without decoding them.
const char* const kSkippedForms[] = {
    "asl $12,x|$3456,x", "and ($12),y|($12)|($12,s),y|$12,x|[$12],y|$789ABC,x",
    "sbc ($12,x)",       "mvp #$12,#$34",
    "per $9000",         "eor $789ABC",
};

// One source line per form: the first piece as it is, the others after its mnemonic.
std::vector<std::string> SourceLines(std::span<const char* const> forms) {
    std::vector<std::string> lines;
    for (std::string_view rest : forms) {
        const std::string mnemonic(rest.substr(0, rest.find(' ') + 1));
        for (bool first = true; !rest.empty(); first = false) {
            const std::size_t bar = std::min(rest.find('|'), rest.size());
            lines.push_back((first ? "" : mnemonic) + std::string(rest.substr(0, bar)));
            rest.remove_prefix(std::min(bar + 1, rest.size()));
        }
    }
    return lines;
}

std::string Program(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "    " + line + "\n";
    }
    return text;
}

const char* const kWideImmediates[] = {"ora #$1234", "and #$1234", "eor #$1234", "adc #$1234",
                                       "bit #$1234", "lda #$1234", "cmp #$1234", "sbc #$1234"};

// Branches back (every later branch, return and jump keeps the walk going because a forward
// target is pending), two script commands, then a run that ends with an indexed jump.
const char* const kFlowPart = R"(
near:
    bpl near
    bmi near
    bvs near
    bcc near
    bcs near
    bne near
    beq near
    bra ahead
ahead:
    bne done
    bra near
    rts
    rtl
    rti
    jmp $3456
    jml $789ABC
    brk
    .byte $EA, $EA
    cop $07
    .byte $09, $80
    cop $21
    .byte $00, $00
done:
    lda #$5A
    jmp ($3456,x)
    .byte $EA
)";

}  // namespace

TEST(ScriptAssembler, EveryDecodedFormMatchesTheAssemblersListing) {
    const std::vector<std::string> skipped = SourceLines(kSkippedForms);
    const Assembled program =
        Assemble("forms", ".a8\n.i16\n" + Program(SourceLines(kDecodedForms)) + Program(skipped) +
                              "    rep #$20\n.a16\n" + Program(SourceLines(kWideImmediates)) +
                              "    sep #$20\n.a8\n" + kFlowPart);
    ASSERT_GT(program.lines.size(), 200u);
    ScriptWalkFixture fixture;
    fixture.Put(kLoadBank | kLoadAddress, program.binary);
    std::uint32_t end = 0;
    const std::vector<std::string> items =
        FlatItems(fixture.Walk(kLoadBank | kLoadAddress, {.mFlag = true, .writeLog = false}, &end));

    std::size_t k = 0;
    for (const ListedLine& line : program.lines) {
        const std::uint32_t offset = kLoadBank | line.address;
        if (line.source.starts_with(".byte")) {
            continue;  // operands of the BRK or COP before
        }
        ASSERT_LT(k, items.size()) << line.source;
        const std::string& item = items[k++];
        SCOPED_TRACE(line.source + "  ->  " + item);
        const std::string mnemonic = Upper(line.source.substr(0, 3));
        if (mnemonic == "COP") {
            // The command byte follows the COP opcode.
            EXPECT_TRUE(item.starts_with("[" + Hex(offset + 1, 6) + "][" +
                                         Hex(program.binary[line.address - kLoadAddress + 1], 2) +
                                         "] "));
            continue;
        }
        if (mnemonic == "BRK") {
            // The walk takes BRK as three bytes; the assembler writes one.
            EXPECT_EQ(item, "//BRK");
            continue;
        }
        if (std::find(skipped.begin(), skipped.end(), line.source) != skipped.end()) {
            EXPECT_EQ(item, "[NYI]");
            continue;
        }
        EXPECT_EQ(item.substr(0, 3), mnemonic == "JML" ? "JMP" : mnemonic);
        std::uint32_t operand = 0;
        for (std::uint32_t i = line.length - 1; i > 0; --i) {
            operand = operand << 8 | program.binary[line.address - kLoadAddress + i];
        }
        if (line.length == 1 || mnemonic == "REP" || mnemonic == "SEP") {
            continue;
        }
        if (mnemonic[0] == 'B' && mnemonic != "BIT") {
            // Shown as the image offset of the target.
            const std::uint32_t target =
                kLoadBank | ((line.address + 2 + static_cast<std::int8_t>(operand)) & 0xFFFF);
            EXPECT_NE(item.find("$" + Hex(target, 4)), std::string::npos);
        } else if (mnemonic == "MVN") {
            // The operand bytes in image order.
            EXPECT_EQ(item, "MVN #$" + Hex(operand & 0xFF, 2) + ", #$" + Hex(operand >> 8, 2));
        } else {
            EXPECT_TRUE(item.find(Hex(operand, 2 * (line.length - 1))) != std::string::npos ||
                        item.find(std::to_string(operand)) != std::string::npos);
            // A long operand's bank and address in brackets, where the item has them.
            if (line.length == 4 && item.ends_with("]") && item.find('?') == std::string::npos) {
                EXPECT_TRUE(item.ends_with("[" + Hex(operand >> 16, 2) + ":" +
                                           Hex(operand & 0xFFFF, 4) + "]"));
            }
        }
    }
    EXPECT_EQ(k, items.size());
    // The walk ended on the indexed jump, before the byte behind it.
    EXPECT_EQ(end, kLoadBank | program.lines.back().address);
}

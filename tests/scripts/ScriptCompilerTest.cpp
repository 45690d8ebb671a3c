#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "scripts/ScriptCompiler.h"
#include "tests/scripts/TextScene.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_literals;

// Each line of a script with the same bytes written for ca65; "@text" stands for the address
// of the next text, which the source places after the code. Labels go forward and backward.
const struct {
    const char* script;
    const char* ca65;
} kLines[] = {
    {"back:", "back:"},
    {"ModifyEventFlag(0x8012, 4)", ".byte $02,$07,$92,$80"},
    {"EventFlagSetJump(0x12, 0x80, \"ahead\")", ".byte $02,$08\n.word $0097,.loword(ahead)"},
    {"SpriteSetPosition(1, 2, 0xFF)", ".byte $02,$13,1,2,$FF"},
    {"PlayerPort(0x1234,2,3,65535)", ".byte $02,$14\n.word $1234,2,3,$FFFF"},
    {"SetBonepinWarp(0x102, -128, 5, 6)", ".byte $02,$16\n.word $102\n.byte $80\n.word 5,6"},
    {"SetRespawnLocation(1,2,3,4,5,6,7,8)",
     ".byte $02,$19\n.word 1\n.byte 2\n.word 3,4,5\n"
     ".byte 6\n.word 7,8"},
    {"Print16(\"Hi!\")", ".byte $02,$1B\n.word @text"},
    {"Print24(1, 2)", ""},
    {"WaitMessage", ".byte $02,$1F"},
    {"OnTrigger(\"back\")", ".byte $02,$21\n.word .loword(back)"},
    {"Unknown_23(\"ahead\", 5)", ".byte $02,$23\n.word .loword(ahead)"},
    {"  SetObjectSolid()", ".byte $02,$3B"},
    {"BlockSetCollision(1,2,3)", ".byte $02,$3F,1,2,3"},
    {"PlayMusic (0x1f)", ".byte $02,$30,$1F"},
    {"GotoPositionX(-1, 2, 3)", ".byte $02,$39,$FF,2,3"},
    {"EventFlagSetSkip(0xFFF, 0x80)", ".byte $02,$48\n.word $7FFF"},
    {"GiveItem(0x42)", ".byte $02,$54,$42\n.word $DE58"},
    {"DelItem(7)", ".byte $02,$55,7"},
    {"GiveItemPlayMusic(10, 0x200, 5)", ".byte $02,$60,10\n.word $200\n.byte 5"},
    {"ObjectMove(1,2,3)", ".byte $02,$87,1,2,3"},
    {"SetAnimationA(9)", ".byte $02,$80,9"},
    {"WaitAnimation", ".byte $02,$8E"},
    {"WaitAnimation2", ".byte $02,$8F"},
    {"ObjectDelete", ".byte $02,$A7"},
    {"SpriteSetFacingRight", ".byte $02,$B6"},
    {"\tSpriteSetFacingLeft", ".byte $02,$B7"},
    {"MarkOrigin", ".byte $02,$BC"},
    {"Delay:30", ".byte $02,$C1\n.word 30"},
    {"Delay(-2)", ".byte $02,$C1\n.word $FFFE"},
    {"Print16(\"x\")", ".byte $02,$1B\n.word @text"},
    {"FightingStatsLoad(3)", ".byte $02,$D9,3"},
    {"asm(0xA9, 1, 0x60)", "lda #1\nrts"},
    {"ahead:", "ahead:"},
};
const char* const kTexts[] = {".byte $C4,$01,$DA,$28,$49,$6D,$D3", ".byte $C4,$01,$DA,$58,$D3"};

std::string Run(const std::string& command) {
    return std::system((command + " 2>ca65.err").c_str()) == 0 ? "" : command;
}

// The bytes that ca65 and ld65 make of the source, linked at the address.
Bytes Assemble(const std::string& source, std::uint32_t address) {
    std::ofstream("script.s") << ".p816\n.a8\n" << source;
    std::ofstream("script.cfg") << "MEMORY { M: start = $" << std::hex << address
                                << ", size = $10000, file = %O; }\n"
                                   "SEGMENTS { CODE: load = M; }\n";
    EXPECT_EQ(Run("ca65 -o script.o script.s"), "");
    EXPECT_EQ(Run("ld65 -C script.cfg -o script.out script.o"), "");
    return ReadWholeFile("script.out").value_or(Bytes{});
}

}  // namespace

TEST(ScriptCompiler, WritesWhatCa65WritesForEveryCommand) {
    std::string script;
    std::string code;
    int text = 0;
    for (const auto& line : kLines) {
        script += std::string(line.script) + (text % 2 == 0 ? "\n" : "\r\n");
        std::string ca65 = line.ca65;
        if (const auto at = ca65.find("@text"); at != std::string::npos) {
            ca65.replace(at, 5, ".loword(text" + std::to_string(text++) + ")");
        }
        code += ca65 + "\n";
    }
    for (bool header : {false, true}) {
        for (bool noRtl : {false, true}) {
            const std::uint32_t address = header ? 0x1086E2 : 0xC0FF20;
            std::string source = header ? ".byte 0,0,$51,0,0\n" : "";
            source += code + (noRtl ? "" : "rtl\n");
            for (int t = 0; t < 2; ++t) {
                source += "text" + std::to_string(t) + ": " + kTexts[t] + "\n";
            }
            const ScriptCompileResult result = AssembleScript(script, address, noRtl, header, 1);
            EXPECT_EQ(result.message, "");
            EXPECT_EQ(result.bytes, Assemble(source, address)) << header << noRtl;
        }
    }
}

TEST(ScriptCompiler, RefusesNamingTheLineAndWritesNothing) {
    std::string longAsm = "asm(1";
    for (int i = 0; i < 1100; ++i) {
        longAsm += ",1";
    }
    longAsm += ")";
    const std::string notNumber =
        " is neither a number nor a text in double quotes; arguments are separated by commas or "
        "blanks!\n";
    const std::string fits8 = ", does not fit in 8 bits (-128 to 255)!\n";
    const std::string noCommand =
        " is no command, and a label is a name followed by a colon alone!\n";
    const struct {
        std::string script;
        std::string message;
        std::uint32_t address = 0x1086E2;
        SyntheticImage::Region region = SyntheticImage::Region::German;
    } cases[] = {
        {"Delay(1)\nDelay(1,2)", "Error: Line 2 Delay takes 1 argument, not 2!\n"},
        {"PlayerPort(1,2,3)", "Error: Line 1 PlayerPort takes 4 arguments, not 3!\n"},
        {"x:\r\n\r\nOnTrigger(\"y\")", "Error: Line 3 Label y is not defined!\n"},
        {"a:\n\nWaitMessage\r\ra:", "Error: Line 5 Label a is already defined on line 1!\n"},
        {"Print16(5)", "Error: Line 1 Print16 needs a text in double quotes!\n"},
        {"t:\nEventFlagSetJump(1, 1, 5)",
         "Error: Line 2 EventFlagSetJump needs a label name in double quotes!\n"},
        {"OnTrigger", "Error: Line 1 OnTrigger needs a label name in double quotes!\n"},
        {"Delay(1)\n(:", "Error: Line 2 Could not parse function name!\n"},
        {"Print16(\"a~b\")", "Error: Line 1 The text holds characters the game cannot show (~)!\n"},
        {"GiveItem(1)", "Error: Line 1 GiveItem cannot be compiled for this release!\n", 0x1086E2,
         SyntheticImage::Region::UK},
        {"Delay(1)\n" + longAsm, "Error: Line 2 The script is longer than 1024 bytes!\n"},
        // With exactly 1024 bytes left, the length is what is wrong, not the place.
        {"Delay(1)\n" + longAsm, "Error: Line 2 The script is longer than 1024 bytes!\n", 0x3FFC00},
        {"Delay(1)\nPrint16(\"" + std::string(1016, 'a') + "\")",
         "Error: Line 2 The script is longer than 1024 bytes!\n"},
        {"WaitMessage\nDelay(1)", "Error: Line 2 The script runs past the end of the image!\n",
         0x3FFFFC},
        {"WaitMessage", "Error: Line 1 The script runs past the end of the image!\n", 0x3FFFFE},
        // A name that is no command is a label only as "name:" alone.
        {"Delay(1)\nDealy(30)", "Error: Line 2 Dealy" + noCommand},
        {"Foo:12", "Error: Line 1 Foo" + noCommand},
        {"Delay 30",
         "Error: Line 1 Delay 30 is no command; the arguments of Delay go in parentheses: "
         "Delay(30)!\n"},
        // Numbers are whole runs that fit their field; a minus counts from the field's top.
        {"Delay(12ab)", "Error: Line 1 Argument 1, 12ab," + notNumber},
        {"asm(0xA9, nop)", "Error: Line 1 Argument 2, nop," + notNumber},
        {"asm(1 - 2)", "Error: Line 1 Argument 2, -," + notNumber},
        {"asm(1, -0x10000000000000000)",
         "Error: Line 1 Argument 2, -0x10000000000000000, is too large a number!\n"},
        {"Delay(1 2)", "Error: Line 1 Delay takes 1 argument, not 2!\n"},
        {"Delay(1,", "Error: Line 1 Argument 2 is missing!\n"},  // a comma ends the line
        {"Print16(\"a\"5)",
         "Error: Line 1 Argument 1 is followed by 5) instead of a comma, a blank or \")\"!\n"},
        {"Delay(\"x\")", "Error: Line 1 Argument 1 of Delay must be a number, not a text!\n"},
        {"PlayMusic(-129)", "Error: Line 1 Argument 1 of PlayMusic, -129" + fits8},
        {"asm(1, 0x100)", "Error: Line 1 Argument 2 of asm, 0x100" + fits8},
        {"Delay(0x10000)",
         "Error: Line 1 Argument 1 of Delay, 0x10000, does not fit in 16 bits (-32768 to "
         "65535)!\n"},
        {"ModifyEventFlag(-1, 1)",
         "Error: Line 1 Argument 1 of ModifyEventFlag, -1, is no event flag (0 to 0xFFF, or 0x8000 "
         "to 0x8FFF)!\n"},
        {"ModifyEventFlag(1, -128)",
         "Error: Line 1 Argument 2 of ModifyEventFlag, -128, is no single-bit mask (1, 2, 4, 8, "
         "0x10, 0x20, 0x40 or 0x80)!\n"},
        {"EventFlagSetSkip(1, 3)",
         "Error: Line 1 Argument 2 of EventFlagSetSkip, 3, is no single-bit mask (1, 2, 4, 8, "
         "0x10, "
         "0x20, 0x40 or 0x80)!\n"},
        // After the closing parenthesis only blanks; a ")" in a text is the text's.
        {"Delay(1) Delay(2)",
         "Error: Line 1 Nothing may follow the closing parenthesis, but Delay(2) does!\n"},
        {"Print16(\"a)b\")", "Error: Line 1 The text holds characters the game cannot show ())!\n"},
        {"Print16(\"Hi)", "Error: Line 1 The text of argument 1 has no closing double quote!\n"},
        // Addresses are 16-bit: texts and labels stay in the script's bank.
        {"Print16(\"Hello\")", "Error: Line 1 The text lies outside the script's 64 KB bank!\n",
         0x10FFFC},
        {"Delay(1)\nOnTrigger(\"t\")\nt:",
         "Error: Line 2 Label t lies outside the script's 64 KB bank!\n", 0x10FFF8},
        // A line of blanks ends the script; nothing may follow it.
        {"OnTrigger(\"t\")\n\t\n\nt:",
         "Error: Line 2 A line of blanks ends the script, so line 4 would not be compiled!\n"},
        {"Delay(1)\n\304x\n \nDelay(1)",
         "Error: Line 2 A line that starts with a character above 0x7F ends the script, so line 4 "
         "would not be compiled!\n"},
        // Nor may such a line, or a zero byte, drop text of its own line.
        {"\303\211crire(1)",
         "Error: Line 1 A line that starts with a character above 0x7F ends the script, so line 1 "
         "would not be compiled!\n"},
        {"Delay(30)\n\304Delay(1)",
         "Error: Line 2 A line that starts with a character above 0x7F ends the script, so line 2 "
         "would not be compiled!\n"},
        // Bytes of 0x80 and above are text that such an end must not drop (an arrow, Japanese).
        {"Delay(30)\n\342\206\222\n ",
         "Error: Line 2 A line that starts with a character above 0x7F ends the script, so line 2 "
         "would not be compiled!\n"},
        {"Delay(30)\n \343\201\202",
         "Error: Line 2 A line of only blanks and characters above 0x7F ends the script, so line 2 "
         "would not be compiled!\n"},
        {"Delay(1)\0Delay(2)"s,
         "Error: Line 1 A zero byte ends the script, so the rest of line 1 would not be "
         "compiled!\n"},
        {"Delay(1)\n\0\n\0Delay(2)"s,
         "Error: Line 2 A zero byte ends the script, so line 3 would not be compiled!\n"},
    };
    const Bytes dump = {1, 2, 3};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteWholeFile("script.bin", dump));
        TextScene scene(c.region);
        const ScriptCompileResult result =
            CompileScript(scene.project, c.script, c.address, false, false);
        EXPECT_FALSE(result.compiled);
        EXPECT_EQ(result.message, c.message);
        EXPECT_TRUE(result.bytes.empty());
        EXPECT_TRUE(scene.project.romImage == scene.image.Bytes()) << c.message;
        EXPECT_EQ(ReadWholeFile("script.bin"), dump) << c.message;
    }
    std::filesystem::remove("script.bin");
    // Exactly full is still accepted, and so are the last bytes of a bank.
    TextScene scene;
    EXPECT_TRUE(CompileScript(scene.project, "WaitMessage", 0x3FFFFD, false, false).compiled);
    const std::string full = "Delay(1)\nPrint16(\"" + std::string(1011, 'a') + "\")";
    EXPECT_EQ(AssembleScript(full, 0, false, false, 1).bytes.size(), kScriptMaxBytes);
    EXPECT_TRUE(AssembleScript("Print16(\"a\")", 0x10FFF6, false, false, 1).compiled);
    EXPECT_TRUE(AssembleScript("OnTrigger(\"t\")\nt:", 0x10FFFB, true, false, 1).compiled);
}

TEST(ScriptCompiler, WritesTheImageAndTheDump) {
    const struct {
        std::string script;
        bool header;
        Bytes bytes;
    } cases[] = {
        {"Delay(0x1E)\n  \n\t", false, {0x02, 0xC1, 0x1E, 0x00, 0x6B}},
        {"Delay(30)\0 \n\0\0"s, false, {0x02, 0xC1, 0x1E, 0x00, 0x6B}},
        {"\0\0"s, false, {}},
        // Bytes of 0x80 and above before the name are skipped: an em dash, "À" (both hold 0x80).
        {" \342\200\224\303\200Delay(30)", false, {0x02, 0xC1, 0x1E, 0x00, 0x6B}},
        // Blanks separate arguments as commas do.
        {"GiveItemPlayMusic(10 0x200 5)", false, {0x02, 0x60, 0x0A, 0x00, 0x02, 0x05, 0x6B}},
        {"SpriteSetPosition(1\t2\t3)", false, {0x02, 0x13, 0x01, 0x02, 0x03, 0x6B}},
        {"asm( 1 ,2 -1\t\t0x60 )", false, {0x01, 0x02, 0xFF, 0x60, 0x6B}},
        {" \t", true, {0, 0, 0x51, 0, 0, 0x6B}},
        {"t :\nasm( 0xA9 , -1 )", false, {0xA9, 0xFF, 0x6B}},
        {"\r\n\n", true, {}},
        {"EventFlagSetJump(0x8000, 1, \"t\")\nt:",
         true,
         {0, 0, 0x51, 0, 0, 0x02, 0x08, 0x00, 0x80, 0xED, 0x86, 0x6B}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove("script.bin");
        TextScene scene(SyntheticImage::Region::German);
        const ScriptCompileResult result =
            CompileScript(scene.project, c.script, 0x1086E2, false, c.header);
        EXPECT_TRUE(result.compiled);
        EXPECT_EQ(result.message, "");
        Bytes expected = scene.image.Bytes();
        std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + scene.image.Wrap(0x1086E2));
        EXPECT_TRUE(scene.project.romImage == expected) << "case " << (&c - cases);
        EXPECT_EQ(ReadWholeFile("script.bin").value_or(Bytes{}), c.bytes);
    }
    for (std::uint32_t region : {0u, 5u}) {
        EXPECT_EQ(AssembleScript("GiveItem(2)", 0, true, false, region).bytes,
                  (Bytes{0x02, 0x54, 0x02, 0xC1, 0xD5}));
    }
}

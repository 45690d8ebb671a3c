#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/RegionAddressTable.h"
#include "tests/scripts/ScriptWalkFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kScript = 0x0A0100;

std::string ReadLog(std::uint32_t start) {
    char name[32];
    std::snprintf(name, sizeof name, "script_%06X.log", start);
    return FileText(name);
}

}  // namespace

TEST(ScriptWalk, StartItemsHeaderAndTheAddressRule) {
    ScriptWalkFixture fixture;
    fixture.Put(0x0A1234, {0x11, 0x22, 0x33, 0x44, 0x55, 0x60});
    std::uint32_t end = 0;
    // A game address beyond the image size wraps onto the image.
    const ScriptTreeNode top =
        fixture.Walk(0x8A1234, {.root = true, .header = true, .writeLog = false}, &end);
    EXPECT_EQ(Texts(top),
              (std::vector<std::string>{"Script offset: 0A1234", "Script flags:[11][3322][5544]",
                                        "[0A1239]    assembler"}));
    EXPECT_EQ(Texts(top.children[2]), std::vector<std::string>{"RTS"});
    EXPECT_EQ(end, 0x0A123Au);
}

TEST(ScriptWalk, NothingPastTheImageIsShownOrLogged) {
    ScriptWalkFixture fixture;
    const std::uint32_t size = fixture.image.Size();
    fixture.Put(size - 5, {0x11, 0x22, 0x33, 0x44, 0x55});
    const std::vector<std::string> atTheEnd{"[Warning end of ROM image reached]"};
    // A header cut off by the image end is not shown with made-up bytes.
    std::uint32_t end = 0;
    EXPECT_EQ(Texts(fixture.Walk(size - 3, {.header = true}, &end)), atTheEnd);
    EXPECT_EQ(end, size - 3);
    // One that just fits is shown; the walk then ends at the image end, not past it.
    EXPECT_EQ(Texts(fixture.Walk(size - 5, {.header = true}, &end)),
              (std::vector<std::string>{"Script flags:[11][3322][5544]", atTheEnd[0]}));
    EXPECT_EQ(end, size);
    // A start that the address rule leaves outside the image.
    EXPECT_EQ(Texts(fixture.Walk(0x3FFFFF, {.root = true})),
              (std::vector<std::string>{"Script offset: 3FFFFF", atTheEnd[0]}));
    // None of these walks leaves a log behind.
    const struct {
        std::uint32_t start;
        bool header;
        std::uint32_t logged;
    } walks[] = {{size - 3, true, size + 2}, {size - 5, true, size}, {0x3FFFFF, false, 0x3FFFFF}};
    for (const auto& w : walks) {
        char name[32];
        std::snprintf(name, sizeof name, "script_%06X.log", w.logged);
        std::filesystem::remove(name);
        fixture.Walk(w.start, {.header = w.header, .writeLog = true});
        EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }
}

TEST(ScriptWalk, LimitsEndTheWalkWithAnItemThatSaysSo) {
    ScriptWalkFixture fixture;
    const std::uint32_t last = fixture.image.Size() - 1;
    fixture.Put(last - 1, {0xEA, 0xAD});  // NOP, then an absolute LDA cut off by the end
    std::uint32_t end = 0;
    ScriptTreeNode top = fixture.Walk(last - 1, {.writeLog = false}, &end);
    EXPECT_EQ(FlatItems(top),
              (std::vector<std::string>{"NOP", "[Warning end of ROM image reached]"}));
    EXPECT_EQ(end, last);

    // A command whose operands run past the end, and a COP as the last byte.
    fixture.Put(last - 2, {0x02, 0x0A, 0x34});
    top = fixture.Walk(last - 2);
    EXPECT_EQ(Texts(top), std::vector<std::string>{"[Warning end of ROM image reached]"});
    fixture.Put(last, {0x02});
    EXPECT_EQ(Texts(fixture.Walk(last)),
              std::vector<std::string>{"[Warning end of ROM image reached]"});

    // A script that never ends is cut after a bounded number of items.
    ScriptWalkFixture nops;
    nops.Put(0x40000, Bytes(0x10000, 0xEA));
    top = nops.Walk(0x40000);
    ASSERT_EQ(top.children.size(), 2u);
    EXPECT_EQ(top.children[0].children.size() + 1, 0x8000u);
    EXPECT_EQ(top.children[1].text, "[Warning max items reached]");
}

TEST(ScriptWalk, NestingDepthRefusesDeepWalksAndARootWalkResetsIt) {
    ScriptWalkFixture fixture;
    fixture.Put(kScript, {0x60});
    ScriptNestingDepth = 7;
    EXPECT_EQ(Texts(fixture.Walk(kScript)),
              std::vector<std::string>{"[Warning max script reached]"});
    EXPECT_EQ(ScriptNestingDepth, 7u);
    ScriptNestingDepth = 6;
    EXPECT_EQ(FlatItems(fixture.Walk(kScript)), std::vector<std::string>{"RTS"});
    EXPECT_EQ(ScriptNestingDepth, 6u);  // a walk gives back the level it took
    ScriptNestingDepth = 9;
    EXPECT_EQ(fixture.Walk(kScript, {.root = true, .writeLog = false}).children.size(), 2u);
    EXPECT_EQ(ScriptNestingDepth, 0u);
}

TEST(ScriptWalk, AccumulatorWidthFollowsTheMFlagAndRepSep) {
    ScriptWalkFixture fixture;
    fixture.Put(kScript, {0xA9, 0x34, 0x12, 0xE2, 0x20, 0xA9, 0x34, 0x12, 0xC2, 0x10, 0x29, 0x01,
                          0xC2, 0x20, 0x29, 0x01, 0x00, 0x02, 0x1F, 0xA9, 0x34, 0x60, 0x60});
    EXPECT_EQ(Texts(fixture.Walk(kScript).children[0]),
              (std::vector<std::string>{"LDA #$1234", "SEP", "LDA #$34", "[0A0107]:12", "REP",
                                        "AND #$01", "REP", "AND #$0001"}));
    // Every run starts with the width the m flag gives.
    EXPECT_EQ(Texts(fixture.Walk(kScript, {.mFlag = true, .writeLog = false}).children[2]),
              (std::vector<std::string>{"LDA #$34", "RTS"}));
}

TEST(ScriptWalk, ReturnsAndJumpsEndTheWalkUnlessAForwardTargetIsPending) {
    struct Case {
        Bytes bytes;
        std::uint32_t items;  // instructions listed
        std::uint32_t end;    // reader position after the walk, from the start
    };
    const Case cases[] = {
        {{0x60, 0xEA}, 1, 1},
        {{0x6B, 0xEA}, 1, 1},
        {{0x40, 0xEA}, 1, 1},
        {{0x10, 0x02, 0x60, 0xEA, 0x60, 0xEA}, 4, 5},  // RTS before the BPL target goes on
        {{0x10, 0x03, 0x4C, 0x00, 0x80, 0x60, 0xEA}, 3, 6},
        {{0x4C, 0x00, 0x80, 0xEA}, 1, 3},
        {{0x10, 0x05, 0x5C, 0x56, 0x34, 0x12, 0xEA, 0x60}, 4, 8},
        {{0x5C, 0x56, 0x34, 0x12, 0xEA}, 1, 4},
        {{0x10, 0x10, 0x7C, 0x00, 0x80, 0xEA}, 2, 5},  // an indexed jump always ends it
        {{0xEA, 0x80, 0xFD, 0xEA}, 2, 3},              // BRA back with nothing pending
        {{0x10, 0x04, 0x80, 0xFC, 0xEA, 0xEA, 0x60}, 5, 7},
        {{0x80, 0x01, 0xEA, 0x60}, 3, 4},        // BRA forward sets no target
        {{0x80, 0x00, 0x10, 0xFC, 0x60}, 3, 5},  // a target behind does not keep it going
    };
    for (const Case& c : cases) {
        ScriptWalkFixture fixture;
        fixture.Put(kScript, c.bytes);
        std::uint32_t end = 0;
        const ScriptTreeNode top = fixture.Walk(kScript, {.writeLog = false}, &end);
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        ASSERT_EQ(top.children.size(), 1u);
        EXPECT_EQ(top.children[0].children.size(), c.items);
        EXPECT_EQ(end, kScript + c.end);
    }
    // A target pending when a command ends the run is forgotten: the RTS of the next run ends it.
    ScriptWalkFixture fixture;
    fixture.Put(kScript, {0x10, 0x10, 0x02, 0x1F, 0x60, 0xEA});
    std::uint32_t end = 0;
    fixture.Walk(kScript, {.writeLog = false}, &end);
    EXPECT_EQ(end, kScript + 5);
}

TEST(ScriptWalk, LogIsTheCLikeTranslation) {
    ScriptWalkFixture fixture;
    fixture.Put(0x0A8000, {0x02, 0x07, 0x09, 0x80,  // command
                           0xC2, 0x20,              // REP #$20
                           0xCD, 0x34, 0x12,        // CMP $1234
                           0xC2, 0x20,              // REP #$20 between the compare and BNE
                           0xD0, 0x04,              // BNE to the SEP
                           0x20, 0x00, 0x90,        // JSR $9000
                           0x60,                    // RTS before the pending target
                           0xE2, 0x20, 0xA9, 0x05, 0x85, 0x10, 0xA3, 0x01, 0x6B});
    EXPECT_EQ(FlatItems(fixture.Walk(0x0A8000, {}))[5], "JSR 0A9000");
    EXPECT_EQ(ReadLog(0x0A8000),
              "cop( 0x8A8000 ); break; case 0x8A8004: //  07\n"
              "//16\n"
              "//16\n"
              "if( WORD( B + 0x1234 ) != AB )\n\t\tgoto loc_8A8011;\n\n"
              "JSR( 0x8A800D, 0x8A9000 ); break; case 0x8A8010:\n"
              "RTS();\nbreak;\n"
              "loc_8A8011:\n"
              "//8\n"
              "LDAB(0x05);\n"
              "STA8( DP + 0x10 );\n"
              "LDA8( SP + 1 );\n"
              "RTL();\n");

    // A JMP stays in its bank; a JML names its whole target.
    fixture.Put(0x0A8000, {0x4C, 0x00, 0x90});
    EXPECT_EQ(FlatItems(fixture.Walk(0x0A8000, {})),
              std::vector<std::string>{"JMP $9000 [0A:9000]"});
    EXPECT_EQ(ReadLog(0x0A8000), "goto loc_8A9000;\n\n");
    fixture.Put(0x0A8000, {0x5C, 0x56, 0x34, 0x12});
    fixture.Walk(0x0A8000, {});
    EXPECT_EQ(ReadLog(0x0A8000), "goto loc_123456\n");

    // A log that cannot be created costs the log only.
    std::filesystem::remove("script_0A9000.log");
    std::filesystem::create_directory("script_0A9000.log");
    fixture.Put(0x0A9000, {0x60});
    EXPECT_EQ(FlatItems(fixture.Walk(0x0A9000, {})), std::vector<std::string>{"RTS"});
    std::filesystem::remove("script_0A9000.log");
}

TEST(ScriptWalk, BranchConditionsNameTheFlagSetter) {
    struct Case {
        Bytes bytes;  // ends in a branch
        bool mFlag;
        std::string condition;  // "" for none
    };
    const Case cases[] = {
        {{0xC9, 0x12, 0x90, 0x00}, true, "if( AB < 0x12 )"},
        {{0xC9, 0x34, 0x12, 0x90, 0x00}, false, "if( AB < 0x1234 )"},
        {{0x0A, 0x30, 0x00}, true, "if( A & 0x80 ) //Check!"},
        {{0xEA, 0xB0, 0x00}, true, "if(CState->c)"},
        {{0x08, 0x90, 0x00}, true, "if( CState->c == 0 ) // check!"},
        {{0xEA, 0xD0, 0x00}, true, ""},
        {{0xC3, 0x05, 0xF0, 0x00}, false, "if( AB == WORD( SP + 4 ) )"},
        {{0xDD, 0x34, 0x12, 0xD0, 0x00}, true, "if( BYTE( B + 0x1234 + X ) != A )"},
        {{0xCF, 0x56, 0x34, 0x12, 0xB0, 0x00}, false, "if( AB >= WORD(0x123456) )"},
        {{0x70, 0x00}, true, "if( CState->v )"},
        // Before any instruction there is no flag setter: BRK's condition must not apply.
        {{0xD0, 0x00}, true, ""},
        {{0x90, 0x00}, true, "if( CState->c == 0 )"},
    };
    for (const Case& c : cases) {
        ScriptWalkFixture fixture;
        Bytes bytes = c.bytes;
        bytes.push_back(0x60);
        fixture.Put(kScript, bytes);
        fixture.Walk(kScript, {.mFlag = c.mFlag});
        const std::string log = ReadLog(kScript);
        const std::size_t at = log.find("if");
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(at == std::string::npos ? "" : log.substr(at, log.find("\n\t\t") - at),
                  c.condition);
    }
}

TEST(ScriptWalk, LabelOnlyWhereAnInstructionStartsAtTheTarget) {
    ScriptWalkFixture fixture;
    fixture.Put(kScript, {0x10, 0x01, 0xAD, 0xEA, 0xEA, 0x60});  // target inside the LDA
    fixture.Walk(kScript, {});
    EXPECT_EQ(ReadLog(kScript).find("loc_8A0103:"), std::string::npos);
    // No pending target is no label, even at image offset 0.
    fixture.Put(0, {0xEA, 0x60});
    fixture.Walk(0, {});
    EXPECT_EQ(ReadLog(0), "RTS();\n");
}

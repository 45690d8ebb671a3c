#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/RegionAddressTable.h"
#include "scripts/GameTextEncoder.h"
#include "tests/scripts/ScriptWalkFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Commands start with their COP byte here; their command byte is at 0x0A0101.
constexpr std::uint32_t kCop = 0x0A0100;

struct CommandCase {
    Bytes command;  // command byte and operands
    std::string item;
};

// The command's item, then the item of a JumpOffset command (02 01) put right behind the
// command's operands, which ends the walk and shows where the command was found to end.
void ExpectCommand(ScriptWalkFixture& fixture, const CommandCase& c) {
    Bytes bytes{0x02};
    bytes.insert(bytes.end(), c.command.begin(), c.command.end());
    bytes.insert(bytes.end(), {0x02, 0x01});
    fixture.Put(kCop, bytes);
    char next[80];
    std::snprintf(next, sizeof next, "[%06X][01] JumpOffset( 0x000000) // set by command 00",
                  static_cast<unsigned>(kCop + c.command.size() + 2));
    SCOPED_TRACE(c.item);
    EXPECT_EQ(Texts(fixture.Walk(kCop)), (std::vector<std::string>{c.item, next}));
}

}  // namespace

TEST(ScriptCommand, ItemsAndLengthsOfEachFamily) {
    ScriptWalkFixture fixture;
    const std::uint32_t enemies = fixture.image.Table(RegionTable::EnemyPointerTable);
    fixture.image.Put16(enemies + 2 * 2, 0xBA00);  // enemy 2's record
    fixture.image.Put16((enemies & 0xFF0000) + 0xBA00 + 9, 1234);
    const std::uint32_t region = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
    fixture.image.PutBytes(0x0A1234, EncodeGameText("", region));
    fixture.image.PutBytes(0x0A2000, EncodeGameText("Hi", region));
    const CommandCase cases[] = {
        {{0x1F}, "[0A0101][1F] MessageWait()"},
        {{0x07, 0x09, 0x80}, "[0A0101][07] EventFlagSet( 01, 02 )"},
        {{0x07, 0x09, 0x00}, "[0A0101][07] EventFlagClear( 01, 02 )"},
        {{0x05, 0xFF, 0xFF}, "[0A0101][05] EventFlagWait( 1FF = 80 )"},
        {{0x08, 0x09, 0x00, 0x34, 0x12}, "[0A0101][08] EventFlagCheckJump( 01 != 02, 0A1234 )"},
        {{0x75, 0x09, 0x80, 0x0A, 0x00},
         "[0A0101][75] ConditionalTalkHandlerSet( [01] = 02, [01] = 04 )"},
        {{0x0E, 1, 2, 0, 3, 0, 4, 0, 5, 0, 0x34, 0x12},
         "[0A0101][0E] TriggerOnAreaAbsolutePixel( 1, 2, 3, 4, 5, 0A1234 )"},
        {{0x54, 0x05, 0x34, 0x12}, "[0A0101][54] ItemAdd( 05, 1234 ) // ID: 5"},
        {{0xB1, 0x34, 0x12}, "[0A0101][B1] ObjectMoveHorizontal( 0x1234 )"},
        {{0xED, 0x05, 0xFE, 0xFF, 0x02, 0x00}, "[0A0101][ED] ObjectMoveRelative( 5, 65534, 2 )"},
        {{0x9D, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         "[0A0101][9D] ObjectCloneInsertBeforeSRFP( 030201, 060504, 0807, 0A09 )"},
        {{0x76, 0x05, 0x80}, "[0A0101][76] SystemRegisterWrite( 0x2105 = 0x80 )"},
        {{0xEC, 0x11, 0x11, 0x0A, 0x12, 0x34, 0x22, 0x22, 0x33},
         "[0A0101][EC] Unknown_EC( 1111, 0A1234, 2222 , 33 )"},
        {{0xD0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         "[0A0101][D0] Unknown_D0( 0201, 0403, 0605, 0807, 0A09, 020B, 0C, 0D, 0F0E , 10 )"},
        {{0x15}, "[0A0101][15] Unhandled()"},
        {{0xEF}, "[0A0101][EF] Unhandled()"},
        // The first operand chooses the length.
        {{0x21, 0x00, 0x00}, "[0A0101][21] TriggerSet( [DELETE] )"},
        {{0x21, 0x34, 0x12}, "[0A0101][21] TriggerSet( 0x0A1234 )"},
        {{0x58, 0xFF}, "[0A0101][58] ItemCheckEquipped( 255 )"},
        {{0x58, 0x05, 0x34, 0x12}, "[0A0101][58] ItemCheckEquipped( 5, 0x0A1234 )"},
        {{0x4B, 0x40}, "[0A0101][4B] MapFlagUpdate( 40 )"},
        {{0x4B, 0x01, 0x34, 0x12}, "[0A0101][4B] MapFlagUpdate( 01, 1234 )"},
        {{0x4D, 0x3F}, "[0A0101][4D] TownGrowthUpdate( 3F )"},
        {{0x4D, 0x80, 0x34, 0x12}, "[0A0101][4D] TownGrowthUpdate( 80, 1234 )"},
        {{0xB0, 0x01}, "[0A0101][B0] Unknown_B0( 0x01 )"},
        {{0xB0, 0xFF, 0x56, 0x34, 0x12}, "[0A0101][B0] Unknown_B0( 0xFF, 123456 )"},
        // The short form has three values for its item.
        {{0xCE, 0, 0, 0x22, 0x22, 0x33, 0x33}, "[0A0101][CE] Unknown_CE( 00, 2222, 3333 )"},
        {{0xCE, 0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x44, 0x55, 0x55},
         "[0A0101][CE] Unknown_CE( 1111, 2222, 3333, 44, 5555 )"},
        // Texts, relative to the command's bank or absolute; one that decodes to nothing says
        // which command failed.
        {{0x1B, 0x00, 0x20}, "[0A0101][1B] PrintRelative( 0x0A2000, \"Hi\")"},
        {{0x6C, 0x0A, 0x00, 0x20}, "[0A0101][6C] PrintAbsolute2( 0x0A2000, \"Hi\")"},
        {{0x1B, 0x34, 0x12}, "[0A0101][1B] PrintRelative(\"Failed to parse text\")"},
        {{0x6B, 0x34, 0x12}, "[0A0101][6B] PrintRelative2(\"Failed to parse text\")"},
        {{0x1C, 0x0A, 0x34, 0x12}, "[0A0101][1C] PrintAbsolute(\"Failed to parse text\")"},
        {{0x1E, 0x0A, 0x34, 0x12}, "[0A0101][1E] PrintAbsolut2e(\"Failed to parse text\")"},
        {{0x6C, 0x0A, 0x34, 0x12}, "[0A0101][6C] PrintAbsolute2(\"Failed to parse text\")"},
        // Lists: SwitchRange shows the offset of its first entry, behind the command byte and
        // the two case bytes; EventFlagCheckMultipleJump takes flag codes until a value that the
        // next command's 0x02 follows.
        {{0x22, 0x03, 0x05, 0x11, 0x11, 0x22, 0x22, 0x33, 0x33},
         "[0A0104][22] SwitchRange( 0x03, 0x05, 0A1111 0A2222 0A3333 )"},
        {{0x22, 0x07, 0x07, 0x11, 0x11}, "[0A0104][22] SwitchRange( 0x07, 0x07, 0A1111 )"},
        {{0x22, 0x05, 0x03}, "[0A0104][22] SwitchRange( 0x05, 0x03, ) [malformed]"},
        // Flag codes until a value that the next command's 0x02 follows.
        {{0x09, 0x09, 0x80, 0x0A, 0x00, 0x34, 0x12},
         "[0A0101][09] EventFlagCheckMultipleJump( 01 = 02, 01 != 04, 0A1234 )"},
        {{0x09, 0x34, 0x12}, "[0A0101][09] EventFlagCheckMultipleJump( 0A1234 )"},
        // Enemy health through the release's enemy table; numbers outside the game.
        {{0xD9, 0x03}, "[0A0101][D9] FightingStatsLoad(2) Health:1234"},
        {{0xD9, 0x02}, "[0A0101][D9] FightingStatsLoad(1) Health:0"},  // no record
        {{0xD9, 0x63}, "[0A0101][D9] FightingStatsLoad(98) Health:0"},
        {{0xD9, 0x00}, "[0A0101][D9] FightingStatsLoad(255) [malformed]"},
        {{0xD9, 0x64}, "[0A0101][D9] FightingStatsLoad(99) [malformed]"},
    };
    for (const CommandCase& c : cases) {
        ExpectCommand(fixture, c);
    }
}

TEST(ScriptCommand, FlagListsWithoutAnEndAreMalformed) {
    ScriptWalkFixture fixture;
    // A flag list that never meets a 0x02 ends the walk, as does one too long to show.
    fixture.Put(fixture.image.Size() - 6, {0x02, 0x09, 0x09, 0x80, 0x0A, 0x00});
    EXPECT_EQ(
        Texts(fixture.Walk(fixture.image.Size() - 6)),
        std::vector<std::string>{"[0FFFFB][09] EventFlagCheckMultipleJump( 01 = 02, [malformed]"});
    Bytes endless{0x02, 0x09};
    endless.resize(2 + 2 * 400, 0x11);
    endless.insert(endless.end(), {0x34, 0x12, 0x02, 0x01});
    fixture.Put(kCop, endless);
    const ScriptTreeNode top = fixture.Walk(kCop);
    ASSERT_EQ(top.children.size(), 1u);
    EXPECT_TRUE(top.children[0].text.ends_with(" [malformed]"));
    EXPECT_LT(top.children[0].text.size(), 2100u);
}

TEST(ScriptCommand, DialogChoicesReadTheirInfoBlock) {
    ScriptWalkFixture fixture;
    fixture.Put(0x0A9000, {0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x44, 0x44});
    const char* const three =
        "DialogSwitchChoice( %u, 0A9000, 0A1111, 0A2222, 0A3333 ) // Type, InfoOffset, Cancel "
        "option, option 1, option 2";
    const char* const four =
        "ChoiceDialog( %u, 0A9000, 0A1111, 0A2222, 0A3333, 0A4444 ) // Type, InfoOffset, Cancel "
        "option, option 1, option 2, option 3";
    struct Case {
        std::uint8_t type;
        std::size_t operands;
        const char* text;
        std::vector<std::string> children;
    };
    const Case cases[] = {
        {0, 9, three, {"Cancel", "Option 1", "Option 2"}},
        {11, 9, three, {"Cancel", "Option 1", "Option 2"}},
        {8, 3, four, {"Cancel", "Option 1", "Option 2", "Option 3"}},
        {3, 11, four, {}},
        {5, 11, four, {}},
    };
    for (const Case& c : cases) {
        Bytes command{0x1A, c.type, 0x00, 0x90};
        command.resize(1 + c.operands, 0xEE);
        char text[160];
        std::snprintf(text, sizeof text, c.text, c.type);
        ExpectCommand(fixture, {command, std::string("[0A0101][1A] ") + text});
        EXPECT_EQ(Texts(fixture.Walk(kCop).children[0]), c.children);
    }
    // Operands that end exactly at the image end are still read.
    const std::uint32_t end = fixture.image.Size();
    for (const CommandCase& c :
         {CommandCase{{0x1A, 0x08, 0x00, 0x90}, "[0FFFFC][1A] ChoiceDialog( 8,"},
          {{0x07, 0x09, 0x80}, "[0FFFFD][07] EventFlagSet( 01, 02 )"},
          {{0x22, 0x05, 0x03}, "[100000][22] SwitchRange( 0x05, 0x03, ) [malformed]"}}) {
        Bytes bytes{0x02};
        bytes.insert(bytes.end(), c.command.begin(), c.command.end());
        const auto at = static_cast<std::uint32_t>(end - bytes.size());
        fixture.Put(at, bytes);
        EXPECT_TRUE(Texts(fixture.Walk(at))[0].starts_with(c.item)) << c.item;
    }
}

TEST(ScriptCommand, SavedJumpOffsetBelongsToOneWalk) {
    ScriptWalkFixture fixture;
    fixture.Put(kCop, {0x02, 0x00, 0x34, 0x12, 0x0A, 0x02, 0x01});
    std::uint32_t end = 0;
    EXPECT_EQ(
        Texts(fixture.Walk(kCop, {.writeLog = false}, &end)),
        (std::vector<std::string>{"[0A0101][00] SetJumpOffset( 0x0A1234 )",
                                  "[0A0106][01] JumpOffset( 0x0A1234) // set by command 00"}));
    EXPECT_EQ(end, 0x0A1234u);
    // A later walk does not see the offset the first one saved.
    EXPECT_EQ(Texts(fixture.Walk(kCop + 5, {.writeLog = false}, &end)),
              std::vector<std::string>{"[0A0106][01] JumpOffset( 0x000000) // set by command 00"});
    EXPECT_EQ(end, kCop + 7);
}

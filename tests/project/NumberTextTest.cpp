#include <cstdint>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "project/NumberText.h"

TEST(ParseNumberText, HexadecimalWhereverTheTextSays0x) {
    EXPECT_EQ(ParseNumberText("0xFF"), 255);
    EXPECT_EQ(ParseNumberText("0XfF"), 255);
    EXPECT_EQ(ParseNumberText("  0x1a"), 26);
    EXPECT_EQ(ParseNumberText("12 (0x0C)"), 18);
    EXPECT_EQ(ParseNumberText("zz 0x10"), 0);
    EXPECT_EQ(ParseNumberText("0x"), 0);
    EXPECT_EQ(ParseNumberText(" -0x10"), -16);
    EXPECT_EQ(ParseNumberText("+0x10"), 16);
}

TEST(ParseNumberText, DecimalWithSign) {
    EXPECT_EQ(ParseNumberText("10"), 10);
    EXPECT_EQ(ParseNumberText("  -42abc"), -42);
    EXPECT_EQ(ParseNumberText("+7"), 7);
    EXPECT_EQ(ParseNumberText("abc"), 0);
    EXPECT_EQ(ParseNumberText(""), 0);
}

TEST(ParseNumberText, OverflowIsDefined) {
    EXPECT_EQ(ParseNumberText("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseNumberText("0x123456789"), 0x23456789);
    EXPECT_EQ(ParseNumberText("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseNumberText("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseNumberText("2147483648"), 2147483647);
    EXPECT_EQ(ParseNumberText("-2147483648"), -2147483647 - 1);
}

TEST(ReadNumberText, OnlyAWholeNumberIsANumber) {
    EXPECT_EQ(ReadNumberText(" 42 "), 42);
    EXPECT_EQ(ReadNumberText("0x1aF"), 0x1AF);
    EXPECT_EQ(ReadNumberText("-1"), -1);
    EXPECT_EQ(ReadNumberText("+0x10"), 16);
    EXPECT_EQ(ReadNumberText("-0x10"), -16);
    EXPECT_EQ(ReadNumberText("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ReadNumberText("-9223372036854775808"), INT64_MIN);
    // Leading zeros are decimal, only "0x" or "0X" makes hexadecimal; a pasted line's "\r\n"
    // and a vertical tab are blanks.
    const std::pair<const char*, std::int64_t> read[] = {{"07", 7},    {"00", 0},    {"010", 10},
                                                         {"0X1F", 31}, {"5\r\n", 5}, {"\v5\t", 5}};
    for (const auto& [text, value] : read) {
        EXPECT_EQ(ReadNumberText(text), value) << text;
    }
    for (const char* text : {"", "  ", "abc", "0x", "12ab", "0x1G", "- 1", "1 2", "--1", "1.5",
                             "9223372036854775808", "0x10000000000000000", "x10"}) {
        EXPECT_EQ(ReadNumberText(text), std::nullopt) << text;
    }
}

TEST(FieldReader, RefusalsSayWhatTheFieldTakesInTheBaseItShows) {
    using Negative = FieldReader::Negative;
    const struct {
        std::function<std::int64_t(FieldReader&)> read;
        std::int64_t value;
        const char* error;
    } cases[] = {
        {[](FieldReader& r) { return r.Read("0x100", "Flag:", 0, 0xFF, NumberBase::Hexadecimal); },
         0, "Flag: must be a number from 0x00 to 0xFF; \"0x100\" is not."},
        {[](FieldReader& r) { return r.Read("-1", "Id:", 0, 0x44F, NumberBase::Hexadecimal); }, 0,
         "Id: must be a number from 0x0000 to 0x044F; \"-1\" is not."},
        {[](FieldReader& r) { return r.Read("x", "At:", 0, 0xFFFFFF, NumberBase::Hexadecimal); }, 0,
         "At: must be a number from 0x000000 to 0xFFFFFF; \"x\" is not."},
        // The record clamps a new value; the reader gives it as typed.
        {[](FieldReader& r) { return r.ReadUnclamped("1635", "XP:", 1599, Negative::Refused); },
         1635, ""},
        {[](FieldReader& r) {
             return r.ReadUnclamped("99999999999", "Defense:", 1023, Negative::Largest);
         },
         0xFFFFFFFF, ""},
        {[](FieldReader& r) { return r.ReadUnclamped("-1", "Defense:", 1023, Negative::Largest); },
         1023, ""},
        {[](FieldReader& r) { return r.ReadUnclamped("0x3F", "XP:", 1599, Negative::Refused); }, 63,
         ""},
        {[](FieldReader& r) { return r.ReadUnclamped("-1", "XP:", 1599, Negative::Refused); }, 0,
         "XP: must be a whole number from 0; values above 1599 are stored as 1599. \"-1\" is not "
         "one."},
    };
    for (const auto& c : cases) {
        FieldReader reader;
        EXPECT_EQ(c.read(reader), c.value) << c.error;
        EXPECT_EQ(reader.Error(), c.error);
    }
}

#include <cstdint>

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
    for (const char* text : {"", "  ", "abc", "0x", "12ab", "0x1G", "- 1", "1 2", "--1", "1.5",
                             "9223372036854775808", "0x10000000000000000", "x10"}) {
        EXPECT_EQ(ReadNumberText(text), std::nullopt) << text;
    }
}

#include <gtest/gtest.h>

#include "project/NumberText.h"

TEST(ParseNumberText, HexadecimalWhereverTheTextSays0xElseDecimalAndOverflowIsDefined) {
    const std::pair<const char*, int> cases[] = {{"0xFF", 255},
                                                 {"0XfF", 255},
                                                 {"  0x1a", 26},
                                                 {"12 (0x0C)", 18},
                                                 {"zz 0x10", 0},
                                                 {"0x", 0},
                                                 {"10", 10},
                                                 {"  -42abc", -42},
                                                 {"+7", 7},
                                                 {"abc", 0},
                                                 {"", 0},
                                                 {"0xFFFFFFFF", -1},
                                                 {"0x123456789", 0x23456789},
                                                 {"99999999999999999999", 2147483647},
                                                 {"-99999999999999999999", -2147483647 - 1},
                                                 {"2147483648", 2147483647},
                                                 {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseNumberText(text), value) << text;
    }
}

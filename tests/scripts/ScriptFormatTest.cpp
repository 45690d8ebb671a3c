#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scripts/ScriptFormat.h"

// A format parsed once fills exactly as the format read afresh does, odd formats included.
TEST(ScriptFormat, CompiledFormatsFillAsTheFormatDoes) {
    const std::vector<std::string> formats = {
        "[%06X][%02X] SwitchRange( 0x%02X, 0x%02X, ",
        "%u%d%X%s|%S",
        "ObjectMoveRelative( %u, %d, %d )",
        "100% sure %q %",
        "trailing %04",
        "%20X and %1X",
        "no placeholders at all, but a text longer than one block of sixteen",
        "",
    };
    const FormatArg args[] = {{0x0A0104}, {0xFFFFFFFE}, {0}, {0, "!="}, {0, "a text"}, {7}};
    for (const std::string& format : formats) {
        for (int count = 0; count <= 6; count += 3) {
            std::string expected = "head:";
            AppendFormat(expected, format,
                         [&](int index, int) { return index < count ? args[index] : FormatArg{}; });
            std::string filled = "head:";
            CompiledFormat(format).AppendTo(filled, args, count);
            EXPECT_EQ(filled, expected) << format << " " << count;
        }
    }
}

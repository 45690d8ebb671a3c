#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scripts/GameTextEncoder.h"
#include "tests/scripts/TextScene.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Western(Bytes body) {
    body.insert(body.begin(), {0xC4, 0x01, 0xDA});
    body.push_back(0xD3);
    return body;
}

const Bytes kFramedHead = {0xC4, 0x00, 0xC2, 0x0A, 0x08, 0x0B, 0x0C, 0xC7, 0xFF, 0xC8, 0x05};

}  // namespace

TEST(GameTextEncoder, BytesOfBothPaths) {
    Bytes framedA = kFramedHead;
    framedA.insert(framedA.end(), {0x21, 0xD4});
    Bytes framedEmpty = kFramedHead;
    framedEmpty.push_back(0xD4);
    const struct {
        std::string text;
        std::uint32_t region;
        Bytes bytes;
    } cases[] = {
        {"", 1, Western({})},
        {"", 0, Western({})},
        {"Hi!", 1, Western({0x28, 0x49, 0x6D})},
        {"!Hi", 2, Western({0x6D, 0x28, 0x49})},
        {"a\\nb", 1, Western({0x41, 0xCF, 0x42})},
        {"\\w", 7, Western({0xD5})},
        {"x\\", 1, Western({0x58})},
        {"Zz09 ,.?", 4, Western({0x3A, 0x5A, 0x63, 0x6C, 0x20, 0x6E, 0x7F, 0x60})},
        {"{70}{7D}{76}", 1, Western({0x70, 0x7D, 0x6A, 0x69})},
        {"Ab", 0, Western({0x21, 0xD0, 0x22, 0xD1})},
        {"a.b", 5, Western({0xD0, 0x21, 0x7E, 0x22, 0xD1})},
        {"a,", 0, Western({0xD0, 0x21, 0xD1})},
        // A shifted run is closed before a line break or wait, so they read as control codes.
        {"ab\\ncd", 0, Western({0xD0, 0x21, 0x22, 0xD1, 0xCF, 0xD0, 0x23, 0x24, 0xD1})},
        {"a\\w", 5, Western({0xD0, 0x21, 0xD1, 0xD5})},
        {"A\\nb", 0, Western({0x21, 0xCF, 0xD0, 0x22, 0xD1})},
        {"Z9 !?", 0, Western({0x3A, 0x7C, 0x20, 0x7D, 0x0F})},
        {"!A", 0, framedA},
        {"!", 5, framedEmpty},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeGameText(c.text, c.region), c.bytes) << c.text << " " << c.region;
    }
}

TEST(GameTextEncoder, ReportsWhatItCannotWrite) {
    const struct {
        std::string text;
        std::uint32_t region;
        std::string missing;
    } cases[] = {
        {"Hello, world.", 1, ""},   {"Hello, world.", 0, ","},
        {"Ärger {7E}", 1, "Ä{}"},   {"{70", 1, "{"},
        {"a\\qb\\q\\", 1, "\\q\\"}, {"\u96E8\u96E3\U0001F600!\u96E8", 1, "\u96E8\u96E3\U0001F600"},
        {"ü-ü-ü", 6, "ü-"},         {"{70}", 0, "{}"},
    };
    for (const auto& c : cases) {
        std::string missing = "left over";
        EncodeGameText(c.text, c.region, &missing);
        EXPECT_EQ(missing, c.missing) << &c - cases;
    }
}

TEST(GameTextEncoder, DecodesBackToTheText) {
    // The Japanese font draws blank, ! and . as wide characters; a leading ! only selects the
    // framed head; a line break after lower-case letters stays a line break, and a text that
    // ends in one does not run on into the bytes after it.
    const struct {
        std::uint32_t region;
        const char* text;
        const char* decoded;
    } cases[] = {
        {1, "The Quick Brown Fox, 1234567890 jumps? Yes! {70}{7A}", nullptr},
        {0, "Quiz brown fox 0123456789?", "Quiz\u3000brown\u3000fox\u30000123456789?"},
        {0, "Ok. Go!", "Ok\uFF0E\u3000Go\uFF01"},
        {5, "!Go", "Go"},
        {0, "!!Go", "\uFF01Go"},
        {0, "AB\\nab", "AB ab"},
        {0, "ab\\ncd", "ab cd"},
        {0, "ab\\n", "ab "},
    };
    TextScene scene;
    for (const auto& c : cases) {
        scene.project.regionIndex = c.region;
        EXPECT_EQ(Utf16ToUtf8(scene.Decode(EncodeGameText(c.text, c.region))),
                  c.decoded != nullptr ? c.decoded : c.text);
    }
}

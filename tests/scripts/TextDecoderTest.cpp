#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/RegionAddressTable.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/GameTextTables.h"
#include "tests/scripts/TextScene.h"
#include "tests/support/TraceCapture.h"

namespace {

using Region = SyntheticImage::Region;
const std::string kEndLines = "<end>\n------------------------------------\n";

}  // namespace

TEST(TextDecoder, WesternBytesDecodePerRegionAndEncodeBack) {
    TextScene scene;
    EXPECT_EQ(scene.Decode({0x21, 0x22, 0x23, 0xD3}), u"ABC");
    const struct {
        std::uint32_t region;
        std::uint8_t byte;
        char16_t unit;
    } accents[] = {{3, 0x3B, u'á'}, {4, 0x3B, u'ü'}, {6, 0x3E, u'ö'},
                   {6, 0x3C, u'à'}, {7, 0x3C, u'ä'}, {3, 0x5E, u'¡'}};
    for (const auto& a : accents) {
        scene.project.regionIndex = a.region;
        EXPECT_EQ(scene.Decode({a.byte, 0xD3}), std::u16string(1, a.unit)) << a.region;
    }
    // The characters the encoder knows, glyph forms included, come back as the same text.
    for (const std::uint32_t region : {1u, 3u, 6u, 7u}) {
        scene.project.regionIndex = region;
        int encodable = 0;
        for (std::uint32_t b = 0; b < 0x80; ++b) {
            const std::u16string text = scene.Decode({static_cast<std::uint8_t>(b), 0xD3});
            std::string missing;
            const auto bytes = EncodeGameText(Utf16ToUtf8(text), region, &missing);
            if (missing.empty()) {
                ++encodable;
                EXPECT_EQ(scene.Decode(bytes), text) << region << " " << b;
            }
        }
        // Letters; digits and blank ! , . ? in both of their places; the ten glyph forms.
        EXPECT_EQ(encodable, 26 * 2 + (10 + 5) * 2 + 10) << region;
    }
}

TEST(TextDecoder, JapaneseTablesOnTheirPaths) {
    TextScene scene(Region::Japanese);
    for (const std::uint32_t region : {0u, 5u}) {
        scene.project.regionIndex = region;
        for (std::uint32_t b = 0; b < 0x80; ++b) {
            EXPECT_EQ(scene.Decode({static_cast<std::uint8_t>(b), 0xD3}),
                      std::u16string(1, JapaneseCharTable[b]));
        }
        for (std::uint32_t b = 0; b < 0x100; ++b) {
            if (b != 0xD1 && (b < 0x80 || b > 0x83)) {
                EXPECT_EQ(scene.Decode({0xD0, static_cast<std::uint8_t>(b), 0xD1, 0xD3}),
                          std::u16string(1, JapaneseShiftCharTable[b]));
            }
        }
        for (std::uint32_t i = 0; i < 0x400; ++i) {
            const auto first = static_cast<std::uint8_t>(0x80 + i / 256);
            const auto second = static_cast<std::uint8_t>(i % 256);
            const std::u16string kanji(1, JapaneseWideCharTable[i]);
            EXPECT_EQ(scene.Decode({first, second, 0xD3}), kanji) << i;
            EXPECT_EQ(scene.Decode({0xD0, first, second, 0xD1, 0xD3}), kanji) << i;
        }
    }
    // Inside a run only 0xD1 ends it; 0xD1 outside a run adds nothing.
    EXPECT_EQ(scene.Decode({0xD0, 0xD1, 0xD1, 0x21, 0xD3}), u"A");
    EXPECT_EQ(scene.Decode({0xD0, 0xCF, 0xD3, 0x21, 0xD1, 0x21, 0xD3}), u"!!aA");
    // 0x84 is already a control code (frame, one operand).
    EXPECT_EQ(scene.Decode({0x84, 0x21, 0x21, 0xD3}), u"A");
    // Western bytes from 0x80 up are control codes there, not kanji.
    scene.project.regionIndex = 1;
    EXPECT_EQ(scene.Decode({0x80, 0x21, 0xD3}), u"A");
}

TEST(TextDecoder, ControlCodesPlaceholdersAndTraces) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::u16string text;
        std::string trace;
    } cases[] = {
        {{0xD2, 0x07}, u"[7]", ""},
        {{0x92, 0x7B, 0x21}, u"[123]A", ""},
        {{0xCD, 0x34, 0x12}, u"[7E1234]", ""},
        {{0x8E, 0x34, 0x12, 0xCD, 0xAB}, u"[7E1234,7EABCD]", ""},
        {{0x21, 0xCF, 0x22}, u"A B", ""},
        {{0xC0, 0xC1, 0xD5}, u"", "<TextFrameReset>\n<TextFrame:auto>\n<wait>\n"},
        {{0xC4, 0x01, 0x84, 0x00}, u"", "<TextFrame:On>\n<TextFrame:Off>\n"},
        {{0xC6, 0x00, 0xC6, 0x04, 0x86, 0x12},
         u"",
         "<TextColor:White>\n<TextColor:Yellow>\n<TextColor:12>\n"},
        {{0xC7, 0xFE, 0xC7, 0xFF, 0xC8, 0x05},
         u"",
         "<TextSound:On>\n<TextSound:Off>\n<TextSpeed:5>\n"},
        {{0xFF, 0xC3, 0x21}, u"A", "<7E,FF><06,C3>"},
        // Operands are skipped, whatever they hold; some codes do nothing at all.
        {{0xC5, 0xD3, 0xC9, 0xD3, 0xCA, 0xD3, 0xD3, 0xD3, 0xCB, 0xD3, 0xD3, 0xD0, 0xD1, 0xDA, 0xDC,
          0x21},
         u"A",
         ""},
        // Every end code ends the text; a quiet decode traces nothing for it.
        {{0x21, 0xD7, 0x22}, u"A", ""},
        {{0x93, 0x21}, u"", ""},
        {{0x21, 0xD4, 0x22}, u"A", ""},
        // A frame definition takes four bytes: the framed head the encoder writes reads as
        // frame off, sound off, speed 5.
        {{0xC4, 0x00, 0xC2, 0x0A, 0x08, 0x0B, 0x0C, 0xC7, 0xFF, 0xC8, 0x05, 0x21},
         u"A",
         "<TextFrame:Off>\n<TextSound:Off>\n<TextSpeed:5>\n"},
    };
    TextScene scene;
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = c.bytes;
        bytes.push_back(0xD3);
        std::u16string text;
        const std::string trace = CaptureTrace([&] { text = scene.Decode(bytes, true); });
        EXPECT_EQ(text, c.text) << c.trace;
        EXPECT_EQ(trace, c.trace);
    }
}

TEST(TextDecoder, InsertedTexts) {
    TextScene scene;
    scene.image.PutInsertedText(SyntheticImage::TextList::A, 3, 0x8000, {{0x22, 0xD3, 0x29}});
    scene.image.PutInsertedText(SyntheticImage::TextList::B, 2, 0x8100, {{0xD2, 0x09, 0xD4}});
    scene.image.PutBytes(0x158000, {{0x23, 0xD3}});
    scene.Sync();
    // The inserted text's end code ends only it; the outer text goes on after the operands.
    std::u16string text;
    const std::string trace = CaptureTrace([&] {
        text =
            scene.Decode({0x21, 0xE5, 0x03, 0x21, 0xE6, 0x02, 0xCC, 0x15, 0x00, 0x80, 0xD3}, false);
    });
    EXPECT_EQ(text, u"ABA[9]C");
    EXPECT_EQ(trace, kEndLines);
    EXPECT_EQ(scene.decoder.Cursor(), TextScene::kAt + 11);

    // Region 0 has no list A: the code inserts nothing.
    scene.project.regionIndex = 0;
    EXPECT_EQ(scene.Decode({0xE5, 0x03, 0x21, 0xD3}), u"A");
    scene.project.regionIndex = 7;
    EXPECT_EQ(scene.Decode({0xE6, 0x02, 0x21, 0xD3}), u"A");

    // A text that inserts itself stops at the nesting limit.
    scene.project.regionIndex = 1;
    const std::u16string nested = scene.Decode({0x21, 0xCC, 0x02, 0x00, 0x00, 0x22, 0xD3});
    std::u16string expected;
    expected.append(TextDecoder::kMaxNesting + 1, u'A');
    expected.append(TextDecoder::kMaxNesting + 1, u'B');
    EXPECT_EQ(nested, expected);

    // An inserted text that fills the capacity is still decoded to its end, as a decoder of
    // its own would decode it: its trace lines are all printed.
    std::vector<std::uint8_t> full(TextDecoder::kMaxUnits - 7, 0x21);
    full.insert(full.end(), {0xCC, 0x15, 0x00, 0x80, 0xC8, 0x07, 0xD3});
    std::vector<std::uint8_t> inserted(20, 0x22);
    inserted.insert(inserted.end(), {0xC8, 0x05, 0xD3});
    scene.project.WriteBytes(0x158000, inserted);
    const std::string fullTrace = CaptureTrace([&] { text = scene.Decode(full, false); });
    EXPECT_EQ(text, std::u16string(TextDecoder::kMaxUnits - 7, u'A') + std::u16string(7, u'B'));
    EXPECT_EQ(fullTrace, "<TextSpeed:5>\n");
}

TEST(TextDecoder, InsertListEntryOutsideTheImageInsertsNothing) {
    // The image ends between the text bank (0x120000) and list A's table.
    TextScene scene;
    const std::uint32_t table = scene.image.Table(RegionTable::TextInsertTableA);
    ASSERT_GT(table, 0x120000u);
    scene.image.PutBytes(0x120000, {{0x21, 0xD3}});
    scene.Sync();
    scene.project.romImage.resize(table);
    scene.project.romSize = table;
    EXPECT_EQ(scene.Decode({0xE5, 0x03, 0x22, 0xD3}), u"B");
}

TEST(TextDecoder, BoundedByImageCapacityAndScanLimit) {
    TextScene scene(Region::German, SyntheticImage::k1MB);
    // Unterminated at the image end, a kanji cut in half, operands cut off.
    const struct {
        std::uint32_t region;
        std::vector<std::uint8_t> bytes;
        std::u16string text;
    } ends[] = {{1, {0x21, 0x22}, u"AB"}, {0, {0x21, 0x80}, u"A"}, {0, {0x21, 0xD0}, u"A"},
                {1, {0x21, 0xCE}, u"A"},  {1, {0x21, 0xCC}, u"A"}, {1, {0x21, 0xC8}, u"A"}};
    for (const auto& e : ends) {
        scene.project.regionIndex = e.region;
        const auto at = static_cast<std::uint32_t>(SyntheticImage::k1MB - e.bytes.size());
        scene.project.WriteBytes(at, e.bytes);
        EXPECT_EQ(scene.decoder.DecodeAt(at), e.text);
        EXPECT_EQ(scene.decoder.Cursor(), SyntheticImage::k1MB);
    }
    // The address rule can point past a 1 MB image.
    EXPECT_EQ(scene.decoder.DecodeAt(0x3F0000), u"");

    scene.project.regionIndex = 1;
    std::vector<std::uint8_t> longText(3000, 0x21);
    longText.push_back(0xD3);
    EXPECT_EQ(scene.Decode(longText), std::u16string(TextDecoder::kMaxUnits, u'A'));
    // A placeholder at the capacity is cut, and the decode ends there.
    std::vector<std::uint8_t> cut(TextDecoder::kMaxUnits - 2, 0x21);
    cut.insert(cut.end(), {0xD2, 0x7B, 0x21, 0xD3});
    EXPECT_EQ(scene.Decode(cut), std::u16string(TextDecoder::kMaxUnits - 2, u'A') + u"[1");
    EXPECT_EQ(scene.decoder.Cursor(), TextScene::kAt + cut.size() - 2);
    // Control codes that add nothing still stop at the scan limit.
    std::vector<std::uint8_t> silent(TextDecoder::kMaxScannedBytes, 0xDA);
    silent.insert(silent.end(), {0x21, 0xD3});
    EXPECT_EQ(scene.Decode(silent), u"");
    EXPECT_EQ(scene.decoder.Cursor(), TextScene::kAt + TextDecoder::kMaxScannedBytes);
}

TEST(TextDecoder, Utf16ToUtf8) {
    EXPECT_EQ(Utf16ToUtf8(u"a\u0100\u96E8\uE000\U00010000\U0001F600"),
              "a\xC4\x80\xE9\x9B\xA8\xEE\x80\x80\xF0\x90\x80\x80\xF0\x9F\x98\x80");
    // Each surrogate without its partner becomes U+FFFD.
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'a', 0xDC00, 0xDC00}), "\uFFFDa\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDBFF, 0xE000}), "\uFFFD\uE000");
}

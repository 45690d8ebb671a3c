#include <string>
#include <utility>
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

// The decoding tests take their expected characters from the font tables; here the tables are
// checked against the font's characters, written out apart from the product's copy.
TEST(TextDecoder, JapaneseTablesHoldTheFontsCharacters) {
    // clang-format off
    const std::u16string_view kana =
        u"がぎぐげござじずぜぞだぢづでど?"
        u"┌┘（）ばびぶべぼぱぴぷぺぽ、。"
        u"\u3000ABCDEFGHIJKLMNO"
        u"PQRSTUVWXYZあいうえお"
        u"かきくけこさしすせそたちつてとな"
        u"にぬねのはひふへほまみむめもやゆ"
        u"よらリるれろわをんぁぃぅぇぉっゃ"
        u"ゅょゎ0123456789！・：";
    // From 0x80 on every entry of the shifted table is "!".
    const std::u16string shifted = std::u16string(
        u"ガギグゲゴザジズぜゾダヂヅデド…"
        u"→←↑↓バビブべボパピプぺポ””"
        u"!abcdefghijklmno"
        u"pqrstuvwxyzアイウエオ"
        u"カキクケコサシスセソタチツテトナ"
        u"二ヌネノハヒフへホマミムメモヤユ"
        u"ヨラリルレロワヲンァィゥェォッャ"
        u"ュョヮｰｘ÷ー「」＊＋‐／＆．!") + std::u16string(0x80, u'!');
    const std::u16string_view kanji =
        u"雨円王音火下花学気休金空月犬見口校左山糸子耳字日車手出女小上森人"
        u"水正生青赤石夕先川千早足村大男中虫町天田土入年白百文木本名目右力"
        u"立林引雲遠何夏家科歌画回会海絵貝外間顔汽記帰牛魚京教強玉近形計元"
        u"原戸古午後語工広交光行考高黄合谷国黒今才作算思紙止市自寺時室社弱"
        u"首秋春書少場色食心新親図数西声星晴切雪船前組走草多太体台池地知竹"
        u"茶昼長鳥朝通弟店点電冬刀当東答頭同道読南馬買売麦半番父風分聞米歩"
        u"母方北毎妹明鳴毛門夜野友用曜来楽里理話悪安暗医意育員院飲運泳駅園"
        u"横屋温化荷界開階角活寒感館岸岩起期客究急級宮球去橋業曲局銀苦具君"
        u"兄係軽血決県研言庫湖公向幸港号根細祭仕死使始指歯詩次事持式実写者"
        u"主守取酒受州拾終習週集住重所署助昭消商章勝乗植申身神深進世整線全"
        u"送息族他打対待代第題炭短着注柱帳調直追丁定庭鉄転都度投島湯登等動"
        u"童内肉農波配畑発反坂板皮悲美鼻氷表病秒品負部服福物平返勉放万味命"
        u"面問役薬油由有遊予洋葉陽様落流旅両緑礼列路和愛案衣以囲位委胃印英"
        u"栄塩央億加貨課芽改械害各覚完官漢管関観願希季紀喜旗器機議求救給挙"
        u"漁共協鏡競極区軍郡型景芸欠結建健験固功候航康告差菜最材昨刷殺察参"
        u"散産残士氏史司姉試辞失借種周宿順初省唱照賞燒臣信真成清勢静席積折"
        u"節説浅戦選然争相倉想象速側続卒孫帯隊達単談治置貯腸低底停的典伝徒"
        u"努灯堂働毒熱念敗倍博飯飛費必筆票標不夫付府副粉兵別辺変便包法望牧"
        u"末満脈民約勇要養浴利陸良料量輪類令冷例歴連練老労録圧易移因永営衛"
        u"益液演応往恩仮果価河過賀快解格確額刊幹慣歓眼基寄規技義逆久旧居許"
        u"境興均禁句訓群経潔件券険検絹限現減故個護効厚耕鉱構講混査再災妻採"
        u"際在財罪雑蚕酸賛支示志師資似児識質舎謝授収修衆祝述術準序除招承称"
        u"証条状常情織職制性政精製税責績接設舌絶銭善祖素総造像増則測属損退"
        u"貸態団断築張提程適敵統銅導特得徳独任燃能破犯判版比非肥備俵評貧布"
        u"婦富武復複仏編弁保墓報豊防貿暴未務無迷綿輸余預容率略留領異遺域壱"
        u"宇羽映延沿可我灰街拡革閣割株干巻看勧簡丸危机貴揮疑弓吸泣供胸郷勤"
        u"筋系径敬警劇穴兼憲権厳源己呼誤后好孝皇紅降鋼刻穀骨困砂座済裁策冊"
        u"至私姿視詞誌磁射捨尺釈若需樹宗就従縦縮熟純処諸署将笑傷障城蒸針仁"
        u"垂推寸是聖誠宣専染泉洗奏窓創層操蔵臓俗存尊宅担探段暖値仲忠宙著庁"
        u"兆頂潮賃痛展党討糖届難弐乳認納脳派拝肺背俳班晩否批秘腹奮陛閉片補"
        u"宝訪亡忘棒枚幕密盟模矢訳郵優幼羊欲翌卵乱覽裏律臨朗論一二三四五六"
        u"七八九十彼俺娘坊恋惑奴闘爆々越診賊般艇冒弾廃跡夢盾剣雷幽霊塞郊井";
    // clang-format on
    for (const auto& [table, expected] : {std::pair{JapaneseCharTable, kana},
                                          {JapaneseShiftCharTable, std::u16string_view(shifted)},
                                          {JapaneseWideCharTable, kanji}}) {
        ASSERT_EQ(table.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(table[i], expected[i]) << std::hex << i;
        }
    }
}

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "project/ProjectContext.h"
#include "project/SpritePlacementLists.h"
#include "scripts/MapListings.h"
#include "tests/maps/MapTestFixture.h"
#include "tests/scripts/ScriptWalkFixture.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/ObjectListBytes.h"

namespace {

constexpr std::uint32_t kMapId = 0x10;
constexpr std::uint32_t kScript = 0x0A8000;
constexpr std::uint32_t kData = 0x0B8000;
constexpr std::uint32_t kSprite = 0x0C0000;  // a sprite-info record
constexpr std::uint16_t kList = 0x4000;      // the object list's pointer in bank A

std::uint32_t PiecePosition(std::uint32_t piece) {
    return 0x0A9000 + 0x100 * piece;
}

struct ListingScene : MapScene {
    ListingScene() {
        image.SetMapHeader(kMapId, kScript);
        for (std::uint32_t piece = 0; piece < 16; ++piece) {
            image.SetScriptPiece(piece, PiecePosition(piece));
        }
    }
    std::uint32_t width = 0;
    HeaderScriptWriter Script() { return {image, kScript}; }
    HeaderScriptWriter Piece(std::uint32_t piece) { return {image, PiecePosition(piece)}; }

    ScriptTreeNode Header(std::uint32_t mapId = kMapId) {
        Sync();
        ScriptTreeNode top;
        ListHeaderScript(project, top, mapId);
        return top;
    }
    ScriptTreeNode Objects(std::uint32_t mapId = kMapId) {
        Sync();
        ScriptTreeNode top;
        ListSpritePlacement(project, top, mapId, false);
        return top;
    }
    std::uint32_t ListAt(std::uint16_t pointer) const {
        return image.Wrap(image.Table(RegionTable::SpritePlacementBankA) | pointer);
    }
};

class MapListing : public ::testing::Test, public ListingScene {};

bool Contains(const ScriptTreeNode& node, const std::string& text) {
    return node.text == text ||
           std::any_of(node.children.begin(), node.children.end(),
                       [&](const auto& child) { return Contains(child, text); });
}

std::string Hex(const char* format, std::uint32_t value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The operand texts of the listing's items whose text ends with `title`.
std::vector<std::string> ChildrenOf(const ScriptTreeNode& top, const std::string& title) {
    std::vector<std::string> out;
    for (const ScriptTreeNode& item : top.children) {
        if (item.text.ends_with(title) && !item.children.empty()) {
            out.push_back(item.children[0].text);
        }
    }
    return out;
}

}  // namespace

TEST_F(MapListing, EveryHeaderCommandShowsWhatTheLoaderReads) {
    auto script = Script();
    script.Ignored01().Music(7, kData).Unused04(kData).Layer(0, kData).Layer(1, kData);
    script.Layer(2, kData).Layer(3, kData).Metatiles(1, 2, 3, 0x01, kData);
    script.Metatiles(1, 2, 3, 0x80, kData).Palette(16, 0x20, kData).Tiles(1, 0, kData, 0x10);
    script.Flow(0xFB)
        .MusicTrack(0x1234)
        .FlagGoto(0x8000 | 5 << 3 | 2, 3)
        .Bytes(std::vector<std::uint8_t>{0x99});
    script.End();
    const ScriptTreeNode top = Header();
    renderer->Load(kMapId, width, width, true);
    const std::string p = Hex("%06X", renderer->paletteSource);
    ASSERT_EQ(renderer->layerSource[0], renderer->paletteSource + 2);
    EXPECT_EQ(renderer->mapMusicTrack, 0x1234u);

    std::vector<std::string> texts;  // each item with its operands
    for (const ScriptTreeNode& item : top.children) {
        texts.push_back(item.text + (item.children.empty() ? "" : " > " + item.children[0].text));
    }
    const std::vector<std::string> expected{
        "[A8000][01] > 11 22 33 44 55 66 ",
        "[A8007][02] Play SPC > EE ID:7 " + p,
        "[A800D][04] > " + p + " EE EE ",
        "[A8013][10] Map Tiles > 00 " + p,
        "[A8018][10] Map Layer 1 Data > 01 " + p,
        "[A801D][10] Map Layer 2 Data > 02 " + p + " ",
        "[A8022][10] Unknown:3 > 03",
        "[A8024][20] Tile Map > 01 02 03 01 " + p,
        "[A802C][20] Collision Data > 01 02 03 80 " + p,
        "[A8034][40] Palette > EE 10 20 " + p,
        "[A803B][80] Map Tiles > EE 01 00 " + p + " 10 EE ",
        "[A8044][08][FB]",
        "[A8046][08][FC] Call MapID 0 Script (Play SPC) > 4660",
        "[A804A][08][FD] Goto map script if flag set > if([05] = 04 ) Goto 0003->0A9300",
        "[A8050][99]",
        "[A8051][00] End"};
    EXPECT_EQ(texts, expected);
}

TEST_F(MapListing, FlowVisitsWhatTheLoaderLoads) {
    // Each piece loads a palette row of its own; the loader's rows are the listing's rows.
    const auto row = [](HeaderScriptWriter w, std::uint8_t r) {
        w.Palette(16, static_cast<std::uint8_t>(r * 16), kData);
        return w;
    };
    row(Script(), 1).Defer(4).Call(0x8001).FlagGoto(0, 6).ReturnOrGoto(2);
    row(Piece(1), 2).Call(3).GotoUnlessCalled(5).Return();
    row(row(Piece(3), 3).GotoUnlessCalled(5), 9).ReturnOrGoto(6);
    row(Piece(2), 7).Flow(0xF8).End();
    row(Piece(4), 8).End();
    row(Piece(5), 11).End();
    row(Piece(6), 12).End();
    const ScriptTreeNode top = Header();
    std::set<std::string> listed;
    for (const std::string& child : ChildrenOf(top, " Palette")) {
        listed.insert(child.substr(3, 5));
    }
    const std::set<std::string> loaded{"10 10", "10 20", "10 30", "10 70", "10 80", "10 90"};
    EXPECT_EQ(listed, loaded);
    EXPECT_TRUE(Contains(top, "0004->0A9400"));  // the deferred piece
    EXPECT_TRUE(Contains(top, "0005->0A9500"));  // a goto not taken inside a call
    EXPECT_TRUE(Contains(top, "0002->0A9200"));  // a return outside a call goes there
    Sync();
    renderer->Load(kMapId, width, width, true);
    for (std::uint32_t r = 1; r < 16; ++r) {
        EXPECT_EQ(renderer->argbPalette[r * 16 + 1] != (0x40000000u | (r * 16 + 1)),
                  listed.count(Hex("10 %X0", r)) == 1)
            << r;
    }
    EXPECT_TRUE(top.children.back().text.ends_with("[00] End"));
}

TEST_F(MapListing, HeaderLimitsAndUnusedMaps) {
    image.SetMapHeader(kMapId + 1, 2);
    image.SetMapHeader(kMapId + 2, PiecePosition(9));
    for (std::uint32_t piece = 0; piece < 11; ++piece) {
        Piece(piece).Call(piece + 1).End();
    }
    Piece(12).Flow(0x01).GotoUnlessCalled(12);
    image.SetMapHeader(kMapId + 3, PiecePosition(12));
    image.SetMapHeader(kMapId + 4, PiecePosition(13));
    Piece(13).Call(10).Call(10).End();  // the same piece from two places is no loop
    image.SetMapHeader(kMapId, PiecePosition(0));
    EXPECT_EQ(Header(kMapId + 1).children.size(), 1u);
    EXPECT_EQ(Header(kMapId + 1).children[0].text, kUnusedMapText);
    EXPECT_EQ(Header(kMapId + 2).children.back().text, "[A9904][00] End");
    EXPECT_EQ(Header(kMapId).children.back().text, "[Warning stack full, the script stops here]");
    const ScriptTreeNode loop = Header(kMapId + 3);
    EXPECT_EQ(loop.children.size(), 3u);
    EXPECT_EQ(loop.children.back().text, "[Warning the script loops here]");
    EXPECT_EQ(Header(kMapId + 4).children.back().text, "[A9D08][00] End");
    // An id past the header table is not read from the table that follows it.
    EXPECT_EQ(Texts(Header(1104)),
              std::vector<std::string>{"Please enter a map ID from 0x0000 to 0x044F."});
}

TEST_F(MapListing, ObjectListRowsNestedListsAndScripts) {
    image.PutBytes(kSprite, std::vector<std::uint8_t>{0, 0, 0, 0, 0x04, 0x07});
    image.PutBytes(kSprite + 0x10, std::vector<std::uint8_t>{0, 0, 0, 0x04, 0x21});
    const std::uint16_t nested = 0xFFF0;  // runs into the bank's end
    image.PutObjectList(kMapId, SyntheticImage::ObjectBank::A, kList,
                        ObjectListBytes()
                            .Head(0x0312)
                            .Object(0x00, 1, 2, 3, 0x0C8000, kSprite)
                            .Object(0x80, 0, 0, 0, 0x0C8000, kSprite)
                            .Object(0x01, 4, 5, 0xFF, 0x0C8000, kSprite + 0x10)
                            .Raw({1, 2, 3, 4, 5, 6})
                            .Raw({0x03, 0x42, 0xF0, 1, 2, 3, 4, 5, 6, 0xFE, 9, 0x56, 0x34, 0x12})
                            .Call2(0x8000 | 5 << 3 | 2, 7 << 3, nested)
                            .PlayerSpawn(7, 8, 9, 0x0C8000)
                            .End()
                            .Raw({0xD4}));
    image.PutObjectBytes(SyntheticImage::ObjectBank::A, nested,
                         ObjectListBytes().Call(0, kList + 2).Call(0, nested).Raw({0xFB, 1}));
    image.PutBytes(0x0C8000, std::vector<std::uint8_t>{0x60});  // RTS
    const ScriptTreeNode top = Objects();
    const std::uint32_t at = ListAt(kList);
    ASSERT_EQ(top.children.size(), 11u);
    EXPECT_EQ(top.children[0].text, "[0312]");
    EXPECT_EQ(top.children[1].text, Hex("[%04X][00] Spawn object", at + 2));
    EXPECT_EQ(top.children[1].children[0].text,
              "X:01 Y:02 F:03 Script offset: 0C8000 Sprite data: 0C0000 Enemy ID: 7");
    EXPECT_EQ(top.children[2].children[0].text,
              "X:00 Y:00 F:00 Script offset: 0C8000 Sprite data: 0C0000 Enemy ID: 7");
    const ScriptTreeNode& pos = top.children[3].children[0];
    EXPECT_EQ(pos.text,
              "X:04 Y:05 F:FF Script offset: 0C8000 Sprite data: 0C0010 Enemy ID: "
              "32[Spikey] U: 030201 04,05,06");
    EXPECT_EQ(pos.children.at(0).text.substr(0, 13), "Script flags:");
    EXPECT_EQ(top.children[4].text, Hex("[%04X][03] ?", at + 38));
    EXPECT_EQ(top.children[5].text,
              Hex("[%04X][42] Unhandled, will be handled as cmd:02", at + 39));
    EXPECT_EQ(top.children[6].children[0].text, "01 02 03 04 05 06");
    EXPECT_EQ(top.children[7].children[0].text, "09 123456");
    const ScriptTreeNode& call = top.children[8].children[0];
    EXPECT_EQ(call.text,
              Hex("if( [05] = 04 || [07] != 01 ) Call 0x%06X", (at & 0xFF0000) | nested));
    ASSERT_EQ(call.children.size(), 4u);
    EXPECT_EQ(call.children[0].children[0].children[0].text, "[Warning the list calls itself]");
    EXPECT_EQ(call.children[1].children[0].children[0].text, "[Warning the list calls itself]");
    EXPECT_EQ(call.children[3].text, "[Warning the list has no end in its bank]");
    EXPECT_EQ(top.children[9].children[0].text, "X:07 Y:08 09 0C8000");
    EXPECT_FALSE(top.children[9].children[0].children.empty());
    EXPECT_TRUE(top.children[10].children.empty());  // D4 after the end: no text

    // The listing walks the same commands as the project's lists.
    LoadSpritePlacementLists(project);
    EXPECT_EQ(project.spritePlacementLists.at(kMapId).entries.size(), top.children.size() - 1);
}

TEST_F(MapListing, SpawnPosWithoutSpriteDataKeepsTheLastAndUnusedMaps) {
    image.PutObjectList(kMapId, SyntheticImage::ObjectBank::B, kList,
                        ObjectListBytes()
                            .Head(0)
                            .Object(0x40, 1, 1, 0, 0x0C8000, 0x123456)
                            .Object(0x81, 2, 2, 0xC0, 0x0C8000, 0)
                            .Raw({0xA, 0, 0, 0xB, 0, 0})
                            .Object(0x01, 3, 3, 0, 0x0C8000, kSprite)
                            .End());
    image.PutBytes(0x0C8000, std::vector<std::uint8_t>{0x60});
    // An enemy byte one past the name table shows enemy 0.
    image.PutBytes(kSprite, std::vector<std::uint8_t>{0, 0, 0, 0x04, kObjectListEnemyCount + 1});
    const ScriptTreeNode top = Objects();
    ASSERT_EQ(top.children.size(), 5u);
    EXPECT_EQ(top.children[2].children[0].text,
              "X:02 Y:02 F:C0 Script offset: 0C8000 Sprite data: 123456 U: 00000A,00000B");
    EXPECT_EQ(
        top.children[3].children[0].text,
        "X:03 Y:03 F:00 Script offset: 0C8000 Sprite data: 0C0000 Enemy ID: 0[Huball (Normal)]");
    EXPECT_EQ(Objects(kMapId + 1).children.at(0).text, kUnusedMapText);
}

TEST_F(MapListing, ScriptsUnderObjectsShareOneBound) {
    ObjectListBytes list;
    list.Head(0);
    for (int i = 0; i < 6; ++i) {
        list.PlayerSpawn(1, 1, 0, 0x0D0000);  // zeros: a walk runs to its own item limit
    }
    image.PutObjectList(kMapId, SyntheticImage::ObjectBank::A, kList, list.End());
    const ScriptTreeNode top = Objects();
    ASSERT_EQ(top.children.size(), 8u);
    EXPECT_NE(top.children[4].children[0].children.at(0).text, "[Warning max items reached]");
    EXPECT_EQ(top.children[6].children[0].children.at(0).text, "[Warning max items reached]");
}

TEST_F(MapListing, RowBoundInsideANestedListWarnsOnce) {
    image.PutObjectList(kMapId, SyntheticImage::ObjectBank::A, kList,
                        ObjectListBytes().Head(0).Call(0, 0x5000).Raw({0x03, 0x03}).End());
    ObjectListBytes nested;
    for (int i = 0; i < 4200; ++i) {
        nested.Raw({0x03});
    }
    image.PutObjectBytes(SyntheticImage::ObjectBank::A, 0x5000, nested.End());
    const ScriptTreeNode top = Objects();
    std::size_t warnings = 0;
    const auto count = [&](const auto& self, const ScriptTreeNode& node) -> void {
        warnings += node.text == "[Warning max items reached]" ? 1 : 0;
        for (const ScriptTreeNode& child : node.children) {
            self(self, child);
        }
    };
    count(count, top);
    EXPECT_EQ(warnings, 1u);
    EXPECT_EQ(top.children.size(), 2u);  // the head word and the call; nothing after it
}

TEST_F(MapListing, NestedListsStopAtTheirDepthBound) {
    image.PutObjectList(kMapId, SyntheticImage::ObjectBank::A, kList,
                        ObjectListBytes().Head(0).Call(0, 0x5000).End());
    for (std::uint16_t i = 0; i < 12; ++i) {
        image.PutObjectBytes(SyntheticImage::ObjectBank::A, 0x5000 + 0x10 * i,
                             ObjectListBytes().Call(0, 0x5010 + 0x10 * i).End());
    }
    const ScriptTreeNode top = Objects();
    EXPECT_TRUE(Contains(top, "[Warning max nesting reached]"));
    EXPECT_FALSE(Contains(top, "[Warning the list calls itself]"));
    // One level less is listed in full.
    image.PutObjectBytes(SyntheticImage::ObjectBank::A, 0x5070, ObjectListBytes().End());
    EXPECT_FALSE(Contains(Objects(), "[Warning max nesting reached]"));
}

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "maps/MapNameTable.h"
#include "maps/MusicNameTable.h"

TEST(MapNameTable, EveryEntryStartsWithItsIdentifier) {
    ASSERT_EQ(MapNameTable.size(), 1105u);
    std::set<std::string> unique;
    for (std::size_t id = 0; id < MapNameTable.size(); ++id) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "0x%04X  ", static_cast<unsigned>(id));
        ASSERT_EQ(MapNameTable[id].rfind(prefix, 0), 0u) << MapNameTable[id];
        ASSERT_GT(MapNameTable[id].size(), 8u) << id;
        unique.insert(MapNameTable[id]);
    }
    EXPECT_EQ(unique.size(), MapNameTable.size());
    const auto unused = std::count_if(MapNameTable.begin(), MapNameTable.end(),
                                      [](const std::string& s) { return s.substr(8) == "Unused"; });
    EXPECT_EQ(unused, 208);
}

TEST(MapNameTable, SampleEntries) {
    EXPECT_EQ(MapNameTable[0x0000], "0x0000  Ring Menu (Hack)");
    EXPECT_EQ(MapNameTable[0x0007], "0x0007  Revive <Continent>");
    EXPECT_EQ(MapNameTable[0x0023], "0x0023  Opening - Souls flying to Towers");
    EXPECT_EQ(MapNameTable[0x0054], "0x0054  Lion's Den ");
    EXPECT_EQ(MapNameTable[0x0075], "0x0075  Quintent - Crashpad");
    EXPECT_EQ(MapNameTable[0x00AD], "0x00AD  Castle - Prision");
    EXPECT_EQ(MapNameTable[0x0100], "0x0100  Tower 1");
    EXPECT_EQ(MapNameTable[0x0200], "0x0200  Room with exit to map ID 0x201");
    EXPECT_EQ(MapNameTable[0x0351], "0x0351  Freedom - Inn - Room 1/Room 2");
    EXPECT_EQ(MapNameTable[0x0414], "0x0414  Mosque - House - 0x413's Backroom");
    EXPECT_EQ(MapNameTable[0x0422], "0x0422  Castle - -1st Floor - Room 2");
    EXPECT_EQ(MapNameTable[0x0450], "0x0450  Unused");
}

TEST(MapNameTable, RangesAreExpandedToEveryIdentifier) {
    // Both ends and the middle of runs that share one name.
    EXPECT_EQ(MapNameTable[0x0027], "0x0027  Unused");
    EXPECT_EQ(MapNameTable[0x0031], "0x0031  Unused");
    EXPECT_EQ(MapNameTable[0x003B], "0x003B  Unused");
    EXPECT_EQ(MapNameTable[0x003C], "0x003C  Restore souls of weaver's house");
    EXPECT_EQ(MapNameTable[0x0079], "0x0079  Lhasa");
    EXPECT_EQ(MapNameTable[0x0086], "0x0086  Lhasa");
    EXPECT_EQ(MapNameTable[0x0087], "0x0087  Lhasa - Shop");
    EXPECT_EQ(MapNameTable[0x01FC], "0x01FC  Stockholm - House (Unused)");
    EXPECT_EQ(MapNameTable[0x01FF], "0x01FF  Stockholm - House (Unused)");
    EXPECT_EQ(MapNameTable[0x0258], "0x0258  Labtower");
    EXPECT_EQ(MapNameTable[0x0270], "0x0270  Labtower");
    EXPECT_EQ(MapNameTable[0x02E1], "0x02E1  Unused");
    EXPECT_EQ(MapNameTable[0x031F], "0x031F  Unused");
    EXPECT_EQ(MapNameTable[0x0320], "0x0320  Loire - 1st Floor - Room 2");
    EXPECT_EQ(MapNameTable[0x0434], "0x0434  Castle");
}

TEST(MusicNameTable, NamesByTrack) {
    ASSERT_EQ(MusicNameTable.size(), 59u);
    EXPECT_EQ(MusicNameTable[0], "Silence");
    EXPECT_EQ(MusicNameTable[22], "Good Night ...");
    EXPECT_EQ(MusicNameTable[45], "Heartbeats + Revival of Animals");
    EXPECT_EQ(MusicNameTable[47], "Nomands in the Desert");
    EXPECT_EQ(MusicNameTable[58], "Defeat");
    std::set<std::size_t> trailing;
    for (std::size_t i = 0; i < MusicNameTable.size(); ++i) {
        if (MusicNameTable[i].ends_with(' ')) {
            trailing.insert(i);
        }
    }
    EXPECT_EQ(trailing, (std::set<std::size_t>{2, 4, 5, 6, 8, 10, 11, 14, 18}));
    EXPECT_EQ(MusicNameTable[2], "Tower of Trail ");
    EXPECT_EQ(MusicNameTable[18], "Wandering Spirits ");
}

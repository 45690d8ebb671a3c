#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "maps/MapNameTable.h"
#include "maps/MusicNameTable.h"

TEST(MapNameTable, EveryIdentifierOnceWithRangesExpanded) {
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

    EXPECT_EQ(MapNameTable[0x0000], "0x0000  Ring Menu (Hack)");
    EXPECT_EQ(MapNameTable[0x0054], "0x0054  Lion's Den ");
    EXPECT_EQ(MapNameTable[0x0450], "0x0450  Unused");
    // Both ends of runs that share one name, and the entries beside them.
    EXPECT_EQ(MapNameTable[0x0079], "0x0079  Lhasa");
    EXPECT_EQ(MapNameTable[0x0086], "0x0086  Lhasa");
    EXPECT_EQ(MapNameTable[0x0087], "0x0087  Lhasa - Shop");
    EXPECT_EQ(MapNameTable[0x031F], "0x031F  Unused");
    EXPECT_EQ(MapNameTable[0x0320], "0x0320  Loire - 1st Floor - Room 2");
}

TEST(MusicNameTable, NamesByTrack) {
    ASSERT_EQ(MusicNameTable.size(), 59u);
    EXPECT_EQ(MusicNameTable[0], "Silence");
    EXPECT_EQ(MusicNameTable[47], "Nomands in the Desert");
    EXPECT_EQ(MusicNameTable[58], "Defeat");
    std::set<std::size_t> trailing;
    for (std::size_t i = 0; i < MusicNameTable.size(); ++i) {
        if (MusicNameTable[i].ends_with(' ')) {
            trailing.insert(i);
        }
    }
    EXPECT_EQ(trailing, (std::set<std::size_t>{2, 4, 5, 6, 8, 10, 11, 14, 18}));
    EXPECT_EQ(MusicNameTable[18], "Wandering Spirits ");
}

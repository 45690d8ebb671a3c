#include <gtest/gtest.h>

#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

TEST(RegionDetection, EveryLetterRule) {
    struct Case {
        std::uint8_t cb, db, c7;
        std::uint32_t region;
    };
    const Case cases[] = {
        {'A', 0, 'J', 0}, {'J', 0, 'J', 0},  // 'J' at 0xFFCB is no letter of the first test
        {'J', 0, 'X', 7}, {'D', 0, 'J', 1}, {'D', 2, 0, 1}, {'D', 1, 0, 4}, {'P', 1, 'J', 2},
        {'S', 0, 0, 3},   {'M', 0, 'J', 5}, {'F', 0, 0, 6}, {0, 0, 0, 7},
    };
    for (const Case& c : cases) {
        SyntheticImage image(SyntheticImage::k1MB, Region::Unknown);
        image.Put8(0xFFCB, c.cb);
        image.Put8(0xFFDB, c.db);
        image.Put8(0xFFC7, c.c7);
        EXPECT_EQ(DetectRegion(image.Bytes()), c.region)
            << "letters " << c.cb << " " << int(c.db) << " " << c.c7;
    }
    EXPECT_EQ(DetectRegion({}), kRegionNone);
}

TEST(RomImport, BankBytesAndTheFlagOnSixMegabyteImagesOnly) {
    for (std::uint32_t size : {SyntheticImage::k1MB, SyntheticImage::k4MB, SyntheticImage::k6MB}) {
        SyntheticImage image(size, Region::UK);
        ProjectContext project;
        project.flags = kProjectFlag6MB | 0x10;  // other bits are left as they are
        EXPECT_EQ(ImportRom(project, image.Bytes()), 2u);
        EXPECT_EQ(project.romSize, size);
        const bool extended = size == SyntheticImage::k6MB;
        EXPECT_EQ(project.flags, extended ? kProjectFlag6MB | 0x10 : 0x10u);
        for (std::uint32_t at : {0xF403u, 0xF411u, 0xF417u, 0x69562u, 0x69569u}) {
            EXPECT_EQ(project.Read8(at), extended ? 0x50 : 0) << std::hex << at;
        }
        for (std::uint32_t at : {0xF409u, 0xF420u, 0xF42Bu, 0x6956Du, 0x69574u}) {
            EXPECT_EQ(project.Read8(at), extended ? 0x51 : 0) << std::hex << at;
        }
        EXPECT_EQ(project.exitLists.size(), kMapCount);
        if (!extended) {
            EXPECT_EQ(project.romImage, image.Bytes());
        }
    }

    SyntheticImage unknown(SyntheticImage::k4MB, Region::Unknown);
    ProjectContext project;
    EXPECT_EQ(ImportRom(project, unknown.Bytes()), kRegionNone);
    EXPECT_EQ(project.romSize, 0u);
    EXPECT_TRUE(project.exitLists.empty());
}

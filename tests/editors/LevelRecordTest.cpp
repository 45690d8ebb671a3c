#include <gtest/gtest.h>

#include "editors/LevelRecord.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

TEST(LevelRecord, FieldsInRecordOrderAndATableReadOnlyWhole) {
    const LevelRecordBytes bytes = {0x56, 0x34, 0x12, 1, 2, 3, 4, 0x10, 0, 0x20, 0};
    EXPECT_EQ(UnpackLevelRecord(bytes), (LevelRecord{0x123456, 0x0201, 0x0403, 0x10, 0x20}));
    EXPECT_EQ(PackLevelRecord(UnpackLevelRecord(bytes)), bytes);

    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);
    project.SetTable(RegionTable::ExperienceTable, project.romSize - 550);
    EXPECT_TRUE(ReadLevelTable(project));
    project.SetTable(RegionTable::ExperienceTable, project.romSize - 549);
    EXPECT_FALSE(ReadLevelTable(project));
}

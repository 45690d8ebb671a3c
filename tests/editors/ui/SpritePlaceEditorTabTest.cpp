#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "editors/ui/SpritePlaceEditorTab.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

namespace {

void Open(const std::vector<std::uint8_t>& bytes) {
    auto project = std::make_unique<ProjectContext>();
    ASSERT_NE(ImportRom(*project, bytes), kRegionNone);
    ReplaceCurrentProject(std::move(project));
}

class SpritePlaceEditorTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        SyntheticImage image(SyntheticImage::k6MB, SyntheticImage::Region::German);
        image.PutObjectList(9, SyntheticImage::ObjectBank::B, 0x9000,
                            ObjectListBytes()
                                .Head(0x1A2B)
                                .Object(0x00, 3, 4, 0x20, 0xC12345, 0xC6789A)
                                .Object(0x01, 5, 6, 0xFF, 0xC11111, 0xC22222)
                                .Long(0xC33333)
                                .Raw({1, 2, 3})
                                .Object(0x01, 7, 8, 0xC0, 0xC11111, 0xC22222)
                                .Long(0xC44444)
                                .Long(0xC55555)
                                .Object(0x80, 1, 2, 3, 0xCAAAAA, 0xCBBBBB)
                                .Call2(0x8011, 0x0022, 0x9000 + 2 + 10 + 16 + 16 + 10 + 7)
                                .Raw({0xFB, 9, 0x56, 0x34, 0xC2, 0xFE, 8, 0x21, 0x43, 0xC5})
                                .PlayerSpawn(10, 11, 12, 0xC76543)
                                .Raw({0xF0, 1, 2, 3, 4, 5, 6, 0xF1})
                                .End());
        Open(image.Bytes());
        page.show();
    }
    void TearDown() override { DestroyCurrentProject(); }

    template <typename T>
    T* Child(const char* name) {
        return NamedChild<T>(page, name);
    }
    void Type(const char* edit, const char* text) { Child<QLineEdit>(edit)->setText(text); }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        auto* tree = Child<QTreeWidget>("entries");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            lines.push_back(tree->topLevelItem(i)->text(0).toStdString());
        }
        return lines;
    }

    ScriptedPrompts prompts;
    SpritePlaceEditorTab page{prompts};
};

}  // namespace

TEST_F(SpritePlaceEditorTabTest, TreeShowsEveryEntryOfTheMap) {
    Type("mapId", "9");
    QTest::keyClick(Child<QLineEdit>("mapId"), Qt::Key_Return);
    const std::vector<std::string> expected = {
        "[00] X:3 Y:4 Flag:20 Script: C12345 Sprite: C6789A",
        "[01] X:5 Y:6 Flag:FF Script: C11111 Sprite: C22222 Unknown: C33333 01,02,03",
        "[01] X:7 Y:8 Flag:C0 Script: C11111 Sprite: C22222 Unknown: C44444 C55555",
        "[80] Script: CAAAAA Sprite: CBBBBB",
        "[FA] Flag:9011 Flag:0022 Script: 0002",
        "[FB] Flag:09 Script: C23456",
        "[FE] Flag:08 Script: C54321",
        "[FD] X:10 Y:11 Flag:0C Script: C76543",
        "[F0]",
        "[F1]",
        "[FF] Name:",
    };
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(Child<QLineEdit>("flags")->text(), "1A2B");
    EXPECT_EQ(Child<QTreeWidget>("entries")->topLevelItem(4)->data(0, Qt::UserRole).toInt(), 4);

    // A map id that names no map leaves the tree as it was.
    Type("mapId", "-1");
    Child<QPushButton>("load")->click();
    EXPECT_EQ(prompts.LastMessage(), kSpritePlacementMapIdRange);
    EXPECT_EQ(Lines(), expected);
}

TEST_F(SpritePlaceEditorTabTest, AddedEntryIsSavedAndShownAfterReopening) {
    Type("mapId", "0x9");
    Child<QComboBox>("type")->setCurrentIndex(6);  // "0xFD"
    Type("x", "12");
    Type("y", "0x0D");
    Type("flag", "1");
    Type("scriptOffset", "0xC0FFEE");
    Child<QPushButton>("add")->click();
    Child<QPushButton>("save")->click();
    EXPECT_TRUE(prompts.messages.empty());

    Open(currentProject->romImage);
    Child<QPushButton>("load")->click();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[9], "[FD] X:12 Y:13 Flag:01 Script: C0FFEE");
    EXPECT_EQ(lines[4], "[FA] Flag:9011 Flag:0022 Script: 0002");
}

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

std::vector<std::string> Lines(const QWidget& page) {
    std::vector<std::string> lines;
    auto* tree = NamedChild<QTreeWidget>(page, "entries");
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        lines.push_back(tree->topLevelItem(i)->text(0).toStdString());
    }
    return lines;
}

}  // namespace

TEST(SpritePlaceEditorTab, ShowsTheTreeAndReopensWithTheAddedEntry) {
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
                            .Call2(0x8011, 0x0022, 0x9000 + 61)  // calls the 0xFB entry
                            .Raw({0xFB, 9, 0x56, 0x34, 0xC2, 0xFE, 8, 0x21, 0x43, 0xC5})
                            .PlayerSpawn(10, 11, 12, 0xC76543)
                            .Raw({0xF0, 1, 2, 3, 4, 5, 6, 0xF1})
                            .End());
    Open(image.Bytes());
    ScriptedPrompts prompts;
    SpritePlaceEditorTab page(prompts);
    page.show();
    const auto type = [&](const char* edit, const char* text) {
        NamedChild<QLineEdit>(page, edit)->setText(text);
    };
    type("mapId", "9");
    QTest::keyClick(NamedChild<QLineEdit>(page, "mapId"), Qt::Key_Return);
    std::vector<std::string> expected = {
        "[00] X:3 Y:4 Flag:20 Script: C12345 Sprite: C6789A",
        "[01] X:5 Y:6 Flag:FF Script: C11111 Sprite: C22222 Unknown: C33333 01,02,03",
        "[01] X:7 Y:8 Flag:C0 Script: C11111 Sprite: C22222 Unknown: C44444 C55555",
        "[80] Script: CAAAAA Sprite: CBBBBB",
        "[FA] Flag:9011 Flag:0022 Script: 903D",  // the link the image holds
        "[FB] Flag:09 Script: C23456",
        "[FE] Flag:08 Script: C54321",
        "[FD] X:10 Y:11 Flag:0C Script: C76543",
        "[F0]",
        "[F1]",
        "[FF] Name:",
    };
    EXPECT_EQ(Lines(page), expected);
    EXPECT_EQ(NamedChild<QLineEdit>(page, "flags")->text(), "1A2B");
    // What the map's list holds is shown, not edited here.
    for (const char* shown : {"flags", "name"}) {
        EXPECT_TRUE(NamedChild<QLineEdit>(page, shown)->isReadOnly()) << shown;
    }
    type("mapId", "-1");
    NamedChild<QPushButton>(page, "load")->click();
    EXPECT_EQ(prompts.LastMessage(), "Please enter a map ID from 0x0000 to 0x044F.");
    EXPECT_EQ(Lines(page), expected);

    // Each type enables the fields it is built from, whatever was chosen before.
    type("mapId", "0x9");
    const auto choose = [&](int line) {
        NamedChild<QComboBox>(page, "type")->setCurrentIndex(line);
        page.OnTypeSelChange();
    };
    const auto enabled = [&](const char* edit) {
        return NamedChild<QLineEdit>(page, edit)->isEnabled();
    };
    choose(8);  // "0xFF", then "0x00"
    choose(0);
    EXPECT_TRUE(enabled("x") && enabled("spriteOffset") && !enabled("extraFF0"));
    choose(1);  // "0x01"
    EXPECT_TRUE(enabled("extraFF0"));
    choose(6);  // "0xFD", as the entry added here
    EXPECT_TRUE(enabled("x") && !enabled("spriteOffset"));
    type("x", "12");
    type("y", "0x0D");
    type("flag", "1");
    type("scriptOffset", "0xC0FFEE");
    NamedChild<QPushButton>(page, "add")->click();
    NamedChild<QPushButton>(page, "save")->click();
    EXPECT_EQ(prompts.messages.size(), 1u);
    Open(currentProject->romImage);
    NamedChild<QPushButton>(page, "load")->click();
    expected.insert(expected.end() - 2, "[FD] X:12 Y:13 Flag:01 Script: C0FFEE");
    expected[4] = "[FA] Flag:9011 Flag:0022 Script: 88E9";  // the list now lies in bank 0x51
    EXPECT_EQ(Lines(page), expected);
    DestroyCurrentProject();
}

TEST(SpritePlaceEditorTab, AddIsOffWhereSaveIsRefused) {
    Open(SyntheticImage(SyntheticImage::k4MB, SyntheticImage::Region::German).Bytes());
    ScriptedPrompts prompts;
    SpritePlaceEditorTab page(prompts);
    EXPECT_FALSE(NamedChild<QPushButton>(page, "add")->isEnabled());
    Open(SyntheticImage(SyntheticImage::k6MB, SyntheticImage::Region::German).Bytes());
    page.Reset();
    EXPECT_TRUE(NamedChild<QPushButton>(page, "add")->isEnabled());
    DestroyCurrentProject();
}

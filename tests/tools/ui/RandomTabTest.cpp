#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"
#include "tools/PatchFiles.h"
#include "tools/ui/RandomTab.h"

using RandomTabPage = PageWindow;

namespace {

ChestRecord Chest(std::uint16_t item, std::uint16_t id, std::uint8_t kind = 0) {
    return {0, 1, 2, kind, 0, item, id};
}

void Click(RandomTab& page, const char* name) {
    NamedChild<QPushButton>(page, name)->click();
}

}  // namespace

TEST_F(RandomTabPage, ButtonsWithoutAProjectDoNothing) {
    RandomTab& page = *window.RandomPage();
    EXPECT_FALSE(page.isVisible());
    for (const char* name :
         {"bingo", "patches", "bosses", "random", "entrance", "load", "cancel"}) {
        Click(page, name);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RandomTabPage, LoadListsTheChestsAndRandomChangesWeapons) {
    SyntheticImage image;
    image.Put8(image.Table(RegionTable::ChestDataBank), 0xFF);
    std::vector<ChestRecord> chests{Chest(0x8010, 0x20), Chest(130, 0x21)};
    for (std::uint16_t i = 0; i < 138; ++i) {
        chests.push_back(Chest(5, 0x30));
    }
    image.PutChestList(0x11, 0x1000, chests);
    NewProject(image);
    RandomTab& page = *window.RandomPage();
    Click(page, "load");
    EXPECT_EQ(NamedChild<QComboBox>(page, "chest1009")->currentText(), "011|10");
    EXPECT_EQ(NamedChild<QComboBox>(page, "chest1102")->currentText(), "011|Ra Spear");
    for (const char* box : {"chest1127", "chest1010", "chest1087", "chest1240"}) {
        EXPECT_EQ(NamedChild<QComboBox>(page, box)->count(), 1) << box;
    }
    EXPECT_EQ(prompts.LastMessage(), "8 more chests are not listed.");

    Click(page, "random");
    Click(page, "load");
    EXPECT_EQ(NamedChild<QComboBox>(page, "chest1102")->currentText(), "011|Carrot");
    EXPECT_EQ(page.Chests().size(), 140u);

    // An unknown kind: "Load" lists up to it and says so; "Random" changes nothing.
    image.PutChestList(0x12, 0x3000, std::vector{Chest(130, 0x40, 0x40)});
    NewProject(image);
    Click(page, "load");
    EXPECT_EQ(prompts.LastMessage(), kUnknownChestFlag);
    prompts.messages.clear();
    Click(page, "random");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{kUnknownChestFlag});
    EXPECT_EQ(currentProject->romImage, image.Bytes());
}

TEST_F(RandomTabPage, PatchButtonsReachTheImage) {
    NewProject(SyntheticImage());
    RandomTab& page = *window.RandomPage();
    Click(page, "bingo");
    EXPECT_EQ(currentProject->Read8(0x10AE8B), 0x48);
    EXPECT_EQ(currentProject->Read8(0x10B46B), 0x4C);
    EXPECT_EQ(currentProject->Read8(0x10B56B), 0x53);
    Click(page, "bosses");
    EXPECT_NE(prompts.LastMessage().find("Boss exit 7 "), std::string::npos);

    prompts.messages.clear();
    NamedChild<QCheckBox>(page, "asmPatches")->setChecked(true);
    Click(page, "patches");
    // No data files: the fixed changes, the markers, then ItemAdd.bin and seven more files.
    EXPECT_EQ(prompts.messages.size(), 10u);
    EXPECT_EQ(prompts.LastMessage(), kPatchFileFailed);

    prompts.messages.clear();
    currentProject->exitLists[2] = {{1, 1, 1, 1, 0x10}, {2, 2, 2, 2, 0x11}};
    Click(page, "entrance");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(currentProject->exitLists[2].size(), 2u);
}

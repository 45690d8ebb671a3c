#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "app/ui/CQuenmarkDlg.h"
#include "maps/MapRenderer.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void NewProject(const SyntheticImage& image) {
        image.WriteFile("start.smc");
        if (currentProject != nullptr) {
            prompts.yesNoAnswers.push_back(true);
        }
        prompts.fileAnswers.push_back(std::filesystem::path("start.smc"));
        window.Action("fileNew")->trigger();
    }

    ScriptedPrompts prompts;
    CQuenmarkDlg window{prompts};
};

}  // namespace

TEST_F(MainWindow, NewAndOpenShowTheStripAndUnloadBothMapPages) {
    window.show();
    EXPECT_FALSE(window.TabStrip()->isVisible());
    WorldMapProject data;
    NewProject(data.image);
    EXPECT_TRUE(window.TabStrip()->isVisible());
    ASSERT_TRUE(SaveProject(*currentProject, "world.qmp", prompts));
    MapTab* maps = window.MapsPage();
    WorldMapTab* worldMaps = window.WorldMapsPage();
    for (const char* action : {"fileNew", "fileOpen"}) {
        NamedChild<QLineEdit>(*maps, "mapId")->setText("0x10");  // no objects: an empty map
        NamedChild<QAbstractButton>(*maps, "load")->click();
        ASSERT_NE(maps->MapTabRenderer(), nullptr);
        worldMaps->OnLoad();
        ASSERT_NE(worldMaps->WorldMapRenderer(), nullptr);
        prompts.yesNoAnswers.push_back(true);
        prompts.fileAnswers.push_back(action == std::string("fileNew") ? "start.smc" : "world.qmp");
        window.Action(action)->trigger();
        EXPECT_EQ(NamedChild<QLineEdit>(*maps, "mapId")->text(), "") << action;
        EXPECT_FALSE(NamedChild<QAbstractButton>(*worldMaps, "save")->isEnabled()) << action;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainWindow, TheWikiOpensAndSaveAndMapCommandsNeedAProjectAndAMap) {
    window.Action("helpViewWiki")->trigger();
    ASSERT_EQ(prompts.openedUrls.size(), 1u);
    EXPECT_NE(prompts.openedUrls[0].find("index.php?title=Quenmark"), std::string::npos);
    for (const char* action : {"romSaveAs", "fileSaveAs", "mapSaveAs", "mapLoad"}) {
        window.Action(action)->trigger();
    }
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"Please open or create a project first.",
                                        "Please open or create a project first.",
                                        "Please load a map first.", "Please load a map first."}));
    EXPECT_TRUE(prompts.dialogTitles.empty());
}

TEST_F(MainWindow, MapMenuExportsAndImportsTheMapsPagesLayer) {
    NewProject(MapPageProject().image);
    MapTab* page = window.MapsPage();
    NamedChild<QLineEdit>(*page, "mapId")->setText("0x0A");
    NamedChild<QAbstractButton>(*page, "load")->click();
    ASSERT_NE(page->MapTabRenderer(), nullptr);
    const std::vector<std::uint8_t> layer = page->MapTabRenderer()->layerMap[0];

    prompts.fileAnswers.push_back(std::filesystem::path("level"));
    window.Action("mapSaveAs")->trigger();
    EXPECT_EQ(ReadWholeFile("level.map"), layer);

    ASSERT_TRUE(WriteWholeFile("cell.map", std::vector<std::uint8_t>{7, 0}));
    prompts.fileAnswers.push_back(std::filesystem::path("cell.map"));
    window.Action("mapLoad")->trigger();
    EXPECT_EQ(page->MapTabRenderer()->layerMap[0][0], 7);
    EXPECT_TRUE(prompts.messages.empty());
}

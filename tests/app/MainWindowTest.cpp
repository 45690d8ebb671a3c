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

TEST_F(MainWindow, TitleAndTabsInOrderHiddenUntilAProjectExists) {
    window.show();
    EXPECT_EQ(window.windowTitle(), "Quenmark v3.2 (Built: Aug 31 2026) Public");
    QTabWidget* tabs = window.TabStrip();
    EXPECT_FALSE(tabs->isVisible());
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i) {
        texts << tabs->tabText(i);
    }
    EXPECT_EQ(texts,
              (QStringList{"Script Viewer", "Maps", "World Maps", "Experience", "Enemies", "Items",
                           "Sprites", "Title Screen", "Script Editor", "Sprite Placement Editor"}));
    EXPECT_EQ(tabs->widget(1), window.MapsPage());
    EXPECT_EQ(tabs->widget(2), window.WorldMapsPage());
}

TEST_F(MainWindow, NewProjectShowsTheStripAndARefusedImageKeepsIt) {
    window.show();
    NewProject(SyntheticImage(SyntheticImage::k4MB, Region::German));
    ASSERT_NE(currentProject, nullptr);
    EXPECT_TRUE(window.TabStrip()->isVisible());
    ProjectContext* open = currentProject;

    NewProject(SyntheticImage(SyntheticImage::k4MB, Region::Unknown));
    EXPECT_EQ(currentProject, open);
    EXPECT_TRUE(window.TabStrip()->isVisible());
    EXPECT_EQ(prompts.questions.back(), "Create new project?");
    EXPECT_EQ(prompts.LastMessage(),
              "This ROM is not supported or invalid.\nOnly the German, Spanish, Japanese and UK "
              "version are supported.");
}

TEST_F(MainWindow, NewProjectUnloadsBothMapPages) {
    WorldMapProject data;
    NewProject(data.image);
    MapTab* maps = window.MapsPage();
    NamedChild<QLineEdit>(*maps, "mapId")->setText("0x10");  // no objects: an empty map
    NamedChild<QAbstractButton>(*maps, "load")->click();
    ASSERT_NE(maps->MapTabRenderer(), nullptr);
    WorldMapTab* worldMaps = window.WorldMapsPage();
    worldMaps->OnLoad();
    ASSERT_NE(worldMaps->WorldMapRenderer(), nullptr);

    NewProject(data.image);
    EXPECT_EQ(maps->MapTabRenderer(), nullptr);
    EXPECT_EQ(worldMaps->WorldMapRenderer(), nullptr);
    EXPECT_FALSE(NamedChild<QAbstractButton>(*worldMaps, "save")->isEnabled());
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
    EXPECT_EQ(prompts.dialogTitles.back(), "Select File");
    EXPECT_EQ(prompts.dialogFilters.back(), "Map file (*.map)|*.map|All Files (*.*)|*.*|");
}

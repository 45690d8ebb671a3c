#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/ui/AppInfo.h"
#include "app/ui/CQuenmarkDlg.h"
#include "maps/LayerSave.h"
#include "maps/MapRenderer.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ObjectListBytes.h"
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

// An image and a project whose tables know nothing of a relocated layer still keep it.
TEST_F(MainWindow, NewAndOpenRecordTheFreeAreaBlocksThatTheImageUses) {
    SaveScene s(SyntheticImage::k6MB);
    s.Open();
    // A block whose last byte starts a 16-byte granule: a walk that missed its head would
    // leave that byte out.
    for (std::uint32_t cells = 400; (5 + s.StreamLength(1)) % 16 != 1; ++cells) {
        SaveScene::Scramble(*s.renderer, 1, cells);
    }
    ASSERT_TRUE(SaveEditedLayer(*s.renderer, 1).saved);
    const AllocEntry used = s.project.allocTable[0];
    s.project.allocTable = {};
    std::fill_n(s.project.romImage.begin() + 0x400000, 0x3000, 0);
    ASSERT_TRUE(WriteWholeFile("used.smc", s.project.romImage));
    ASSERT_TRUE(SaveProject(s.project, "used.qmp", prompts));
    for (const char* action : {"fileNew", "fileOpen"}) {
        prompts.yesNoAnswers.push_back(true);
        prompts.fileAnswers.push_back(action == std::string("fileNew") ? "used.smc" : "used.qmp");
        window.Action(action)->trigger();
        ASSERT_NE(currentProject, nullptr);
        EXPECT_EQ(currentProject->allocTable[0], used) << action;
    }
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

TEST_F(MainWindow, AfterNewNoPageShowsOrWritesThePreviousProject) {
    WorldMapProject data;
    data.image.PutObjectList(5, SyntheticImage::ObjectBank::A, 0x9000,
                             ObjectListBytes().Head(0x0300).PlayerSpawn(1, 2, 3, 0xC12345).End());
    const auto page = [&](const char* name) { return NamedChild<QWidget>(window, name); };
    const auto click = [&](const char* pageName, const char* button) {
        NamedChild<QAbstractButton>(*page(pageName), button)->click();
    };
    OpenSpriteProject();
    NamedChild<QLineEdit>(*page("SpritesTab"), "spriteInfoOffset")->setText("0x100000");
    click("SpritesTab", "load");
    auto* animations = NamedChild<QListWidget>(*page("SpritesTab"), "animations");
    ASSERT_EQ(animations->count(), 3);
    NewProject(data.image);
    EXPECT_EQ(animations->count(), 0);
    WorldMapTab* worldMaps = window.WorldMapsPage();
    worldMaps->OnLoad();
    click("TitleScreenTab", "load");
    click("ScriptsTab", "loadScript");
    click("ItemsAttributeTab", "load");
    NamedChild<QLineEdit>(*page("SpritePlaceEditorTab"), "mapId")->setText("5");
    click("SpritePlaceEditorTab", "load");
    auto* title = page("TitleScreenTab");
    auto* scripts = NamedChild<QTreeWidget>(*page("ScriptsTab"), "tree");
    auto* placement = NamedChild<QTreeWidget>(*page("SpritePlaceEditorTab"), "entries");
    auto* change0 = NamedChild<QLineEdit>(*page("ItemsAttributeTab"), "change0");
    ASSERT_NE(worldMaps->Model().view.At(1, 1), kPageBackground);
    ASSERT_TRUE(NamedChild<QAbstractButton>(*title, "save")->isEnabled());
    ASSERT_GT(scripts->topLevelItemCount(), 0);
    ASSERT_EQ(placement->topLevelItemCount(), 2);
    ASSERT_FALSE(change0->text().isEmpty());

    NewProject(data.image);
    EXPECT_EQ(worldMaps->Model().view.At(1, 1), kPageBackground);
    EXPECT_FALSE(NamedChild<QAbstractButton>(*title, "save")->isEnabled());
    EXPECT_EQ(scripts->topLevelItemCount(), 0);
    EXPECT_EQ(placement->topLevelItemCount(), 0);
    EXPECT_EQ(change0->text(), "");
}

TEST_F(MainWindow, FitsA1280By720ScreenAndTheWikiSaysWhenNoBrowserOpens) {
    // Every page scrolls rather than widening the window.
    WorldMapProject data;
    NewProject(data.image);
    window.show();
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(least.width(), 1280);
    EXPECT_LE(least.height(), 720 - 40);  // room for a title bar and a panel

    // At the size the window takes there, the Maps page needs no sideways scrolling.
    window.resize(CQuenmarkDlg::SizeFor({1280, 720}));
    auto* mapsArea = static_cast<QScrollArea*>(window.MapsPage()->parentWidget()->parentWidget());
    window.TabStrip()->setCurrentWidget(mapsArea);
    QApplication::processEvents();
    EXPECT_LE(window.MapsPage()->width(), mapsArea->viewport()->width());

    prompts.browserOpens = false;
    window.Action("helpViewWiki")->trigger();
    EXPECT_EQ(prompts.LastMessage(),
              "No web browser could be opened for " + std::string(kWikiUrl) + ".");
}

TEST_F(MainWindow, ALargerWindowGivesBothMapViewsTheRoom) {
    WorldMapProject data;
    NewProject(data.image);
    window.show();
    NamedChild<QAbstractButton>(*window.WorldMapsPage(), "load")->click();
    window.resize(1920, 1080);
    for (QWidget* page : {static_cast<QWidget*>(window.MapsPage()),
                          static_cast<QWidget*>(window.WorldMapsPage())}) {
        window.TabStrip()->setCurrentWidget(
            page->parentWidget()->parentWidget());  // its scroll area
        QApplication::processEvents();
    }
    // The loaded world map fills the larger view; the empty Maps view is blank at its size.
    EXPECT_GT(window.MapsPage()->Model().view.Width(), 512 + 400);
    EXPECT_GT(window.MapsPage()->Model().view.Height(), 512 + 200);
    EXPECT_GT(window.WorldMapsPage()->Model().view.Width(), 832 + 400);
    EXPECT_GT(window.WorldMapsPage()->Model().view.Height(), 560 + 200);
}

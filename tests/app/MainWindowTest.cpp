#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/ui/CAboutDlg.h"
#include "app/ui/CQuenmarkDlg.h"
#include "maps/MapRenderer.h"
#include "maps/ui/MapTab.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void NewProject(const char* file, bool answerYes = true) {
        if (currentProject != nullptr) {
            prompts.yesNoAnswers.push_back(answerYes);
        }
        prompts.fileAnswers.push_back(std::filesystem::path(file));
        window.Action("fileNew")->trigger();
    }

    ScriptedPrompts prompts;
    CQuenmarkDlg window{prompts};
};

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

}  // namespace

TEST_F(MainWindow, TitleAndTabsInOrderHiddenUntilAProjectExists) {
    window.show();
    EXPECT_EQ(window.windowTitle(), "Quenmark v3.2 (Built: Aug 31 2026) Public");
    QTabWidget* tabs = window.TabStrip();
    EXPECT_FALSE(tabs->isVisible());
    const QStringList expected{"Script Viewer", "Maps",         "World Maps",    "Experience",
                               "Enemies",       "Items",        "Sprites",       "Title Screen",
                               "Script Editor", "Sprite Placement Editor"};
    ASSERT_EQ(tabs->count(), expected.size());
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), expected[i]);
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(MainWindow, MenuEntries) {
    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&ROM", "&Maps", "&Tools", "&Help"}));
    QMenu* file = window.menuBar()->actions()[0]->menu();
    EXPECT_EQ(MenuTexts(file),
              (QStringList{"&New", "&Open", "-", "&Save", "&Save As ...", "-", "&Exit"}));
    EXPECT_FALSE(window.Action("fileSave")->isEnabled());
    EXPECT_EQ(window.Action("fileExit")->shortcut(), QKeySequence("Alt+F4"));
    QMenu* maps = window.menuBar()->actions()[2]->menu();
    EXPECT_EQ(MenuTexts(maps->actions()[0]->menu()), (QStringList{"&Load", "&Save As.."}));
    EXPECT_EQ(MenuTexts(window.menuBar()->actions()[3]->menu()),
              (QStringList{"&Exit Editor...", "&Chest Editor...", "&Object Editor...",
                           "&Shop Editor..."}));
    EXPECT_EQ(MenuTexts(window.menuBar()->actions()[4]->menu()),
              (QStringList{"View &Wiki", "-", "&About Quenmark"}));
}

TEST_F(MainWindow, NewProjectShowsTheStripAndARefusedImageKeepsIt) {
    window.show();
    SyntheticImage(SyntheticImage::k4MB, Region::German).WriteFile("de.smc");
    NewProject("de.smc");
    ASSERT_NE(currentProject, nullptr);
    EXPECT_TRUE(window.TabStrip()->isVisible());
    ProjectContext* open = currentProject;

    SyntheticImage(SyntheticImage::k4MB, Region::Unknown).WriteFile("xx.smc");
    NewProject("xx.smc");
    EXPECT_EQ(currentProject, open);
    EXPECT_TRUE(window.TabStrip()->isVisible());
    EXPECT_EQ(prompts.questions.back(), "Create new project?");
}

TEST_F(MainWindow, SwitchingTabsShowsOnlyTheSelectedPage) {
    window.show();
    SyntheticImage(SyntheticImage::k4MB, Region::UK).WriteFile("uk.smc");
    NewProject("uk.smc");
    QTabWidget* tabs = window.TabStrip();
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(5);
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->widget(i)->isVisible(), i == 5) << i;
    }
    EXPECT_EQ(tabs->widget(5)->objectName(), "ItemsTab");
}

TEST_F(MainWindow, HelpOpensTheWikiAndTheAboutBox) {
    window.Action("helpViewWiki")->trigger();
    ASSERT_EQ(prompts.openedUrls.size(), 1u);
    EXPECT_NE(prompts.openedUrls[0].find("index.php?title=Quenmark"), std::string::npos);

    bool sawAbout = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<CAboutDlg*>(w); about && about->isVisible()) {
                sawAbout = about->windowTitle() == "About Quenmark";
                about->accept();
            }
        }
    });
    window.Action("helpAbout")->trigger();
    EXPECT_TRUE(sawAbout);
}

TEST_F(MainWindow, SavingWithoutAProjectSaysSo) {
    window.Action("romSaveAs")->trigger();
    window.Action("fileSaveAs")->trigger();
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"Please open or create a project first.",
                                        "Please open or create a project first."}));
}

TEST_F(MainWindow, MapMenuExportsAndImportsTheMapsPagesLayer) {
    window.Action("mapSaveAs")->trigger();
    window.Action("mapLoad")->trigger();
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"Please load a map first.", "Please load a map first."}));
    EXPECT_TRUE(prompts.dialogTitles.empty());
    prompts.messages.clear();

    MapPageProject data;
    data.image.WriteFile("maps.smc");
    NewProject("maps.smc");
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
    EXPECT_TRUE(std::equal(layer.begin() + 2, layer.end(),
                           page->MapTabRenderer()->layerMap[0].begin() + 2));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.dialogTitles.back(), "Select File");
}

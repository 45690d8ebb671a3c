#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "app/ui/CQuenmarkDlg.h"
#include "maps/MapRenderer.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/ui/PictureView.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

namespace {

using Data = WorldMapProject;

class WorldMapTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReplaceCurrentProject(data.MakeProject());
        page.resize(1300, 700);
        page.show();
    }
    void TearDown() override { DestroyCurrentProject(); }

    PictureView* Picture(const char* name) { return NamedChild<PictureView>(page, name); }
    void Click(const char* name) { NamedChild<QAbstractButton>(page, name)->click(); }
    // A pixel of a picture as the widget shows it on screen.
    std::uint32_t Shown(const char* name, int x, int y) {
        return Picture(name)->grab().toImage().pixel(x, y) & 0xFFFFFF;
    }
    std::uint8_t Cell(std::uint32_t x, std::uint32_t y) {
        return page.Model().worldMapRenderer->GetMapByte(x, y);
    }

    Data data;
    ScriptedPrompts prompts;
    WorldMapTab page{prompts};
    TestPointer pointer;
};

}  // namespace

TEST_F(WorldMapTabTest, StartsWithTheFourMapsAndNothingLoaded) {
    auto* maps = NamedChild<QComboBox>(page, "maps");
    ASSERT_EQ(maps->count(), 4);
    EXPECT_EQ(maps->itemText(0), "Overworld");
    EXPECT_EQ(maps->itemText(3), "Intro");
    EXPECT_EQ(maps->currentIndex(), 0);
    EXPECT_EQ(maps->font().family(), "Lucida Console");
    QStringList titles;
    for (const QGroupBox* group : page.findChildren<QGroupBox*>()) {
        titles << group->title();
    }
    EXPECT_EQ(titles, (QStringList{"Map:", "Select Map:", "Show:", "Tile:", "Tiles:"}));
    EXPECT_EQ(NamedChild<QCheckBox>(page, "exits")->text(), "Exits/Harbors");
    EXPECT_EQ(NamedChild<QCheckBox>(page, "objects")->text(), "Objects/Triggers");
    EXPECT_FALSE(NamedChild<QAbstractButton>(page, "save")->isEnabled());
    EXPECT_EQ(Picture("mapView")->size(), QSize(832, 560));
    pointer.Press(Picture("mapView"), {20, 20});
    EXPECT_EQ(page.WorldMapRenderer(), nullptr);
}

TEST_F(WorldMapTabTest, LoadsScrollsPicksPlacesAndSavesThroughTheControls) {
    std::vector<std::array<std::uint32_t, 3>> fills;
    page.SetEditorFill(
        [&](std::uint32_t id, std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex) {
            fills.push_back({id, column, row});
            exitIndex = 4;
        });
    NamedChild<QComboBox>(page, "maps")->setCurrentIndex(1);  // "Plane": map 5
    Click("load");
    ASSERT_NE(page.WorldMapRenderer(), nullptr);
    EXPECT_EQ(page.Model().state.mapId, 5u);
    EXPECT_TRUE(NamedChild<QAbstractButton>(page, "save")->isEnabled());

    PictureView* view = Picture("mapView");
    pointer.Wheel(view, {100, 100}, -120);
    pointer.Wheel(view, {100, 100}, -120, Qt::ControlModifier);
    pointer.Wheel(view, {100, 100}, -120, Qt::ShiftModifier);
    pointer.Wheel(Picture("tileSetView"), {5, 5}, -120);  // not over the view
    EXPECT_EQ(page.Model().state.scrollX + page.Model().state.scrollY, 32u);
    EXPECT_EQ(Shown("mapView", 0, 0), Data::Colour(Data::LargeCell(1, 1)));

    pointer.Press(Picture("tileSetView"), {7 * 16 + 3, 3 * 16 + 3});  // tile 31
    pointer.Press(view, {2 * 16 + 5, 16 + 5});                        // cell (3, 2)
    EXPECT_EQ(Cell(3, 2), 31);
    EXPECT_EQ(Shown("mapView", 2 * 16 + 5, 16 + 5), Data::Colour(31));

    pointer.Press(view, {9 * 16, 9 * 16}, Qt::RightButton);  // eyedropper on cell (10, 10)
    EXPECT_EQ(Shown("tileView", 4, 4), Data::Colour(Data::LargeCell(10, 10)));
    pointer.Press(view, {0, 0}, Qt::MiddleButton);
    EXPECT_EQ(Cell(1, 1), Data::LargeCell(1, 1));
    pointer.Press(view, {0, 0});
    EXPECT_EQ(Cell(1, 1), Data::LargeCell(10, 10));
    pointer.Press(view, {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(fills, (std::vector<std::array<std::uint32_t, 3>>{{5, 6, 4}}));
    EXPECT_EQ(page.Model().state.exitIndex, 4u);

    Click("objects");
    EXPECT_TRUE(page.Model().worldMapRenderer->showObjects);
    Click("save");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Changes have been saved"});
    EXPECT_EQ(
        currentProject->Read8(data.image.Table(RegionTable::WorldMapTileMapTableA) + 2 * 256 + 3),
        31);
}

TEST_F(WorldMapTabTest, TheMainWindowResetsThePageAfterNew) {
    ScriptedPrompts windowPrompts;
    CQuenmarkDlg window(windowPrompts);
    WorldMapTab* worldMaps = window.WorldMapsPage();
    ASSERT_NE(worldMaps, nullptr);
    EXPECT_EQ(window.TabStrip()->widget(2), worldMaps);
    EXPECT_EQ(window.TabStrip()->tabText(2), "World Maps");
    worldMaps->findChild<QComboBox*>("maps")->setCurrentIndex(2);
    worldMaps->OnLoad();
    const MapRenderer* renderer = worldMaps->WorldMapRenderer();
    ASSERT_NE(renderer, nullptr);

    Data(SyntheticImage::k4MB, SyntheticImage::Region::German, 40).image.WriteFile("next.smc");
    windowPrompts.yesNoAnswers.push_back(true);
    windowPrompts.fileAnswers.push_back(std::filesystem::path("next.smc"));
    window.Action("fileNew")->trigger();
    EXPECT_EQ(worldMaps->WorldMapRenderer(), nullptr);
    EXPECT_FALSE(worldMaps->findChild<QAbstractButton*>("save")->isEnabled());
    worldMaps->OnMouseActivate(Qt::RightButton, false, {16, 16});
    EXPECT_EQ(worldMaps->Model().state.pickedRow, 0u);

    worldMaps->OnLoad();  // the same object, now on the new image
    EXPECT_EQ(worldMaps->WorldMapRenderer(), renderer);
    EXPECT_EQ(worldMaps->Model().view.At(1, 1) & 0xFFFFFF, Data::SmallColour(40));
}

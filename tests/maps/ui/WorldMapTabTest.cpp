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

class WorldMapTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReplaceCurrentProject(data.MakeProject());
        page.resize(1300, 700);
        page.show();
    }
    void TearDown() override { DestroyCurrentProject(); }

    template <typename T>
    T* Child(const char* name) {
        return NamedChild<T>(page, name);
    }
    void Click(const char* name) { Child<QAbstractButton>(name)->click(); }
    void Load(int line) {
        Child<QComboBox>("maps")->setCurrentIndex(line);
        Click("load");
    }
    PictureView* View() { return Child<PictureView>("mapView"); }
    // A pixel of the map view as the widget shows it on screen.
    std::uint32_t ShownPixel(int x, int y) {
        return View()->grab().toImage().pixel(x, y) & 0xFFFFFF;
    }
    std::uint8_t Cell(std::uint32_t x, std::uint32_t y) {
        return page.Model().worldMapRenderer->GetMapByte(x, y);
    }

    WorldMapProject data;
    ScriptedPrompts prompts;
    WorldMapTab page{prompts};
    TestPointer pointer;
};

}  // namespace

TEST_F(WorldMapTabTest, StartsWithTheFourMapsAndNothingLoaded) {
    auto* maps = Child<QComboBox>("maps");
    ASSERT_EQ(maps->count(), 4);
    EXPECT_EQ(maps->itemText(0), "Overworld");
    EXPECT_EQ(maps->itemText(1), "Plane");
    EXPECT_EQ(maps->itemText(2), "Underworld");
    EXPECT_EQ(maps->itemText(3), "Intro");
    EXPECT_EQ(maps->currentIndex(), 0);
    EXPECT_EQ(maps->font().family(), "Lucida Console");
    EXPECT_EQ(maps->font().pointSize(), 9);
    QStringList titles;
    for (const QGroupBox* group : page.findChildren<QGroupBox*>()) {
        titles << group->title();
    }
    EXPECT_EQ(titles, (QStringList{"Map:", "Select Map:", "Show:", "Tile:", "Tiles:"}));
    EXPECT_EQ(Child<QCheckBox>("exits")->text(), "Exits/Harbors");
    EXPECT_EQ(Child<QCheckBox>("objects")->text(), "Objects/Triggers");
    EXPECT_EQ(Child<QAbstractButton>("load")->text(), "Load");
    EXPECT_EQ(Child<QAbstractButton>("save")->text(), "Save");
    EXPECT_FALSE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(View()->size(), QSize(832, 560));
    EXPECT_EQ(page.WorldMapRenderer(), nullptr);

    // Nothing answers before a load.
    pointer.Press(View(), {20, 20});
    pointer.Wheel(View(), {20, 20}, -120);
    EXPECT_EQ(page.Model().worldMapRenderer, nullptr);
}

TEST_F(WorldMapTabTest, LoadsScrollsPicksAndPlacesThroughTheControls) {
    Load(1);  // "Plane": map 5, the large map
    ASSERT_NE(page.WorldMapRenderer(), nullptr);
    EXPECT_EQ(page.Model().state.mapId, 5u);
    EXPECT_TRUE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(ShownPixel(3 * 16 + 1, 2 * 16 + 1),
              WorldMapProject::Colour(WorldMapProject::LargeCell(3, 2)));
    EXPECT_EQ(Child<PictureView>("tileSetView")->size(), QSize(128, 512));

    pointer.Wheel(View(), {100, 100}, -120);
    pointer.Wheel(View(), {100, 100}, -120, Qt::ControlModifier);
    pointer.Wheel(View(), {100, 100}, -120, Qt::ShiftModifier);
    pointer.Wheel(View(), {100, 100}, -120, Qt::NoModifier, Qt::LeftButton);
    pointer.Wheel(Child<PictureView>("tileSetView"), {5, 5}, -120);  // not over the view
    EXPECT_EQ(page.Model().state.scrollX, 16u);
    EXPECT_EQ(page.Model().state.scrollY, 16u);
    EXPECT_EQ(ShownPixel(0, 0), WorldMapProject::Colour(WorldMapProject::LargeCell(1, 1)));

    pointer.Press(Child<PictureView>("tileSetView"), {7 * 16 + 3, 3 * 16 + 3});  // tile 31
    EXPECT_EQ(page.Model().state.PickedTile(), 31);
    pointer.Press(View(), {2 * 16 + 5, 16 + 5});  // cell (3, 2)
    EXPECT_EQ(Cell(3, 2), 31);
    EXPECT_EQ(ShownPixel(2 * 16 + 5, 16 + 5), WorldMapProject::Colour(31));

    // The eyedropper, then a left click repeats the byte elsewhere; the middle button does
    // nothing.
    pointer.Press(View(), {9 * 16, 9 * 16}, Qt::RightButton);  // cell (10, 10)
    EXPECT_EQ(page.Model().state.PickedTile(), WorldMapProject::LargeCell(10, 10));
    pointer.Press(View(), {0, 0}, Qt::MiddleButton);
    EXPECT_EQ(Cell(1, 1), WorldMapProject::LargeCell(1, 1));
    pointer.Press(View(), {0, 0});
    EXPECT_EQ(Cell(1, 1), WorldMapProject::LargeCell(10, 10));
    EXPECT_EQ(Child<PictureView>("tileView")->grab().toImage().pixel(4, 4) & 0xFFFFFF,
              WorldMapProject::Colour(WorldMapProject::LargeCell(10, 10)));

    Click("save");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Changes have been saved"});
    EXPECT_EQ(
        currentProject->Read8(data.image.Table(RegionTable::WorldMapTileMapTableA) + 2 * 256 + 3),
        31);
}

TEST_F(WorldMapTabTest, CtrlRightClickAsksTheEditorsAndTheOverlaysFollowTheBoxes) {
    std::vector<std::array<std::uint32_t, 3>> fills;
    Load(0);
    pointer.Press(View(), {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_TRUE(fills.empty());  // no editor is open: nothing to fill, nothing changed
    EXPECT_EQ(page.Model().state.PickedTile(), 0);

    page.SetEditorFill(
        [&](std::uint32_t id, std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex) {
            fills.push_back({id, column, row});
            exitIndex = 4;
        });
    pointer.Wheel(View(), {100, 100}, -120);
    pointer.Press(View(), {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton, Qt::ControlModifier);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0], (std::array<std::uint32_t, 3>{2, 5, 4}));
    EXPECT_EQ(page.Model().state.exitIndex, 4u);

    const std::uint32_t plain = ShownPixel(4 * 16 + 3, 1 * 16 + 3);  // world-map exit at (4, 2)
    Click("exits");
    EXPECT_NE(ShownPixel(4 * 16 + 3, 1 * 16 + 3), plain);
    Click("exits");
    EXPECT_EQ(ShownPixel(4 * 16 + 3, 1 * 16 + 3), plain);
    Click("objects");
    EXPECT_TRUE(page.Model().worldMapRenderer->showObjects);
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
    ASSERT_NE(worldMaps->WorldMapRenderer(), nullptr);
    const MapRenderer* renderer = worldMaps->Model().worldMapRenderer.get();

    WorldMapProject(SyntheticImage::k4MB, SyntheticImage::Region::German, 40)
        .image.WriteFile("next.smc");
    windowPrompts.yesNoAnswers.push_back(true);
    windowPrompts.fileAnswers.push_back(std::filesystem::path("next.smc"));
    window.Action("fileNew")->trigger();
    EXPECT_EQ(worldMaps->WorldMapRenderer(), nullptr);
    EXPECT_FALSE(worldMaps->findChild<QAbstractButton*>("save")->isEnabled());
    worldMaps->OnMapViewClick(Qt::LeftButton, false, {16, 16});
    worldMaps->OnMouseActivate(Qt::RightButton, false, {16, 16});
    EXPECT_EQ(worldMaps->Model().state.PickedTile(), 0);

    worldMaps->OnLoad();  // the same object, now on the new image
    EXPECT_EQ(worldMaps->WorldMapRenderer(), renderer);
    EXPECT_EQ(worldMaps->Model().view.At(1, 1) & 0xFFFFFF, WorldMapProject::SmallColour(40));
    EXPECT_TRUE(worldMaps->findChild<QAbstractButton*>("save")->isEnabled());
}

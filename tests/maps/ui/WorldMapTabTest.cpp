#include <QAbstractButton>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/ui/PictureView.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScreenPixel.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

// The page's logic is the page model's test; here the controls, the pictures on screen and the
// messages.
TEST(WorldMapTab, LoadsScrollsPlacesAndSavesThroughTheControls) {
    using Data = WorldMapProject;
    Data data;
    ReplaceCurrentProject(data.MakeProject());
    ScriptedPrompts prompts;
    WorldMapTab page(prompts);
    page.resize(1300, 700);
    page.show();
    TestPointer pointer;
    const auto shown = [&](const char* name, int x, int y) {
        return ScreenPixel(NamedChild<PictureView>(page, name), x, y);
    };
    std::vector<std::array<std::uint32_t, 3>> fills;
    page.SetEditorFill(
        [&](std::uint32_t id, std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex) {
            fills.push_back({id, column, row});
            exitIndex = 4;
        });

    NamedChild<QAbstractButton>(page, "load")->click();
    ASSERT_NE(page.WorldMapRenderer(), nullptr);
    EXPECT_EQ(page.Model().state.mapId, 2u);
    EXPECT_TRUE(NamedChild<QAbstractButton>(page, "save")->isEnabled());

    auto* view = NamedChild<PictureView>(page, "mapView");
    // The wheel over the controls beside, above or below the view leaves the map where it is.
    const int width = static_cast<int>(page.Model().ViewWidth());
    const int height = static_cast<int>(page.Model().ViewHeight());
    for (const QPoint at : {QPoint(width + 8, 10), QPoint(10, -4), QPoint(10, height + 4)}) {
        pointer.Wheel(&page, view->mapTo(&page, at), -120);
        EXPECT_EQ(page.Model().state.scrollY, 0u) << at.x() << "," << at.y();
    }
    pointer.Wheel(view, {100, 100}, -120);
    pointer.Wheel(view, {100, 100}, -120, Qt::ControlModifier);
    EXPECT_EQ(shown("mapView", 0, 0), Data::Colour(Data::LargeCell(1, 1)));

    pointer.Press(NamedChild<PictureView>(page, "tileSetView"), {7 * 16 + 3, 3 * 16 + 3});  // 31
    EXPECT_EQ(shown("tileView", 4, 4), Data::Colour(31));
    pointer.Press(view, {2 * 16 + 5, 16 + 5}, Qt::LeftButton, Qt::ControlModifier);  // cell (3, 2)
    EXPECT_EQ(page.Model().worldMapRenderer->GetMapByte(3, 2), 31);
    EXPECT_EQ(shown("mapView", 2 * 16 + 5, 16 + 5), Data::Colour(31));
    pointer.Press(view, {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton);  // the eyedropper only
    EXPECT_TRUE(fills.empty());
    pointer.Press(view, {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(fills, (std::vector<std::array<std::uint32_t, 3>>{{2, 6, 4}}));
    EXPECT_EQ(page.Model().state.exitIndex, 4u);

    const std::uint32_t exitCell = shown("mapView", 3 * 16 + 8, 16 + 8);  // cell (4, 2)
    NamedChild<QAbstractButton>(page, "exits")->click();
    EXPECT_NE(shown("mapView", 3 * 16 + 8, 16 + 8), exitCell);
    const std::uint32_t spawnCell = shown("mapView", 8 * 16 + 8, 10 * 16 + 8);  // cell (9, 11)
    NamedChild<QAbstractButton>(page, "objects")->click();
    EXPECT_NE(shown("mapView", 8 * 16 + 8, 10 * 16 + 8), spawnCell);
    NamedChild<QAbstractButton>(page, "save")->click();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Changes have been saved"});
    EXPECT_EQ(
        currentProject->Read8(data.image.Table(RegionTable::WorldMapTileMapTableA) + 2 * 256 + 3),
        31);
    DestroyCurrentProject();
}

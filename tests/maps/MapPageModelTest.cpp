#include <gtest/gtest.h>

#include "maps/MapPageModel.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

// The Maps page without widgets, on the page's image with map 0x0A (64 x 32 cells) loaded.
class MapPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ImportRom(scene.project, scene.data.image.Bytes()), kRegionNone);
        page.mapIdText = "0x0A";
        page.LoadMap(&scene.project, prompts);
        ASSERT_TRUE(page.loadedMapId);
    }
    std::uint32_t ViewPixel(int x, int y) const { return page.view.At(x, y) & 0xFFFFFF; }

    SaveScene scene;
    ScriptedPrompts prompts;
    MapPageModel page;
};

}  // namespace

TEST_F(MapPage, TheCollisionOverlayCoversAGrownViewUpToTheMapsEdge) {
    ASSERT_TRUE(page.SetViewSize(&scene.project, 1024, 1024));
    const auto row = [&] {
        std::vector<std::uint32_t> pixels;
        for (int column = 0; column < 64; ++column) {
            pixels.push_back(ViewPixel(column * 16 + 3, 3));
        }
        return pixels;
    };
    const auto plain = row();
    page.CollisionModeChanged(&scene.project, 1);
    const auto shown = row();
    for (int column = 0; column < 64; ++column) {
        EXPECT_NE(shown[column], plain[column]) << column;
    }
}

TEST_F(MapPage, TheEyedropperPicksNothingBesideANarrowerMap) {
    // A view wider than the 1024-pixel map: a click right of it lies in no cell.
    ASSERT_TRUE(page.SetViewSize(&scene.project, 2048, 1024));
    const struct {
        std::uint32_t x, y;
        std::uint32_t picked;
    } cases[] = {
        {1100, 100, 99},             // beside the map, would be cell (4, 7) of the next row
        {100, 600, 99},              // below it
        {1023, 100, (63 + 6) % 16},  // its last column
        {7 * 16, 0, 7},
    };
    for (const auto& c : cases) {
        page.state.SelectCellValue(99);
        EXPECT_FALSE(page.RightClick(&scene.project, c.x, c.y, false));
        EXPECT_EQ(page.state.SelectedValue(), c.picked) << c.x << ", " << c.y;
    }
}

TEST_F(MapPage, AViewOffTheGridStepsToTheMapsEdgeAndTheEyedropperTakesTheCellThere) {
    ASSERT_TRUE(page.SetViewSize(&scene.project, 1000, 512));  // 24 pixels short of the map
    std::vector<std::uint32_t> steps;
    for (const bool back : {false, false, true, false, false}) {
        page.WheelOverView(&scene.project, back, true, false, false);
        steps.push_back(page.state.scrollX);
    }
    // The last step stops at the edge; one back returns onto the 16-pixel grid.
    EXPECT_EQ(steps, (std::vector<std::uint32_t>{16, 24, 16, 24, 24}));
    EXPECT_FALSE(page.RightClick(&scene.project, 8, 0, false));  // cell 2 starts at 8
    EXPECT_EQ(page.tileBox.At(0, 0) & 0xFFFFFF, scene.data.MetatileColour(2));
}

TEST(MapPageWithoutProject, LoadNewAndOffsetsDoNothing) {
    MapPageModel page;
    ScriptedPrompts prompts;
    page.mapIdText = "0x0A";
    page.LoadMap(nullptr, prompts);
    page.LoadByOffsets(nullptr, prompts);
    page.NewMap(nullptr, prompts);
    EXPECT_FALSE(page.loadedMapId);
    EXPECT_TRUE(prompts.messages.empty());
}

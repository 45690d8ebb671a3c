#include <gtest/gtest.h>

#include "maps/WorldMapLayout.h"
#include "maps/WorldMapPageModel.h"
#include "project/ProjectContext.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using Wheel = MapViewState::WheelResult;
constexpr std::uint32_t kGrey = 0xF0F0F0;

class WorldMapPage : public ::testing::Test {
protected:
    void SetUp() override { project = data.MakeProject(); }

    void Load(int line) {
        page.mapLine = line;
        page.Load(project.get(), prompts);
    }
    std::uint32_t ViewPixel(int x, int y) const { return page.view.At(x, y) & 0xFFFFFF; }
    // Turns the wheel n times; the last turn's answer comes from the view state's own wheel.
    void Turn(int n, bool up, bool ctrl = false) {
        for (int i = 0; i < n; ++i) {
            page.Wheel(project.get(), up, ctrl, false, false);
        }
    }

    WorldMapProject data;
    std::unique_ptr<ProjectContext> project;
    ScriptedPrompts prompts;
    WorldMapPageModel page;
};

}  // namespace

TEST(WorldMapViewState, CombosLinesNameTheFourMapsAndTheWheelStopsAtTheEdges) {
    EXPECT_EQ(WorldMapOfLine(0).mapId, 2u);
    EXPECT_EQ(WorldMapOfLine(1).mapId, 5u);
    EXPECT_EQ(WorldMapOfLine(2).mapId, 3u);
    EXPECT_EQ(WorldMapOfLine(3).mapId, 35u);
    EXPECT_EQ(WorldMapOfLine(-1).mapId, 35u);
    EXPECT_EQ(WorldMapOfLine(1).width, 4096u);
    EXPECT_EQ(WorldMapOfLine(-1).height, 1024u);

    // Edges of a 4096-pixel and a 1024-pixel map; the steps are 16 pixels.
    for (const auto& [line, lastX, lastY] :
         {std::tuple{0, 3264u, 3536u}, std::tuple{2, 192u, 464u}}) {
        WorldMapViewState state;
        state.Show(WorldMapOfLine(line));
        int steps = 0;
        while (state.Wheel(false, false, false, false) == Wheel::Scrolled) {
            ++steps;
        }
        EXPECT_EQ(state.scrollY, lastY);
        EXPECT_EQ(steps * 16u, lastY);
        while (state.Wheel(false, true, false, false) == Wheel::Scrolled) {
        }
        EXPECT_EQ(state.scrollX, lastX);
        EXPECT_EQ(state.Wheel(false, true, false, false), Wheel::Stopped);
        EXPECT_EQ(state.Wheel(true, true, false, false), Wheel::Scrolled);
        EXPECT_EQ(state.scrollX, lastX - 16);
        // Shift, a button, or Ctrl with Shift: nothing moves, the view is drawn again.
        EXPECT_EQ(state.Wheel(true, false, true, false), Wheel::Redraw);
        EXPECT_EQ(state.Wheel(true, false, false, true), Wheel::Redraw);
        EXPECT_EQ(state.Wheel(true, true, true, false), Wheel::Redraw);
        EXPECT_EQ(state.scrollY, lastY);
    }
    WorldMapViewState none;  // no map: the size is 0 and nothing scrolls
    EXPECT_EQ(none.Wheel(false, false, false, false), Wheel::Stopped);
    EXPECT_EQ(none.Wheel(true, true, false, false), Wheel::Stopped);

    WorldMapViewState picked;
    picked.PickTile(0xCD);
    EXPECT_EQ(picked.pickedColumn, 5u);
    EXPECT_EQ(picked.pickedRow, 25u);
    EXPECT_EQ(picked.PickedTile(), 0xCD);
}

TEST_F(WorldMapPage, LoadsEachWorldMapAndShowsIt) {
    for (int line : {0, 1, 2, 3, -1}) {
        prompts.messages.clear();
        Load(line);
        const WorldMapChoice map = WorldMapOfLine(line);
        SCOPED_TRACE(map.mapId);
        EXPECT_TRUE(prompts.messages.empty());
        ASSERT_NE(page.Renderer(project.get()), nullptr);
        EXPECT_EQ(page.state.mapId, map.mapId);
        EXPECT_EQ(page.state.mapWidth, map.width);
        EXPECT_EQ(page.state.mapHeight, map.height);
        EXPECT_TRUE(page.saveEnabled);
        ASSERT_EQ(page.view.Width(), 832);
        ASSERT_EQ(page.view.Height(), 560);
        for (auto [x, y] : {std::pair{0, 0}, {5 * 16 + 3, 7 * 16 + 9}, {831, 559}}) {
            const std::uint32_t cx = x / 16;
            const std::uint32_t cy = y / 16;
            EXPECT_EQ(ViewPixel(x, y),
                      map.width == 4096
                          ? WorldMapProject::Colour(WorldMapProject::LargeCell(cx, cy))
                          : WorldMapProject::SmallColour(2 * cx + cy + 7))
                << x << "," << y;
        }
        // The tile set: metatiles 0 to 255, eight to a 16-pixel row.
        ASSERT_EQ(page.tileSet.Width(), 128);
        EXPECT_EQ(page.tileSet.Height(), 512);
        EXPECT_EQ(
            page.tileSet.At(3 * 16 + 4, 20 * 16 + 4) & 0xFFFFFF,
            map.width == 4096 ? WorldMapProject::Colour(163) : WorldMapProject::SmallColour(163));
    }
}

TEST_F(WorldMapPage, ScrollsWithinTheMapAndRedrawsOnlyWhenSomethingHappens) {
    Load(0);
    page.state.scrollX = 3200;  // the walk from 0 is the view state's own test
    page.state.scrollY = 3504;
    Turn(10, false);
    Turn(10, false, true);
    EXPECT_EQ(page.state.scrollY, 3536u);
    EXPECT_EQ(page.state.scrollX, 3264u);
    // The bottom right corner of the map is in the view's bottom right corner.
    EXPECT_EQ(ViewPixel(831, 559), WorldMapProject::Colour(WorldMapProject::LargeCell(255, 255)));
    EXPECT_EQ(ViewPixel(0, 0), WorldMapProject::Colour(WorldMapProject::LargeCell(204, 221)));

    // At the limit nothing is drawn; a Shift turn draws without moving.
    page.view.Set(0, 0, 0xFF123456);
    Turn(1, false);
    EXPECT_EQ(page.view.At(0, 0), 0xFF123456u);
    page.Wheel(project.get(), false, false, true, false);
    EXPECT_EQ(ViewPixel(0, 0), WorldMapProject::Colour(WorldMapProject::LargeCell(204, 221)));
    EXPECT_EQ(page.state.scrollY, 3536u);

    Turn(1, true, true);
    Turn(2, true);
    EXPECT_EQ(page.state.scrollX, 3248u);
    EXPECT_EQ(page.state.scrollY, 3504u);
    EXPECT_EQ(ViewPixel(0, 0), WorldMapProject::Colour(WorldMapProject::LargeCell(203, 219)));

    Load(3);  // a load starts at the top left, and the small map stops earlier
    EXPECT_EQ(page.state.scrollX + page.state.scrollY, 0u);
    Turn(40, false);
    Turn(20, false, true);
    EXPECT_EQ(page.state.scrollY, 464u);
    EXPECT_EQ(page.state.scrollX, 192u);
}

TEST_F(WorldMapPage, PicksATileAndPutsItIntoACellOfThePicture) {
    Load(0);
    Turn(3, false, true);  // 48 pixels right, 3 cells
    Turn(2, false);        // 32 down
    ASSERT_TRUE(page.TileSetClick(project.get(), 5 * 16 + 2, 16 * 16 + 15));  // metatile 133
    EXPECT_EQ(page.state.PickedTile(), 133);
    EXPECT_EQ(page.tileView.At(8, 8) & 0xFFFFFF, WorldMapProject::Colour(133));

    MapRenderer& map = *page.Renderer(project.get());
    ASSERT_TRUE(page.MapViewClick(project.get(), 10 * 16 + 4, 4 * 16 + 15));  // cell (13, 6)
    EXPECT_EQ(map.GetMapByte(13, 6), 133);
    EXPECT_EQ(map.GetMapByte(14, 6), WorldMapProject::LargeCell(14, 6));
    EXPECT_EQ(ViewPixel(10 * 16, 4 * 16), WorldMapProject::Colour(133));
    EXPECT_EQ(ViewPixel(10 * 16 + 15, 4 * 16 + 15), WorldMapProject::Colour(133));
    EXPECT_EQ(ViewPixel(11 * 16, 4 * 16),
              WorldMapProject::Colour(WorldMapProject::LargeCell(14, 6)));
    EXPECT_EQ(map.layerImages[0].pixels[(6 * 16 + 3) * 4096 + 13 * 16 + 3] & 0xFFFFFF,
              WorldMapProject::Colour(133));

    // The eyedropper takes the cell's byte and its picture; placing it repeats the byte.
    const std::uint8_t far = WorldMapProject::LargeCell(3 + 40, 2 + 20);
    EXPECT_FALSE(page.RightClick(project.get(), 40 * 16 + 15, 20 * 16 + 1, false));
    EXPECT_EQ(page.state.PickedTile(), far);
    EXPECT_EQ(page.state.pickedColumn, far & 7u);
    EXPECT_EQ(page.tileView.At(15, 15) & 0xFFFFFF, WorldMapProject::Colour(far));
    page.MapViewClick(project.get(), 0, 0);
    EXPECT_EQ(map.GetMapByte(3, 2), far);
    EXPECT_EQ(ViewPixel(0, 0), WorldMapProject::Colour(far));

    // Ctrl asks the editors for the cell under the cursor, scroll included.
    const auto request = page.RightClick(project.get(), 16 * 16 + 1, 1 * 16 + 1, true);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->mapId, 2u);
    EXPECT_EQ(request->column, 19u);
    EXPECT_EQ(request->row, 3u);
    EXPECT_EQ(page.state.PickedTile(), far);
    // Past the view's area nothing answers.
    EXPECT_FALSE(page.RightClick(project.get(), 833, 10, true));
}

TEST_F(WorldMapPage, TheOverlaysFollowTheirBoxes) {
    Load(0);
    const std::uint32_t exitCell = ViewPixel(4 * 16 + 3, 2 * 16 + 3);
    const std::uint32_t listExit = ViewPixel(9 * 16 + 3, 9 * 16 + 3);
    page.showExits = true;
    page.ShowExitsChanged(project.get());
    // The world-map exit is tinted yellow, the exit of the map's list green.
    const std::uint32_t tinted = ViewPixel(5 * 16 + 3, 2 * 16 + 3);
    EXPECT_NE(ViewPixel(4 * 16 + 3, 2 * 16 + 3), exitCell);
    EXPECT_GT(tinted >> 16 & 0xFF,
              WorldMapProject::Colour(WorldMapProject::LargeCell(5, 2)) >> 16 & 0xFF);
    EXPECT_NE(ViewPixel(9 * 16 + 3, 9 * 16 + 3), listExit);
    // An edit keeps the overlays that are on.
    page.MapViewClick(project.get(), 8 * 16, 8 * 16);
    EXPECT_EQ(ViewPixel(5 * 16 + 3, 2 * 16 + 3), tinted);
    page.showExits = false;
    page.ShowExitsChanged(project.get());
    EXPECT_EQ(ViewPixel(4 * 16 + 3, 2 * 16 + 3), exitCell);

    Load(2);  // the small map shows the exits of its own list only
    page.showExits = true;
    page.ShowExitsChanged(project.get());
    EXPECT_EQ(ViewPixel(4 * 16 + 3, 2 * 16 + 3), WorldMapProject::SmallColour(2 * 4 + 2 + 7));
}

TEST_F(WorldMapPage, AfterResetNothingIsTouchedUntilTheNextLoad) {
    Load(0);
    page.TileSetClick(project.get(), 16, 0);
    page.Wheel(project.get(), false, true, false, false);
    MapRenderer* renderer = page.worldMapRenderer.get();
    const std::vector<std::uint8_t> cells = renderer->layerMap[0];
    const std::vector<std::uint32_t> picture(page.view.Pixels(), page.view.Pixels() + 832 * 560);

    // A new project replaces this one.
    auto next =
        WorldMapProject(SyntheticImage::k4MB, SyntheticImage::Region::German, 100).MakeProject();
    project.reset();
    page.Reset();
    EXPECT_FALSE(page.saveEnabled);
    EXPECT_EQ(page.state.mapId, 0u);
    EXPECT_EQ(page.state.scrollX + page.state.pickedColumn, 0u);
    EXPECT_EQ(page.Renderer(next.get()), nullptr);

    page.Wheel(next.get(), false, false, false, false);
    page.Wheel(next.get(), false, false, true, false);
    page.MapViewClick(next.get(), 10, 10);
    page.TileSetClick(next.get(), 40, 40);
    EXPECT_FALSE(page.RightClick(next.get(), 10, 10, true));
    EXPECT_FALSE(page.RightClick(next.get(), 10, 10, false));
    page.showExits = true;
    page.ShowExitsChanged(next.get());
    page.Save(next.get(), prompts);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(page.state.PickedTile(), 0);
    EXPECT_EQ(renderer->layerMap[0], cells);
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), page.view.Pixels()));

    // The next load reads the new project's image into the same object.
    project = std::move(next);
    Load(3);
    EXPECT_EQ(page.worldMapRenderer.get(), renderer);
    EXPECT_EQ(&renderer->Project(), project.get());
    EXPECT_EQ(ViewPixel(1, 1), WorldMapProject::SmallColour(100));
    EXPECT_TRUE(page.saveEnabled);
}

TEST_F(WorldMapPage, AMapTheReleaseDoesNotHoldLeavesThePageWithoutAMap) {
    Load(0);
    WorldMapProject smallRelease(SyntheticImage::k1MB, SyntheticImage::Region::ReleaseM);
    project = smallRelease.MakeProject();
    page.Reset();
    ASSERT_TRUE(project->HasImage());
    Load(0);
    EXPECT_EQ(prompts.LastMessage(), "The world map data lies outside this ROM image.");
    EXPECT_EQ(page.state.mapId, 0u);
    EXPECT_FALSE(page.saveEnabled);
    EXPECT_EQ(ViewPixel(100, 100), kGrey);
    page.Wheel(project.get(), false, false, false, false);
    EXPECT_EQ(page.state.scrollY, 0u);
    EXPECT_FALSE(page.MapViewClick(project.get(), 0, 0));
    EXPECT_FALSE(page.RightClick(project.get(), 0, 0, true));
}

TEST_F(WorldMapPage, SavesTheEditedMapInPlaceAndReadsItBackEqual) {
    for (const auto& [line, sharedLine] : {std::pair{0, 1}, std::pair{2, 3}}) {
        Load(line);
        SCOPED_TRACE(page.state.mapId);
        page.state.PickTile(0xA7);
        page.MapViewClick(project.get(), 0, 0);
        page.MapViewClick(project.get(), 831, 559);
        page.state.scrollY = page.state.mapHeight - 560;  // the map's last row
        page.MapViewClick(project.get(), 20 * 16, 559);
        const std::vector<std::uint8_t> cells = page.worldMapRenderer->layerMap[0];
        const std::vector<std::uint32_t> picture = page.worldMapRenderer->layerImages[0].pixels;
        const std::vector<std::uint8_t> before = project->romImage;

        prompts.messages.clear();
        page.Save(project.get(), prompts);
        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Changes have been saved"});
        // Only the edited cells' bytes changed in the image.
        std::size_t changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            changed += before[i] != project->romImage[i] ? 1 : 0;
        }
        EXPECT_EQ(changed, 3u);

        // The saved image, made a project again, loads the same map and picture; the map that
        // shares the data shows the edit too.
        WorldMapPageModel reread;
        auto saved = std::make_unique<ProjectContext>();
        ASSERT_EQ(ImportRom(*saved, project->romImage), 1u);
        for (int readLine : {line, sharedLine}) {
            reread.mapLine = readLine;
            reread.Load(saved.get(), prompts);
            EXPECT_EQ(reread.worldMapRenderer->layerMap[0], cells);
            EXPECT_EQ(reread.worldMapRenderer->layerImages[0].pixels, picture);
        }
    }
}

TEST_F(WorldMapPage, SavingIsRefusedWhereTheReleaseHasNoPlaceForTheMap) {
    Load(0);
    page.MapViewClick(project.get(), 0, 0);
    const std::vector<std::uint8_t> before = project->romImage;
    project->SetTable(RegionTable::WorldMapTileMapTableB, 0);
    page.Save(project.get(), prompts);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{kNoWorldMapDataText});

    // A block that would end past the image.
    project->SetTable(RegionTable::WorldMapTileMapTableB, project->romSize - 0x7FFF);
    page.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), "The world map data lies outside this ROM image.");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(project->romImage, before);
}

#include <gtest/gtest.h>

#include "maps/WorldMapLayout.h"
#include "maps/WorldMapPageModel.h"
#include "project/ProjectContext.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using Wheel = MapViewState::WheelResult;
using Data = WorldMapProject;

class WorldMapPage : public ::testing::Test {
protected:
    void SetUp() override { project = data.MakeProject(); }

    void Load(int line) {
        page.mapLine = line;
        page.Load(project.get(), prompts);
    }
    std::uint32_t ViewPixel(int x, int y) const { return page.view.At(x, y) & 0xFFFFFF; }
    MapRenderer& Map() { return *page.worldMapRenderer; }

    Data data;
    std::unique_ptr<ProjectContext> project;
    ScriptedPrompts prompts;
    WorldMapPageModel page;
};

}  // namespace

TEST_F(WorldMapPage, LoadsEachWorldMapAndScrollsIt) {
    for (int line : {0, 1, 2, 3}) {
        Load(line);
        const bool large = line < 2;
        SCOPED_TRACE(page.state.mapId);
        ASSERT_NE(page.Renderer(project.get()), nullptr);
        EXPECT_EQ(page.state.mapWidth, large ? 4096u : 1024u);
        EXPECT_TRUE(page.saveEnabled);
        ASSERT_EQ(page.view.Width(), 832);
        ASSERT_EQ(page.view.Height(), 560);
        // Cell (51, 34) at the view's bottom right, and tile 163 of the tile set.
        EXPECT_EQ(ViewPixel(831, 559), large ? Data::Colour(Data::LargeCell(51, 34))
                                             : Data::SmallColour(2 * 51 + 34 + 7));
        EXPECT_EQ(page.tileSet.At(3 * 16 + 4, 20 * 16 + 4) & 0xFFFFFF,
                  large ? Data::Colour(163) : Data::SmallColour(163));
    }
    EXPECT_TRUE(prompts.messages.empty());

    Load(0);
    page.state.scrollX = 3248;  // the walk from 0 is the view state's test
    page.state.scrollY = 3520;
    for (int i = 0; i < 3; ++i) {
        page.Wheel(project.get(), false, false, false, false);
        page.Wheel(project.get(), false, true, false, false);
    }
    EXPECT_EQ(ViewPixel(831, 559), Data::Colour(Data::LargeCell(255, 255)));
    // A step refused at the edge draws nothing; Shift draws without moving.
    page.view.Set(0, 0, 0xFF123456);
    page.Wheel(project.get(), false, false, false, false);
    EXPECT_EQ(page.view.At(0, 0), 0xFF123456u);
    page.Wheel(project.get(), false, false, true, false);
    EXPECT_EQ(ViewPixel(0, 0), Data::Colour(Data::LargeCell(204, 221)));
}

TEST_F(WorldMapPage, TheEyedropperPicksACellsTileForPlacing) {
    // Placing a tile picked from the tile set is the page's test.
    Load(0);
    page.state.scrollX = 56;  // off the 16-pixel grid, as at the map's edge
    page.state.scrollY = 32;
    page.Wheel(project.get(), false, false, true, false);  // Shift: drawn, not moved
    const std::uint8_t far = Data::LargeCell(44, 22);
    EXPECT_FALSE(page.RightClick(project.get(), 40 * 16 + 15, 20 * 16 + 1, false));
    EXPECT_EQ(page.state.pickedColumn + 8 * page.state.pickedRow, far);
    EXPECT_EQ(page.tileView.At(0, 0) & 0xFFFFFF, Data::Colour(far));
    EXPECT_EQ(page.tileView.At(15, 15) & 0xFFFFFF, Data::Colour(far));
    page.MapViewClick(project.get(), 0, 0);
    EXPECT_EQ(Map().GetMapByte(3, 2), far);
    EXPECT_EQ(ViewPixel(7, 15), Data::Colour(far));
    EXPECT_FALSE(page.RightClick(project.get(), 833, 10, true));  // beside the view
}

TEST_F(WorldMapPage, AfterResetNothingIsTouchedUntilTheNextLoad) {
    page.showExits = true;
    Load(0);
    page.TileSetClick(project.get(), 16, 0);
    const MapRenderer* renderer = page.worldMapRenderer.get();
    const std::vector<std::uint8_t> cells = Map().layerMap[0];
    const Canvas picture = page.view;
    // Without a project the loaded page acts on nothing.
    EXPECT_FALSE(page.MapViewClick(nullptr, 10, 10));
    page.Save(nullptr, prompts);

    auto next = Data(SyntheticImage::k4MB, SyntheticImage::Region::German, 100).MakeProject();
    project.reset();
    page.Reset();
    EXPECT_FALSE(page.saveEnabled);
    EXPECT_EQ(page.state.mapId + page.state.mapWidth + page.state.pickedColumn, 0u);
    page.Wheel(next.get(), false, false, true, false);
    page.MapViewClick(next.get(), 10, 10);
    page.TileSetClick(next.get(), 40, 40);
    EXPECT_FALSE(page.RightClick(next.get(), 10, 10, true));
    EXPECT_FALSE(page.RightClick(next.get(), 10, 10, false));
    page.ShowExitsChanged(next.get());
    page.Save(next.get(), prompts);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(page.state.pickedColumn, 0u);
    EXPECT_EQ(Map().layerMap[0], cells);
    EXPECT_TRUE(std::equal(picture.Pixels(), picture.Pixels() + 832 * 560, page.view.Pixels()));

    // The next load reads the new project's image into the same object.
    project = std::move(next);
    Load(3);
    EXPECT_EQ(page.worldMapRenderer.get(), renderer);
    EXPECT_EQ(ViewPixel(1, 1), Data::SmallColour(100));

    // A release whose image does not hold the map leaves the page without one.
    project = Data(SyntheticImage::k1MB, SyntheticImage::Region::ReleaseM).MakeProject();
    page.Reset();
    Load(0);
    EXPECT_EQ(prompts.LastMessage(), "The world map data lies outside this ROM image.");
    EXPECT_FALSE(page.saveEnabled);
    EXPECT_EQ(ViewPixel(100, 100), kPageBackground & 0xFFFFFF);
    EXPECT_FALSE(page.MapViewClick(project.get(), 0, 0));
}

TEST_F(WorldMapPage, SavesTheEditedMapInPlaceAndReadsItBackEqual) {
    for (const auto& [line, sharedLine] : {std::pair{0, 1}, std::pair{2, 3}}) {
        Load(line);
        SCOPED_TRACE(page.state.mapId);
        page.state.PickTile(0xA7);
        page.MapViewClick(project.get(), 0, 0);
        page.state.scrollY = page.state.mapHeight - 560;  // the map's last row
        page.MapViewClick(project.get(), 831, 559);
        const std::vector<std::uint8_t> before = project->romImage;
        prompts.messages.clear();
        page.Save(project.get(), prompts);
        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Changes have been saved"});
        std::size_t changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            changed += before[i] != project->romImage[i] ? 1 : 0;
        }
        EXPECT_EQ(changed, 2u);  // the two edited cells, nothing else

        // The saved image, made a project again, gives the same map; so does its twin id.
        auto saved = std::make_unique<ProjectContext>();
        ASSERT_EQ(ImportRom(*saved, project->romImage), 1u);
        for (int readLine : {line, sharedLine}) {
            WorldMapPageModel reread;
            reread.mapLine = readLine;
            reread.Load(saved.get(), prompts);
            EXPECT_EQ(reread.worldMapRenderer->layerMap[0], Map().layerMap[0]);
            EXPECT_EQ(reread.worldMapRenderer->layerImages[0].pixels, Map().layerImages[0].pixels);
        }
    }
}

TEST_F(WorldMapPage, SavingIsRefusedWhereTheReleaseHasNoPlaceForTheMap) {
    // The small map's cells cannot fill the large map.
    Load(2);
    page.state.mapId = 2;
    const std::vector<std::uint8_t> before = project->romImage;
    page.Save(project.get(), prompts);
    Load(0);
    page.MapViewClick(project.get(), 0, 0);
    project->SetTable(RegionTable::WorldMapTileMapTableB, 0);
    page.Save(project.get(), prompts);
    project->SetTable(RegionTable::WorldMapTileMapTableB, project->romSize - 0x7FFF);
    page.Save(project.get(), prompts);
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"Please load a map first.", kNoWorldMapDataText,
                                        "The world map data lies outside this ROM image."}));
    EXPECT_EQ(project->romImage, before);
}

TEST_F(WorldMapPage, ALargerViewShowsMoreOfTheMapAndKeepsClicksAndScrollingOnIt) {
    Load(0);
    page.state.scrollX = 3264;  // the last positions of the 832 x 560 view
    page.state.scrollY = 3536;
    EXPECT_FALSE(page.SetViewSize(project.get(), 500, 100));  // never below 832 x 560
    ASSERT_TRUE(page.SetViewSize(project.get(), 1200, 912));
    EXPECT_EQ(page.state.scrollX, 4096u - 1200);  // brought back to the map's edge
    EXPECT_EQ(page.state.scrollY, 4096u - 912);
    ASSERT_EQ(page.view.Width(), 1200);
    ASSERT_EQ(page.view.Height(), 912);
    EXPECT_EQ(ViewPixel(1199, 911), Data::Colour(Data::LargeCell(255, 255)));
    page.Wheel(project.get(), false, true, false, false);  // no further right
    EXPECT_EQ(page.state.scrollX, 4096u - 1200);

    // A click beyond the old 832 x 560 reaches the cell under it; so does the eyedropper.
    page.state.scrollX = page.state.scrollY = 0;
    page.state.PickTile(0x42);
    EXPECT_TRUE(page.MapViewClick(project.get(), 1100, 800));
    EXPECT_EQ(Map().GetMapByte(68, 50), 0x42);
    EXPECT_EQ(ViewPixel(1100, 800), Data::Colour(0x42));
    EXPECT_FALSE(page.RightClick(project.get(), 1199, 900, false));
    EXPECT_EQ(page.state.PickedTile(), Data::LargeCell(74, 56));

    // A map smaller than the room is shown whole, the rest left to the page.
    Load(2);
    EXPECT_EQ(page.view.Width(), 1024);
    EXPECT_EQ(page.view.Height(), 912);
}

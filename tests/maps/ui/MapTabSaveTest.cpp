#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/ui/MapTab.h"
#include "platform/Files.h"
#include "platform/ui/PictureView.h"
#include "project/Allocator.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

namespace {

constexpr std::uint32_t kFreeId = 0x20;  // a map id without a map
constexpr const char* kTooLarge = "New map data of layer 1 is ";

// The Maps page on the page's test image, of the size and script address asked.
class MapTabSave : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void Open(std::uint32_t size = SyntheticImage::k4MB,
              std::uint32_t script = MapPageProject::kScript) {
        data = std::make_unique<MapPageProject>(size, script);
        data->CompactLayer1();
        data->image.SetMapHeader(kFreeId, kNoMapHeader);
        std::array<SyntheticImage::TilePixels, 4> tiles{};
        tiles.fill(SyntheticImage::SolidTile(3));
        data->image.PutBlankMapTemplate(
            SyntheticImage::PlanarTiles(tiles),
            SyntheticImage::MetatileTable(
                std::vector<std::array<std::uint16_t, 4>>(4, {0, 1, 2, 3})),
            std::vector<std::uint8_t>(0x200, 1), std::vector<std::uint16_t>(96, 0x1F),
            std::vector<std::uint16_t>(32, 0x3E0));
        data->Open();
        page.resize(1300, 700);
        page.show();
    }

    template <typename T>
    T* Child(const char* name) {
        return NamedChild<T>(page, name);
    }
    void Click(const char* name) { Child<QAbstractButton>(name)->click(); }
    void SetId(const QString& id) { Child<QLineEdit>("mapId")->setText(id); }
    void Load(const QString& id) {
        SetId(id);
        Click("load");
    }
    // The map as the image now holds it, read by a map object of its own.
    std::unique_ptr<MapRenderer> Reload(std::uint32_t id) {
        auto map = std::make_unique<MapRenderer>(*currentProject);
        std::uint32_t w0 = 0;
        std::uint32_t w1 = 0;
        map->Load(id, w0, w1, false);
        return map;
    }
    // Layer 1 of map 0x0A replaced through a layer file by cells that no longer compress into
    // its place.
    void ScrambleLayer1() {
        Click("editLayer1");
        std::vector<std::uint8_t> cells(MapPageProject::kWidthCells * MapPageProject::kHeightCells *
                                        2);
        std::uint32_t x = 5;
        for (std::size_t i = 0; i < 600; i += 2) {
            x = x * 1103515245u + 12345u;
            cells[i] = static_cast<std::uint8_t>(x >> 16);
        }
        ASSERT_TRUE(WriteWholeFile("scrambled.map", cells));
        prompts.fileAnswers.push_back(std::filesystem::path("scrambled.map"));
        ASSERT_TRUE(page.OnImportMapFile());
        ASSERT_EQ(page.MapTabRenderer()->layerMap[1], cells);
    }
    // Presses the button with each id typed in turn and expects its message.
    void ExpectMessages(const char* button,
                        std::initializer_list<std::pair<const char*, const char*>> cases) {
        for (const auto& [id, text] : cases) {
            SetId(id);
            Click(button);
            EXPECT_EQ(prompts.LastMessage(), text) << id;
        }
    }
    std::uint8_t MusicByte() {
        const MapRenderer* map = page.MapTabRenderer();
        return currentProject->Read8(currentProject->WrapRomOffset(map->mapMusicTrackPos));
    }

    std::unique_ptr<MapPageProject> data;
    ScriptedPrompts prompts;
    MapTab page{prompts};
    TestPointer pointer;
};

}  // namespace

TEST_F(MapTabSave, SaveWritesThePaintedLayerAndTheChosenMusic) {
    Open();
    Load("0x0A");
    pointer.Press(Child<PictureView>("layer0Tiles"), {3 * 16 + 2, 16 + 2});  // metatile 11
    pointer.Press(Child<PictureView>("mapView"), {2 * 16 + 4, 4});           // cell (2, 0)
    Child<QComboBox>("music")->setCurrentIndex(20);
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    const auto saved = Reload(MapPageProject::kMapId);
    EXPECT_EQ(saved->layerMap[0][4], 11);
    EXPECT_EQ(saved->layerMap[0], page.MapTabRenderer()->layerMap[0]);
    EXPECT_EQ(saved->mapMusicTrack, 20u);
    EXPECT_EQ(MusicByte(), 20);
}

TEST_F(MapTabSave, GrownLayerIsRefusedOnA4MBImageAndTheMusicStays) {
    Open();
    Load("0x0A");
    ScrambleLayer1();
    Child<QComboBox>("music")->setCurrentIndex(20);
    const std::vector<std::uint8_t> before = currentProject->romImage;
    Click("save");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind(kTooLarge, 0), 0u) << prompts.messages[0];
    EXPECT_EQ(currentProject->romImage, before);
    EXPECT_EQ(MusicByte(), MapPageProject::kMusicTrack);
}

TEST_F(MapTabSave, NewMakesABlankMapThatSaveWritesWhole) {
    Open(SyntheticImage::k6MB);
    const std::vector<std::uint8_t> before = currentProject->romImage;
    ExpectMessages("new", {{"0x0A", "Please select a map that isn't used yet."},
                           {"3", "Please select a map that isn't used yet."},
                           {"0x450", "Please enter a map ID from 0x0000 to 0x044F."}});
    prompts.messages.clear();
    SetId("0x20");
    Click("new");
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_NE(page.MapTabRenderer(), nullptr);
    EXPECT_EQ(Child<QLineEdit>("layerSize0")->text(), "1024");
    EXPECT_EQ(Child<QLineEdit>("layerSize2")->text(), "1024");
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 0);
    EXPECT_TRUE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(currentProject->romImage, before);  // nothing is written before "Save"

    pointer.Press(Child<PictureView>("layer0Tiles"), {16 + 2, 2});  // metatile 1
    pointer.Press(Child<PictureView>("mapView"), {3 * 16, 16});     // cell (3, 1)
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_NE(ReadMapHeaderEntry(*currentProject, kFreeId), kNoMapHeader);
    const auto saved = Reload(kFreeId);
    EXPECT_EQ(saved->layerMap[0], page.MapTabRenderer()->layerMap[0]);
    EXPECT_EQ(saved->layerMap[0][2 * (64 + 3)], 1);
    EXPECT_EQ(saved->mapMusicTrack, 10u);

    // The map is now an existing one: a second save writes its layer.
    pointer.Press(Child<PictureView>("mapView"), {4 * 16, 16});
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Reload(kFreeId)->layerMap[0], page.MapTabRenderer()->layerMap[0]);
}

TEST_F(MapTabSave, NewAndSaveRefusals) {
    Open();
    SetId("0x20");
    Click("new");
    EXPECT_EQ(prompts.LastMessage(), "An extended ROM is required to add new Maps.");
    EXPECT_EQ(page.MapTabRenderer(), nullptr);

    // A typed id of a world map, or beyond the table, is never saved over.
    Load("0x0A");
    const std::vector<std::uint8_t> before = currentProject->romImage;
    ExpectMessages("save", {{"5", "Please use the 'World Maps' tab to load this map."},
                            {"0x460", "Please enter a map ID from 0x0000 to 0x044F."},
                            {"0x20", "An extended ROM is required to add new Maps."}});
    EXPECT_EQ(currentProject->romImage, before);
}

TEST_F(MapTabSave, LayerFileImportUsesTheLayersOwnWidth) {
    Open();
    Load("0x0A");
    ASSERT_TRUE(WriteWholeFile("layer0.map", page.MapTabRenderer()->layerMap[0]));
    // A width typed into "Layer Sizes:" plays no part in reading the file back.
    Child<QLineEdit>("layerSize0")->setText("256");
    prompts.fileAnswers.push_back(std::filesystem::path("layer0.map"));
    ASSERT_TRUE(page.OnImportMapFile());
    EXPECT_EQ(prompts.dialogFilters.back(), "Map file (*.map)|*.map|All Files (*.*)|*.*|");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(page.MapTabRenderer()->layerImages[0].width, 1024u);
}

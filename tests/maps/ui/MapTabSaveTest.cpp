#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/ui/MapTab.h"
#include "platform/ui/PictureView.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

namespace {

constexpr std::uint32_t kFreeId = 0x20;  // a map id without a map

// The Maps page on the page's test image of the size asked, with the template of new maps.
class MapTabSave : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void Open(std::uint32_t size = SyntheticImage::k4MB) {
        data = std::make_unique<MapPageProject>(size);
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

TEST_F(MapTabSave, SaveWritesThePaintedLayerAndTheMusicOrSaysWhyNot) {
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
    EXPECT_EQ(MusicByte(), 20);

    // A layer that no longer fits: the message, and neither layer nor music written.
    Click("editLayer1");
    SaveScene::Scramble(*page.MapTabRenderer(), 1, 300);
    Child<QComboBox>("music")->setCurrentIndex(30);
    const std::vector<std::uint8_t> before = currentProject->romImage;
    Click("save");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind("New map data of layer 1 is ", 0), 0u);
    EXPECT_EQ(currentProject->romImage, before);
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
    EXPECT_EQ(Child<QLineEdit>("layerSize0")->text(), "1024");
    EXPECT_TRUE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(currentProject->romImage, before);  // nothing is written before "Save"

    pointer.Press(Child<PictureView>("layer0Tiles"), {16 + 2, 2});  // metatile 1
    pointer.Press(Child<PictureView>("mapView"), {3 * 16, 16});     // cell (3, 1)
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    const auto saved = Reload(kFreeId);
    EXPECT_EQ(saved->layerMap[0][2 * (64 + 3)], 1);
    EXPECT_EQ(saved->layerMap[0], page.MapTabRenderer()->layerMap[0]);
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

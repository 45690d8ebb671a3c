#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "maps/SnesColor.h"
#include "maps/ui/MapTab.h"
#include "platform/ui/PictureView.h"
#include "project/ObjectListReader.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScreenPixel.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

namespace {

constexpr std::uint32_t kGrey = 0xF0F0F0;

// The Maps page on the page's test image, 4 MB unless a test opens another.
class MapTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        Open();
        page.resize(1300, 700);
        page.show();
    }
    void TearDown() override { DestroyCurrentProject(); }
    void Open(std::uint32_t size = SyntheticImage::k4MB) {
        data = std::make_unique<MapPageProject>(size);
        data->Open();
    }

    template <typename T>
    T* Child(const char* name) {
        return NamedChild<T>(page, name);
    }
    QString Text(const char* name) { return Child<QLineEdit>(name)->text(); }
    void Click(const char* name) { Child<QAbstractButton>(name)->click(); }
    void SetId(const QString& id) { Child<QLineEdit>("mapId")->setText(id); }
    void Load(const QString& id) {
        SetId(id);
        Click("load");
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
    // The map as the image now holds it, read by a map object of its own.
    std::unique_ptr<MapRenderer> Reload(std::uint32_t id) {
        auto map = std::make_unique<MapRenderer>(*currentProject);
        std::uint32_t w0 = 0;
        std::uint32_t w1 = 0;
        map->Load(id, w0, w1, false);
        return map;
    }
    PictureView* View() { return Child<PictureView>("mapView"); }
    // A pixel of the map view as the page's picture holds it, alpha aside.
    std::uint32_t ViewPixel(int x, int y) const { return page.Model().view.At(x, y) & 0xFFFFFF; }
    // A pixel inside cell (x, y) of the view.
    std::uint32_t CellPixel(int x, int y) const { return ViewPixel(x * 16 + 3, y * 16 + 3); }
    // The same pixel as the widget shows it on screen.
    std::uint32_t ShownPixel(int x, int y) {
        return View()->grab().toImage().pixel(x, y) & 0xFFFFFF;
    }
    // A pixel of a picture as the window shows it once repainted (the view's right edge lies
    // beyond the window's room).
    std::uint32_t OnScreen(int x, int y, const char* picture = "mapView") {
        return ScreenPixel(Child<PictureView>(picture), x, y);
    }
    std::uint16_t Layer0Cell(std::uint32_t x, std::uint32_t y) const {
        const auto& cells = page.MapTabRenderer()->layerMap[0];
        const std::size_t at = 2 * (y * MapPageProject::kWidthCells + x);
        return static_cast<std::uint16_t>(cells[at] | cells[at + 1] << 8);
    }

    std::unique_ptr<MapPageProject> data;
    ScriptedPrompts prompts;
    MapTab page{prompts};
    TestPointer pointer;
};

}  // namespace

TEST_F(MapTabTest, LoadsAMapPickedByNameAndShowsIt) {
    EXPECT_FALSE(Child<QAbstractButton>("save")->isEnabled());
    auto* names = Child<QComboBox>("mapNames");
    names->setCurrentIndex(MapPageProject::kMapId);
    emit names->activated(MapPageProject::kMapId);

    EXPECT_EQ(Text("mapId"), "0x000A");
    ASSERT_NE(page.MapTabRenderer(), nullptr);
    EXPECT_TRUE(prompts.messages.empty());
    // Cell (x, y) shows metatile (x + y) % 16, on screen as in the picture.
    for (auto [x, y] : {std::pair{3 * 16 + 5, 16 + 2}, {511, 511}, {5, 5}}) {
        const std::uint32_t expected = data->MetatileColour((x / 16 + y / 16) % 16);
        EXPECT_EQ(ViewPixel(x, y), expected) << x << "," << y;
        EXPECT_EQ(ShownPixel(x, y), expected) << x << "," << y;
    }
    EXPECT_EQ(OnScreen(5, 5), data->MetatileColour(0));
    EXPECT_EQ(Text("layerSize1"), "512");
    EXPECT_EQ(Text("scrollX"), "0/512");
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), MapPageProject::kMusicTrack);
    // Where the first of each kind of data was read, the layer after its two size bytes.
    QStringList offsets;
    for (const char* box : {"offset0", "offset1", "offset2", "offset3", "offset4"}) {
        offsets << Text(box);
    }
    EXPECT_EQ(offsets, (QStringList{"0x300100", "0x304002", "0x301000", "0x302000", "0x303000"}));
    // Palette row 1 holds the metatile colours; its swatches are 9 pixels apart, rows 10.
    EXPECT_EQ(OnScreen(4 * 9 + 3, 10 + 3, "paletteBox"), data->MetatileColour(4));
    EXPECT_TRUE(Child<QAbstractButton>("save")->isEnabled());
    // The panels list the metatiles, 8 per row; here the top two tiles of metatile 13.
    for (const int x : {5 * 16 + 3, 5 * 16 + 11}) {
        EXPECT_EQ(page.Model().tilePanels[0].At(x, 16 + 3) & 0xFFFFFF, data->MetatileColour(13));
    }
}

TEST_F(MapTabTest, RefusesWorldMapsAndIdsOutsideTheTables) {
    Load("0x0A");
    const MapRenderer* loaded = page.MapTabRenderer();
    const std::uint32_t shown = ViewPixel(20, 20);
    for (const char* id : {"2", "3", "5", "35", "0x0023"}) {
        Load(id);
        EXPECT_EQ(prompts.LastMessage(), "Please use the 'World Maps' tab to load this map.") << id;
    }
    // Letters or nothing are no map 0.
    for (const char* id : {"0x450", "1105", "-1", "0xFFFFFFFF", "", "abc", "0x", "12ab"}) {
        prompts.messages.clear();
        Load(id);
        EXPECT_EQ(prompts.LastMessage(), "Please enter a map ID from 0x0000 to 0x044F.") << id;
    }
    // The map that was loaded is still there, shown and edited.
    EXPECT_EQ(page.MapTabRenderer(), loaded);
    EXPECT_EQ(page.Model().loadedMapId, MapPageProject::kMapId);
    EXPECT_EQ(ViewPixel(20, 20), shown);

    // Release M's header table ends after 255 entries, where its script pieces begin.
    auto released = std::make_unique<ProjectContext>();
    ImportRom(*released,
              SyntheticImage(SyntheticImage::k1MB, SyntheticImage::Region::ReleaseM).Bytes());
    ReplaceCurrentProject(std::move(released));
    ExpectMessages("load", {{"0xFF", "Please enter a map ID from 0x0000 to 0x00FE."}});
}

TEST_F(MapTabTest, MapModesAndMissingObjectLists) {
    Load("0x0C");  // mode 0x0E: layer 1 starts hidden
    EXPECT_FALSE(Child<QAbstractButton>("layer1")->isChecked());
    EXPECT_TRUE(prompts.messages.empty());
    // Mode 0x37: layer 1 is drawn from metatile table 0, as its box says.
    currentProject->Write8(LocateObjectList(*currentProject, 0x0C)->offset + 1, 0x37);
    Load("0x0C");
    EXPECT_TRUE(Child<QAbstractButton>("layer1Tilemap0")->isChecked());
    EXPECT_TRUE(page.MapTabRenderer()->layer1UsesTable0);

    Load("0x0D");  // mode 0x14 is not known; the map loads all the same
    EXPECT_EQ(prompts.LastMessage(), "Unhandled Map Flag\nMap mode byte: 0x14");
    EXPECT_TRUE(Child<QAbstractButton>("layer1")->isChecked());
    EXPECT_EQ(ViewPixel(40, 8), data->MetatileColour(2));

    prompts.messages.clear();
    Load("0x0B");  // no object list: an empty page, nothing said, nothing to save
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_NE(page.MapTabRenderer(), nullptr);
    EXPECT_EQ(ShownPixel(100, 100), kGrey);
    EXPECT_EQ(page.Model().tilePanels[1].At(3, 3) & 0xFFFFFF, kGrey);
    EXPECT_TRUE(page.Model().paletteBox.Empty() && !Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(Text("offset1") + Text("layerSize1") + Text("scrollY"), "00/x");
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 0);

    // With an object list, an id without a map (header 2) empties the page too; a script that
    // loads no layer leaves nothing to save.
    currentProject->Write16(
        currentProject->Table(RegionTable::SpritePlacementPointerTableA) + 2 * 0x20, 0x9000);
    for (const std::uint32_t header : {kNoMapHeader, 0x310000u}) {
        Load("0x0A");
        currentProject->Write24(MapHeaderEntryOffset(*currentProject, 0x20), header);
        Load("0x20");
        EXPECT_FALSE(Child<QAbstractButton>("save")->isEnabled()) << header;
        EXPECT_EQ(Text("scrollY"), header == kNoMapHeader ? "0/x" : "0/0");
    }
}

TEST_F(MapTabTest, TheWheelScrollsTheViewAndThePanelsWithinTheirLimits) {
    Load("0x0A");
    QWidget* view = View();
    pointer.Wheel(view, {10, 10}, -120);  // the layer is as high as the view
    EXPECT_EQ(Text("scrollY"), "0/0");
    for (int i = 0; i < 40; ++i) {
        pointer.Wheel(view, {0, 10}, -120, Qt::ControlModifier);  // its edge belongs to it
    }
    EXPECT_EQ(Text("scrollX"), "512/512");
    EXPECT_EQ(ShownPixel(0, 0), data->MetatileColour(32 % 16));  // cell 32 at the left edge
    EXPECT_EQ(OnScreen(0, 0), data->MetatileColour(32 % 16));
    pointer.Wheel(view, {0, 10}, 120, Qt::ControlModifier);  // back a step, and none past 0
    pointer.Wheel(view, {10, 10}, 120);
    EXPECT_EQ(Text("scrollX") + Text("scrollY"), "496/5120/0");

    QWidget* panel = Child<PictureView>("layer1Tiles");
    for (int i = 0; i < 20; ++i) {
        pointer.Wheel(panel, {5, 5}, -120);
        pointer.Key(&page, Qt::Key_Down);
    }
    EXPECT_EQ(page.Model().state.panelScroll, 256u);
    pointer.Wheel(panel, {5, 5}, 120);
    EXPECT_EQ(page.Model().state.panelScroll, 248u);
}

TEST_F(MapTabTest, PicksAMetatileFromAPanelOrTheMapAndPlacesIt) {
    Load("0x0A");
    QWidget* view = View();
    pointer.Press(Child<PictureView>("layer0Tiles"), {5 * 16 + 2, 16 + 7});  // metatile 13
    EXPECT_EQ(page.Model().tileBox.At(8, 8) & 0xFFFFFF, data->MetatileColour(13));
    EXPECT_EQ(OnScreen(8, 8, "tileBox"), data->MetatileColour(13));
    pointer.Press(view, {2 * 16 + 4, 16 + 4});  // cell (2, 1)
    EXPECT_EQ(Layer0Cell(2, 1), 13);
    EXPECT_EQ(Layer0Cell(3, 1), 4);  // its neighbour is untouched
    EXPECT_EQ(ShownPixel(2 * 16 + 8, 16 + 8), data->MetatileColour(13));
    EXPECT_EQ(OnScreen(2 * 16 + 8, 16 + 8), data->MetatileColour(13));

    // The eyedropper takes the whole cell value, which placing repeats.
    pointer.Press(view, {7 * 16, 0}, Qt::RightButton);  // cell (7, 0): metatile 7
    pointer.Press(view, {0, 0});
    EXPECT_EQ(Layer0Cell(0, 0), 7);

    // Only the edited layer's panel answers; layer 1 edits show over layer 0.
    Click("editLayer1");
    pointer.Press(Child<PictureView>("layer0Tiles"), {16, 0});
    EXPECT_EQ(page.Model().state.SelectedValue(), 7u);
    pointer.Press(Child<PictureView>("layer1Tiles"), {3 * 16, 0});
    pointer.Press(view, {10 * 16, 10 * 16});
    EXPECT_EQ(Layer0Cell(10, 10), 4);
    EXPECT_EQ(ViewPixel(10 * 16 + 1, 10 * 16 + 1), data->MetatileColour(3));
    Click("layer1");  // hiding layer 1 shows layer 0 there again
    EXPECT_EQ(ViewPixel(10 * 16 + 1, 10 * 16 + 1), data->MetatileColour(4));
}

TEST_F(MapTabTest, OverlayChecksAndCollisionModesChangeThePicture) {
    Load("0x0A");
    // The exit's cell, the player's (drawn a cell higher) and a plain one.
    const auto cells = [&] {
        return std::array{CellPixel(4, 2), CellPixel(6, 4), CellPixel(12, 12)};
    };
    const auto plain = cells();
    Click("exits");
    Click("objects");
    const auto overlaid = cells();
    // The colour sheet of the last sprite drawn shows in its own picture.
    EXPECT_EQ(Child<PictureView>("spriteScratch")->GetCanvas(), &page.Model().spriteScratch);
    EXPECT_NE(overlaid[0], plain[0]);
    EXPECT_NE(overlaid[1], plain[1]);
    EXPECT_EQ(overlaid[2], plain[2]);
    Click("exits");
    Click("objects");
    EXPECT_EQ(cells(), plain);

    Click("collisionShow");
    const std::uint32_t shown = CellPixel(12, 12);
    EXPECT_NE(shown, plain[2]);
    Click("collisionNumbers");
    EXPECT_NE(CellPixel(12, 12), shown);
    Click("collisionHide");
    EXPECT_EQ(CellPixel(12, 12), plain[2]);
}

TEST_F(MapTabTest, TheViewAndTheEditorsActOnTheLoadedMapNotTheTypedId) {
    std::vector<std::array<std::uint32_t, 3>> fills;
    page.SetEditorFill(
        [&](std::uint32_t id, std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex) {
            fills.push_back({id, column, row});
            exitIndex = 3;
        });
    Load("0x0A");
    Child<QLineEdit>("mapId")->setText("0x0B");
    Click("exits");  // the exits drawn are those of map 0x0A
    EXPECT_NE(CellPixel(4, 2), data->MetatileColour(6));

    Child<QLineEdit>("mapId")->setText("3");
    pointer.Press(Child<PictureView>("layer0Tiles"), {16 + 1, 16 + 1});  // metatile 9
    pointer.Press(View(), {16, 0});  // placing still works on map 0x0A
    EXPECT_EQ(Layer0Cell(1, 0), 9);

    pointer.Press(View(), {5 * 16 + 1, 3 * 16 + 15}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(fills, (std::vector<std::array<std::uint32_t, 3>>{{MapPageProject::kMapId, 5, 3}}));
    EXPECT_EQ(page.Model().state.exitIndex, 3u);
}

TEST_F(MapTabTest, AlternativeMapSkipsFlagGotosAndItsMusicIsNotWrittenElsewhere) {
    Load("0x0A");
    Click("alternativeMap");
    Load("0x0E");
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 5);
    Child<QComboBox>("music")->setCurrentIndex(20);
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Reload(MapPageProject::kMapId)->mapMusicTrack, MapPageProject::kMusicTrack);
    Click("alternativeMap");
    Load("0x0E");
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), MapPageProject::kMusicTrack);
}

TEST_F(MapTabTest, ShowsDataAtTypedOffsets) {
    // The palette is read as 256 colours: start a row early so the tiles' row 1 is the data's.
    Child<QLineEdit>("offset0")->setText("0x3000E0");
    Child<QLineEdit>("offset1")->setText(QString::number(MapPageProject::kLayer0 + 2));
    Child<QLineEdit>("offset2")->setText("0x301000");
    Child<QLineEdit>("offset3")->setText("0x302000");
    Child<QLineEdit>("layerSize0")->setText("1024");
    Click("loadByOffsets");
    EXPECT_EQ(Text("scrollX"), "0/256");
    EXPECT_EQ(ViewPixel(3 * 16 + 1, 16 + 1), data->MetatileColour(4));
    EXPECT_TRUE(prompts.messages.empty());

    Child<QLineEdit>("offset2")->setText("0x3FFFF0");  // nothing decodes there
    Click("loadByOffsets");
    EXPECT_EQ(prompts.LastMessage(), "Could not decompress the data at 0x3FFFF0.");

    // A box that holds no offset is refused before anything is read; only "Map:" and
    // "Tiles:" must be given.
    Child<QLineEdit>("offset2")->setText("0x301000");
    Child<QLineEdit>("offset3")->setText("tilemap");
    Click("loadByOffsets");
    EXPECT_EQ(prompts.LastMessage(),
              "TileMap: must be a number from 0x000000 to 0xFFFFFF; \"tilemap\" is not.");
    Child<QLineEdit>("offset3")->clear();
    Child<QLineEdit>("offset1")->clear();
    Click("loadByOffsets");
    EXPECT_EQ(prompts.LastMessage(),
              "Map: must be a number from 0x000000 to 0xFFFFFF; \"\" is not.");
}

TEST_F(MapTabTest, ANewProjectUnloadsTheMapAndAVanishedOneIsNotTouched) {
    Load("0x0A");
    DestroyCurrentProject();
    Click("exits");  // the map object's image is gone: the handler drops it
    EXPECT_EQ(page.MapTabRenderer(), nullptr);

    data->Open();
    Load("0x0A");
    pointer.Press(Child<PictureView>("layer0Tiles"), {2, 2});
    page.UnloadMap();
    EXPECT_EQ(page.MapTabRenderer(), nullptr);
    EXPECT_EQ(Text("mapId"), "");
    EXPECT_EQ(Text("layerSize0"), "256");
    EXPECT_EQ(ShownPixel(300, 300), kGrey);
    EXPECT_TRUE(page.Model().paletteBox.Empty() && page.Model().tileBox.Empty());
    EXPECT_FALSE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 0);
}

TEST_F(MapTabTest, SaveWritesThePaintedLayerAndTheMusicOrSaysWhyNot) {
    Load("0x0A");
    pointer.Press(Child<PictureView>("layer0Tiles"), {3 * 16 + 2, 16 + 2});  // metatile 11
    pointer.Press(View(), {2 * 16 + 4, 4});                                  // cell (2, 0)
    Child<QComboBox>("music")->setCurrentIndex(20);
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    const auto saved = Reload(MapPageProject::kMapId);
    EXPECT_EQ(saved->layerMap[0][4], 11);
    EXPECT_EQ(saved->layerMap[0], page.MapTabRenderer()->layerMap[0]);
    const std::uint32_t music = page.MapTabRenderer()->mapMusicTrackPos;
    EXPECT_EQ(currentProject->Read8(currentProject->WrapRomOffset(music)), 20);

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

TEST_F(MapTabTest, NewMakesABlankMapThatSaveWritesWhole) {
    Open(SyntheticImage::k6MB);
    const std::vector<std::uint8_t> before = currentProject->romImage;
    ExpectMessages("new", {{"0x0A", "Please select a map that isn't used yet."},
                           {"3", "Please select a map that isn't used yet."},
                           {"0x450", "Please enter a map ID from 0x0000 to 0x044F."}});
    // Without the blank map's tiles nothing is made, and the map shown stays.
    Load("0x0A");
    const std::uint16_t tilesSize = currentProject->Read16(0x130001);
    currentProject->Write16(0x130001, 0);
    ExpectMessages("new", {{"0x20",
                            "The blank map that new maps start from is missing from "
                            "this ROM.\nNo new map was made."}});
    EXPECT_EQ(Text("scrollY"), "0/0");
    currentProject->Write16(0x130001, tilesSize);
    prompts.messages.clear();
    // Tile-number offsets as a header script sets them stay with the map that set them; the
    // blank map shows its own tiles (colour 3 of palette row 0).
    page.MapTabRenderer()->tileNumberOffset = {0x100, 0x100};
    SetId("0x20");
    Click("new");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 10);  // the track a new map's script names
    EXPECT_EQ(CellPixel(0, 0), SnesColorToArgb(0x3E0, 0) & 0xFFFFFF);
    EXPECT_EQ(Text("layerSize0"), "1024");
    EXPECT_EQ(Text("offset1"), "");  // the loaded map's offsets are gone
    EXPECT_TRUE(Child<QAbstractButton>("save")->isEnabled());
    EXPECT_EQ(currentProject->romImage, before);  // nothing is written before "Save"

    pointer.Press(Child<PictureView>("layer0Tiles"), {16 + 2, 2});  // metatile 1
    pointer.Press(View(), {3 * 16, 16});                            // cell (3, 1)
    Child<QComboBox>("music")->setCurrentIndex(30);
    Click("save");
    EXPECT_TRUE(prompts.messages.empty());
    const auto saved = Reload(MapPageProject::kFreeMapId);
    EXPECT_EQ(saved->mapMusicTrack, 30u);
    EXPECT_EQ(saved->layerMap[0][2 * (64 + 3)], 1);
    EXPECT_EQ(saved->layerMap[0], page.MapTabRenderer()->layerMap[0]);
    // Saved again, the new map's music is written where its script holds it.
    Child<QComboBox>("music")->setCurrentIndex(20);
    Click("save");
    EXPECT_EQ(Reload(MapPageProject::kFreeMapId)->mapMusicTrack, 20u);
}

TEST_F(MapTabTest, NewAndSaveRefusals) {
    SetId("0x20");
    Click("new");
    EXPECT_EQ(prompts.LastMessage(), "An extended ROM is required to add new Maps.");
    EXPECT_EQ(page.MapTabRenderer(), nullptr);

    // A typed id of a world map, beyond the table, or unreadable is never saved over.
    Load("0x0A");
    const std::vector<std::uint8_t> before = currentProject->romImage;
    const char* const range = "Please enter a map ID from 0x0000 to 0x044F.";
    ExpectMessages("save", {{"5", "Please use the 'World Maps' tab to load this map."},
                            {"0x460", range},
                            {"", range},
                            {"abc", range}});
    ExpectMessages("new", {{"", range}, {"x1", range}});
    EXPECT_EQ(currentProject->romImage, before);
}

TEST_F(MapTabTest, SaveWritesOnlyUnderTheIdTheMapWasLoadedOrMadeFor) {
    Open(SyntheticImage::k6MB);
    const std::vector<std::uint8_t> before = currentProject->romImage;
    // No blank map to make a new one from: "New" is refused, and "Save" keeps map 0x0A's
    // object from landing under the free id.
    Load("0x0A");
    currentProject->Write16(0x130001, 0);
    SetId("0x20");
    Click("new");
    Click("save");
    EXPECT_EQ(prompts.LastMessage(),
              "The map on this page is map 0x000A; Save writes it only under that ID, not under "
              "0x0020.\nNothing was saved.");
    currentProject->Write16(0x130001, before[0x130001] | before[0x130002] << 8);
    EXPECT_EQ(currentProject->romImage, before);

    // A map made by "New" and saved loads back as it was saved.
    prompts.messages.clear();
    Click("new");
    pointer.Press(Child<PictureView>("layer0Tiles"), {16 + 2, 2});  // metatile 1
    pointer.Press(View(), {5 * 16, 2 * 16});                        // cell (5, 2)
    Child<QComboBox>("music")->setCurrentIndex(0);
    Click("save");
    const std::vector<std::uint8_t> saved = page.MapTabRenderer()->layerMap[0];
    Load("0x0A");
    Load("0x20");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(page.Model().loadedMapId, MapPageProject::kFreeMapId);
    EXPECT_EQ(page.MapTabRenderer()->layerMap[0], saved);
    EXPECT_EQ(page.MapTabRenderer()->mapMusicTrackPos, 0u);  // track 0: no music command
    EXPECT_EQ(Child<QComboBox>("music")->currentIndex(), 0);
}

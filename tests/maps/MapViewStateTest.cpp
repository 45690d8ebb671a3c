#include <gtest/gtest.h>

#include "maps/MapMode.h"
#include "maps/MapViewState.h"

using Wheel = MapViewState::WheelResult;

TEST(MapMode, TheTableKnowsSixtyValuesAndSetsItsFlags) {
    int known = 0;
    for (int mode = 0; mode < 256; ++mode) {
        known += LookUpMapMode(static_cast<std::uint8_t>(mode)).known ? 1 : 0;
    }
    EXPECT_EQ(known, 60);
    for (std::uint8_t unknown :
         {0x00, 0x01, 0x14, 0x15, 0x33, 0x36, 0x3D, 0x40, 0x80, 0xC0, 0xC3, 0xFF}) {
        EXPECT_FALSE(LookUpMapMode(unknown).known) << int(unknown);
    }
    const MapMode hidden = LookUpMapMode(0x0E);
    EXPECT_TRUE(hidden.known && hidden.hideLayer1);
    EXPECT_FALSE(hidden.layer0Priority || hidden.layer1UsesTable0);
    const MapMode table0 = LookUpMapMode(0x37);
    EXPECT_TRUE(table0.layer1UsesTable0 && !table0.layer0Priority && !table0.hideLayer1);
    const MapMode both = LookUpMapMode(0x28);
    EXPECT_TRUE(both.layer0Priority && both.layer1UsesTable0);
    EXPECT_TRUE(LookUpMapMode(0x3F).layer0Priority);
    const MapMode plain = LookUpMapMode(0xC2);
    EXPECT_TRUE(plain.known && !plain.layer0Priority && !plain.hideLayer1);
}

TEST(MapViewState, LoadedLayersGiveHeightsAndScrollTexts) {
    MapViewState state;
    state.scrollX = state.scrollY = 64;
    state.panelScroll = 40;
    // 1024 x 768 pixels: 64 x 48 cells of 2 bytes; layer 1 of width below 8 pixels.
    state.SetLoadedLayers(128, 64 * 48 * 2, 0, 100);
    EXPECT_EQ(state.layerSize, (std::array<std::uint32_t, 4>{1024, 768, 0, 0}));
    EXPECT_EQ(state.scrollX + state.scrollY + state.panelScroll, 0u);
    EXPECT_EQ(state.horizontalScrollText, "0/512");
    EXPECT_EQ(state.verticalScrollText, "0/256");

    state.Clear();
    EXPECT_EQ(state.layerSize, (std::array<std::uint32_t, 4>{256, 0, 256, 0}));
    EXPECT_EQ(state.horizontalScrollText, "0/x");
}

TEST(MapViewState, TheWheelScrollsInSixteensWithinTheLayer) {
    MapViewState small;
    small.SetLoadedLayers(32, 512, 32, 512);  // 256 x 256
    EXPECT_EQ(small.horizontalScrollText, "0/0");
    EXPECT_EQ(small.WheelOverView(false, false, false, false), Wheel::Stopped);
    EXPECT_EQ(small.WheelOverView(false, true, false, false), Wheel::Stopped);
    EXPECT_EQ(small.WheelOverView(true, false, false, false), Wheel::Stopped);

    MapViewState wide;
    wide.SetLoadedLayers(128, 64 * 16 * 2, 0, 0);  // 1024 x 256
    int steps = 0;
    while (wide.WheelOverView(false, true, false, false) == Wheel::Scrolled) {
        ++steps;
    }
    EXPECT_EQ(steps, 32);
    EXPECT_EQ(wide.scrollX, 512u);
    EXPECT_EQ(wide.horizontalScrollText, "512/512");
    EXPECT_EQ(wide.scrollY, 0u);
    EXPECT_EQ(wide.WheelOverView(true, true, false, false), Wheel::Scrolled);
    EXPECT_EQ(wide.horizontalScrollText, "496/512");
    // Shift, or a mouse button held, moves nothing but still asks for a redraw.
    EXPECT_EQ(wide.WheelOverView(true, true, true, false), Wheel::Redraw);
    EXPECT_EQ(wide.WheelOverView(true, false, false, true), Wheel::Redraw);
    EXPECT_EQ(wide.scrollX, 496u);
}

TEST(MapViewState, PanelsScrollByEightsUpToTwoHundredFiftySix) {
    MapViewState state;
    int steps = 0;
    while (state.PanelDown()) {
        ++steps;
    }
    EXPECT_EQ(steps, 32);
    EXPECT_EQ(state.panelScroll, 256u);
    EXPECT_FALSE(state.WheelOverPanels(false));
    EXPECT_TRUE(state.WheelOverPanels(true));
    EXPECT_EQ(state.panelScroll, 248u);
    state.panelScroll = 0;
    EXPECT_FALSE(state.WheelOverPanels(true));
}

TEST(MapViewState, PanelClicksAndPickedCellsSelectTheValueThatIsPlaced) {
    MapViewState state;
    state.panelScroll = 16;
    const PixelRect shown = state.SelectFromPanel(40, 70, 1);
    EXPECT_EQ(shown.x, 32u);
    EXPECT_EQ(shown.y, 64u);
    EXPECT_EQ(shown.width, 16u);
    EXPECT_EQ(state.SelectedValue(), 2u + 8 * (4 + 2));

    const PixelRect tile = state.SelectFromPanel(40, 70, kByteTileSetType);
    EXPECT_EQ(tile.width, 8u);
    EXPECT_EQ(state.selectedColumn, 5u);
    EXPECT_EQ(state.selectedRow, 8u);  // no panel scroll for 8-bit tiles

    state.SelectCellValue(200);
    EXPECT_EQ(state.selectedColumn, 8u);
    EXPECT_EQ(state.selectedRow, 24u);
    for (std::uint32_t value : {0u, 191u, 192u, 383u, 384u, 1023u, 0x8123u, 0xFFFFu}) {
        state.SelectCellValue(static_cast<std::uint16_t>(value));
        EXPECT_EQ(state.SelectedValue(), value);
    }
}

TEST(MapViewState, WorldMapIds) {
    for (std::uint32_t id = 0; id < 64; ++id) {
        EXPECT_EQ(IsWorldMapId(id), id == 2 || id == 3 || id == 5 || id == 35) << id;
    }
}

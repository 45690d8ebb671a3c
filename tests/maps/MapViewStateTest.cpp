#include <array>
#include <utility>

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
    // known, layer 1 hidden, layer 0 over layer 1, layer 1 from table 0
    const std::pair<std::uint8_t, std::array<bool, 4>> cases[] = {
        {0xC2, {true, false, false, false}}, {0x0E, {true, true, false, false}},
        {0x3F, {true, false, true, false}},  {0x28, {true, false, true, true}},
        {0x37, {true, false, false, true}},  {0x14, {false, false, false, false}},
        {0x80, {false, false, false, false}}};
    for (const auto& [mode, flags] : cases) {
        const MapMode m = LookUpMapMode(mode);
        EXPECT_EQ((std::array{m.known, m.hideLayer1, m.layer0Priority, m.layer1UsesTable0}), flags)
            << int{mode};
    }
}

TEST(MapViewState, LoadedLayersGiveSizesAndScrollTexts) {
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

TEST(MapViewState, WheelsScrollTheViewBySixteensAndThePanelsByEights) {
    MapViewState small;
    small.SetLoadedLayers(32, 512, 32, 512);  // 256 x 256: no room to scroll
    EXPECT_EQ(small.WheelOverView(false, false, false, false), Wheel::Stopped);
    EXPECT_EQ(small.WheelOverView(true, true, false, false), Wheel::Stopped);

    MapViewState wide;
    wide.SetLoadedLayers(128, 64 * 16 * 2, 0, 0);  // 1024 x 256
    int steps = 0;
    while (wide.WheelOverView(false, true, false, false) == Wheel::Scrolled) {
        ++steps;
    }
    EXPECT_EQ(steps, 32);
    EXPECT_EQ(wide.horizontalScrollText, "512/512");
    EXPECT_EQ(wide.scrollY, 0u);
    EXPECT_EQ(wide.WheelOverView(true, true, false, false), Wheel::Scrolled);
    EXPECT_EQ(wide.scrollX, 496u);
    // Shift, or a mouse button held, moves nothing but still asks for a redraw.
    EXPECT_EQ(wide.WheelOverView(true, true, true, false), Wheel::Redraw);
    EXPECT_EQ(wide.WheelOverView(true, false, false, true), Wheel::Redraw);
    EXPECT_EQ(wide.scrollX, 496u);

    // The panels go down to metatile 256 and back up to 0.
    steps = 0;
    while (wide.PanelDown()) {
        ++steps;
    }
    EXPECT_EQ(steps, 32);
    EXPECT_FALSE(wide.WheelOverPanels(false));
    EXPECT_TRUE(wide.WheelOverPanels(true));
    EXPECT_EQ(wide.panelScroll, 248u);
    wide.panelScroll = 0;
    EXPECT_FALSE(wide.WheelOverPanels(true));
}

TEST(MapViewState, PanelClicksAndPickedCellsSelectTheValueThatIsPlaced) {
    MapViewState state;
    state.panelScroll = 16;
    const PixelRect shown = state.SelectFromPanel(40, 70, 1);
    EXPECT_EQ(shown.x + shown.y + shown.width, 32u + 64 + 16);
    EXPECT_EQ(state.SelectedValue(), 2u + 8 * (4 + 2));
    EXPECT_EQ(state.SelectFromPanel(40, 70, kByteTileSetType).width, 8u);
    EXPECT_EQ(state.SelectedValue(), 5u + 8 * 8);  // no panel scroll for 8-bit tiles
    for (std::uint32_t value : {0u, 191u, 192u, 383u, 384u, 1023u, 0x8123u, 0xFFFFu}) {
        state.SelectCellValue(static_cast<std::uint16_t>(value));
        EXPECT_EQ(state.SelectedValue(), value);
    }
    for (std::uint32_t id = 0; id < 64; ++id) {
        EXPECT_EQ(IsWorldMapId(id), id == 2 || id == 3 || id == 5 || id == 35) << id;
    }
}

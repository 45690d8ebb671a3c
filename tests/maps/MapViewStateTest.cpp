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
    // Layer 1 hidden, layer 0 over layer 1, layer 1 from table 0.
    const std::pair<std::uint8_t, std::array<bool, 3>> cases[] = {{0xC2, {false, false, false}},
                                                                  {0x0E, {true, false, false}},
                                                                  {0x3F, {false, true, false}},
                                                                  {0x28, {false, true, true}},
                                                                  {0x37, {false, false, true}}};
    for (const auto& [mode, flags] : cases) {
        const MapMode m = LookUpMapMode(mode);
        EXPECT_EQ((std::array{m.hideLayer1, m.layer0Priority, m.layer1UsesTable0}), flags)
            << int{mode};
    }
}

TEST(MapViewState, LoadedLayersSetTheScrollLimits) {
    MapViewState state;
    state.scrollX = state.scrollY = 64;
    // 1024 x 768 pixels: 64 x 48 cells of 2 bytes; layer 1 of width below 8 pixels.
    state.SetLoadedLayers(128, 64 * 48 * 2, 0, 100);
    EXPECT_EQ(state.layerSize, (std::array<std::uint32_t, 4>{1024, 768, 0, 0}));
    EXPECT_EQ(state.scrollX + state.scrollY, 0u);
    EXPECT_EQ(state.verticalScrollText, "0/256");
    // The walk to the limits is the Maps page's test. Shift, or a mouse button held, moves
    // nothing but still asks for a redraw.
    EXPECT_EQ(state.WheelOverView(false, true, true, false), Wheel::Redraw);
    EXPECT_EQ(state.WheelOverView(false, false, false, true), Wheel::Redraw);
    EXPECT_EQ(state.scrollX + state.scrollY, 0u);
    state.Clear();
    EXPECT_EQ(state.layerSize, (std::array<std::uint32_t, 4>{256, 0, 256, 0}));
    EXPECT_EQ(state.horizontalScrollText, "0/x");

    // A panel click on 8-bit tiles selects one tile, without the panel scroll; a picked cell's
    // whole value, upper bits included, is what placing writes.
    state.panelScroll = 16;
    EXPECT_EQ(state.SelectFromPanel(40, 70, kByteTileSetType).width, 8u);
    EXPECT_EQ(state.SelectedValue(), 5u + 8 * 8);
    for (std::uint32_t value : {0u, 191u, 192u, 1023u, 0x8123u, 0xFFFFu}) {
        state.SelectCellValue(static_cast<std::uint16_t>(value));
        EXPECT_EQ(state.SelectedValue(), value);
    }
}

TEST(MapViewState, ALargerViewMovesTheScrollLimits) {
    MapViewState state;
    state.SetLoadedLayers(128, 64 * 48 * 2, 0, 0);  // 1024 x 768
    state.scrollX = 512;
    state.scrollY = 256;
    EXPECT_FALSE(state.SetViewSize(100, 511));  // never below 512 x 512
    ASSERT_TRUE(state.SetViewSize(1000, 700));
    state.WriteScrollTexts();
    EXPECT_EQ(state.horizontalScrollText, "24/24");  // the view's edge on the map's
    EXPECT_EQ(state.verticalScrollText, "68/68");
    EXPECT_EQ(state.WheelOverView(false, false, false, false), Wheel::Stopped);
    EXPECT_TRUE(state.SetViewSize(4096, 4096));
    state.WriteScrollTexts();
    EXPECT_EQ(state.horizontalScrollText, "0/0");
}

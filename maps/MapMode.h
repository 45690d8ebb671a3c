#pragma once

#include <cstdint>

// What the display-mode byte at the head of a map's object list means for the "Maps" page.
struct MapMode {
    bool known = false;  // false: a value the page does not handle; flags stay as they were
    bool layer0Priority = false;
    bool layer1UsesTable0 = false;
    bool hideLayer1 = false;  // the "Layer 1" box is unchecked
};

// The page's table of the 60 mode values it knows.
MapMode LookUpMapMode(std::uint8_t mode);

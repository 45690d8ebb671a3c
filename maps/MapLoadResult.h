#pragma once

#include <string>

// What a map load did, for the page that started it.
enum class MapLoadStatus {
    Loaded,              // the map's data was read (blocks that did not decode are skipped)
    NoMap,               // the map id has no map; nothing changed
    NoData,              // this release has no data where the map is read from; nothing loaded
    DecompressionError,  // a world map's tiles or metatiles did not decode
};

struct MapLoadResult {
    MapLoadStatus status = MapLoadStatus::Loaded;
    // A text for the person; empty when there is nothing to say.
    std::string message;
};

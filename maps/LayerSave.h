#pragma once

#include <cstdint>

#include "maps/MapSaveResult.h"

class MapRenderer;

// Writes the tile map of one layer of a loaded map back into the image: over its old stream
// when the new one is no longer, else, on a 6 MB image, into a new block of the free area that
// the layer's header-script pointer is turned to (the allocation table is then copied into the
// image). On a smaller image a layer that grew is refused. Nothing is written on a refusal.
MapSaveResult SaveEditedLayer(MapRenderer& map, std::uint32_t layer);

// After a save: the music track chosen on the page replaces the one the map's header script
// names, unless the script names none (or track 0).
void ApplyMusicTrack(MapRenderer& map, std::uint32_t track);

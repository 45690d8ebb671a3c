#pragma once

#include <cstdint>
#include <filesystem>

#include "maps/MapSaveResult.h"

class MapRenderer;

// Layer files ("map"): the decoded tile map of one layer exactly as the map object holds it,
// 16-bit little-endian cells row by row, without a header.

inline constexpr const char* kLayerFileFilter = "Map file (*.map)|*.map|All Files (*.*)|*.*|";

// A chosen path gets ".map" unless it names it anywhere.
std::filesystem::path LayerFilePath(const std::filesystem::path& chosen);

// Writes the layer's tile map to the file.
MapSaveResult ExportLayerFile(const MapRenderer& map, std::uint32_t layer,
                              const std::filesystem::path& path);

// Reads a layer file over the start of the layer's tile map (cells beyond a shorter file keep
// their values) and renders the layer again at the map object's own width. The image is not
// touched. A file larger than the tile map, or empty, is refused.
MapSaveResult ImportLayerFile(MapRenderer& map, std::uint32_t layer,
                              const std::filesystem::path& path);

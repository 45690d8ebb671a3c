#include "maps/LayerFile.h"

#include "maps/MapRenderer.h"
#include "platform/Files.h"

namespace {

constexpr const char* kNoMapText = "Please load a map first.";

bool HasLayer(const MapRenderer& map, std::uint32_t layer) {
    return layer <= 1 && !map.layerMap[layer].empty();
}

}  // namespace

std::filesystem::path LayerFilePath(const std::filesystem::path& chosen) {
    return WithExtensionUnlessPresent(chosen, ".map");
}

MapSaveResult ExportLayerFile(const MapRenderer& map, std::uint32_t layer,
                              const std::filesystem::path& path) {
    if (!HasLayer(map, layer)) {
        return MapSaveResult::Refused(kNoMapText);
    }
    if (!WriteWholeFile(path, map.layerMap[layer])) {
        return MapSaveResult::Refused("Could not write file.");
    }
    return {};
}

MapSaveResult ImportLayerFile(MapRenderer& map, std::uint32_t layer,
                              const std::filesystem::path& path) {
    if (!HasLayer(map, layer)) {
        return MapSaveResult::Refused(kNoMapText);
    }
    const auto size = FileSize(path);
    if (!size) {
        return MapSaveResult::Refused("Could not open file.");
    }
    if (*size == 0) {
        return MapSaveResult::Refused("Map file is zero bytes");
    }
    if (*size > map.layerMap[layer].size()) {
        return MapSaveResult::Refused("Map file is too large");
    }
    const auto data = ReadWholeFile(path, map.layerMap[layer].size());
    if (!data) {
        return MapSaveResult::Refused("Could not read file.");
    }
    map.ApplyLayerData(*data, map.layerWidth[layer], layer);
    return {};
}

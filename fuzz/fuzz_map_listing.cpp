// Listing a map's header script and object list, as the script viewer does, on images whose
// scripts, piece tables and lists come from the fuzzer.
//
// Input: the map id (u16), then an image description.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "project/ProjectContext.h"
#include "scripts/MapListings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size <= 2) {
        return 0;
    }
    const std::uint32_t mapId = (data[0] | data[1] << 8) % kListedMapIds;
    std::vector<std::uint8_t>* image = pool.Build({data + 2, size - 2});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    ScriptTreeNode top;
    ListHeaderScript(project, top, mapId);
    ListSpritePlacement(project, top, mapId, false);
    return 0;
}

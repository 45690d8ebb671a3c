// File > New on a 6 MB image: the import, then the survey that records which blocks of the free
// area the maps still use, from the map-header table, the header scripts and their pieces, the
// blocks they name and the table copy at 0x400000. The table must be sound afterwards; an input
// that makes the survey run past the time limit is a hang a person would see.
//
// Input: an image description whose size is always taken as 6 MB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "maps/FreeAreaSurvey.h"
#include "project/Allocator.h"
#include "project/ProjectCommands.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint8_t kSizeBits = 3;
constexpr std::uint8_t kSixMegabytes = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> input(data, data + size);
    input[0] = static_cast<std::uint8_t>((input[0] & ~kSizeBits) | kSixMegabytes);
    const std::vector<std::uint8_t>* image = pool.Build(input);
    ProjectContext project;
    RecycledImageBuffer buffer(project);
    if (SetUpNewProject(project, *image, RecordUsedFreeArea) &&
        !AllocTableIsSound(project.allocTable)) {
        std::abort();
    }
    return 0;
}

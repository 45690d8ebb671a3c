// Walking scripts from arbitrary offsets of arbitrary images, with the listing kept in memory
// and no log.
//
// Input: the start address (u24), a flags byte (bit 0 root walk, bit 1 flags header, bit 2
// m flag, bits 3 to 5 the nesting depth before the walk), then an image description.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptDisassembler.h"

namespace {

constexpr std::size_t kPrefix = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size <= kPrefix) {
        return 0;
    }
    const std::uint32_t address =
        data[0] | data[1] << 8 | static_cast<std::uint32_t>(data[2]) << 16;
    const std::uint8_t flags = data[3];
    std::vector<std::uint8_t>* image = pool.Build({data + kPrefix, size - kPrefix});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    ScriptNestingDepth = (flags >> 3) & 7;
    ScriptReader reader(project);
    ScriptTreeNode top;
    DisassembleScript(reader, top, address,
                      {.root = (flags & 1) != 0,
                       .header = (flags & 2) != 0,
                       .mFlag = (flags & 4) != 0,
                       .writeLog = false});
    return 0;
}

// ROM import of an arbitrary image: size and region checks, exit lists, world-map exits, the
// object lists and, on a 6 MB image, their move to banks 0x50/0x51, which must leave lists
// that read back as they were read before the move. Exit lists written back must read back
// the same, too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "fuzz/NullPrompts.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"

namespace {

using Entries = std::vector<std::unique_ptr<SpritePlacementEntry>>;

bool SameEntries(const Entries& a, const Entries& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i]->code != b[i]->code || a[i]->length != b[i]->length || a[i]->data != b[i]->data ||
            !SameEntries(a[i]->children, b[i]->children)) {
            return false;
        }
    }
    return true;
}

bool SameLists(const std::vector<SpritePlacementList>& a,
               const std::vector<SpritePlacementList>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t m = 0; m < a.size(); ++m) {
        if (a[m].selector != b[m].selector || a[m].headWord != b[m].headWord ||
            !SameEntries(a[m].entries, b[m].entries)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    CopierHeaderSize(size);
    const std::vector<std::uint8_t>* image = pool.Build({data, size});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    RecycledImageBuffer buffer(project);
    const bool moves = image->size() == kRomSize6MB;
    ImportRom(project, *image);
    if (moves && HasExtendedBankBytes(project) &&
        project.spritePlacementLists.size() == kMapCount) {
        // The lists as read before the move, against those read from the banks they went to.
        const auto before = std::move(project.spritePlacementLists);
        LoadSpritePlacementLists(project);
        if (!SameLists(before, project.spritePlacementLists)) {
            std::abort();
        }
    }
    NullPrompts prompts;
    const auto exits = project.exitLists;
    if (WriteExitLists(project, prompts)) {
        LoadExitLists(project);
        if (project.exitLists != exits) {
            std::abort();
        }
    }
    return 0;
}

#include "maps/FreeAreaSurvey.h"

#include <algorithm>

#include "maps/HeaderScriptRunner.h"
#include "maps/MapDataBlocks.h"
#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/ScriptPointer.h"
#include "maps/WorldMapLayout.h"
#include "project/Allocator.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kLayerHeadBytes = 2;  // width and height in front of the LZ block
constexpr std::uint32_t kLzHeadBytes = 3;     // head byte and raw size
constexpr std::uint32_t kLongestCommand = 16;

bool InFreeArea(std::uint32_t offset) {
    return offset >= kAllocBase && offset < kAllocLimit;
}

std::uint32_t RoundedSize(std::uint32_t address, std::uint32_t size) {
    return std::min((size + 15) / 16 * 16, kAllocLimit - address);
}

class FreeAreaWalk final : public HeaderScriptSurvey {
public:
    explicit FreeAreaWalk(ProjectContext& project) : project_(project) {}

    void StartScript(std::uint32_t headerEntry, std::uint32_t start) {
        headerEntry_ = headerEntry;
        scriptStart_ = project_.WrapRomOffset(start);
        open_ = false;
    }

    // A script's commands are joined into one block while they follow each other.
    void Command(std::uint32_t start, std::uint32_t end) override {
        const std::uint32_t at = project_.WrapRomOffset(start);
        if (!InFreeArea(at) || end <= start || end - start > kLongestCommand) {
            open_ = false;
            return;
        }
        if (open_ && scripts_.back().address + scripts_.back().size == at) {
            scripts_.back().size += end - start;
            return;
        }
        scripts_.push_back({at, end - start, at == scriptStart_ ? headerEntry_ : 0});
        open_ = true;
    }

    void Block(BlockKind kind, std::uint32_t pointerPos, std::uint32_t address,
               std::uint32_t bytes) override {
        const std::uint32_t at = project_.WrapRomOffset(address);
        if (!InFreeArea(at)) {
            return;
        }
        std::uint32_t size = 0;
        switch (kind) {
            case BlockKind::Layer:
                size = LzBlockSize(at + kLayerHeadBytes);
                size = size == 0 ? 0 : kLayerHeadBytes + size;
                break;
            case BlockKind::Lz:
                size = LzBlockSize(at);
                break;
            case BlockKind::Tiles:
                // Tiles that do not decode are copied raw by a load.
                size = LzBlockSize(at);
                size = size == 0 ? bytes : size;
                break;
            case BlockKind::Colours:
                size = bytes;
                break;
        }
        if (size != 0) {
            blocks_.push_back({at, size, pointerPos});
        }
    }

    // The scripts first: a block that a script's own bytes would cover is not a block of it.
    std::vector<AllocEntry> Found() const {
        std::vector<AllocEntry> found = scripts_;
        found.insert(found.end(), blocks_.begin(), blocks_.end());
        for (AllocEntry& e : found) {
            e.size = RoundedSize(e.address, e.size);
        }
        return found;
    }

private:
    // Head and stream of the LZ block at offset, or 0 when it does not decode.
    std::uint32_t LzBlockSize(std::uint32_t offset) const {
        std::uint32_t raw = 0;
        std::uint32_t stream = 0;
        return UncompressData(project_, offset, raw, &stream) ? kLzHeadBytes + stream : 0;
    }

    ProjectContext& project_;
    std::uint32_t headerEntry_ = 0;
    std::uint32_t scriptStart_ = 0;
    bool open_ = false;
    std::vector<AllocEntry> scripts_;
    std::vector<AllocEntry> blocks_;
};

// Whether the 3 bytes at tag, as a map-header entry or as a script pointer, lead to address.
bool Designates(const ProjectContext& project, std::uint32_t tag, std::uint32_t address) {
    if (!InRange(project.romImage.size(), project.WrapRomOffset(tag), 3)) {
        return false;
    }
    const std::uint32_t value = ReadScriptPosition(project, tag);
    return project.WrapRomOffset(value) == address ||
           project.WrapRomOffset(ResolveScriptPointer(tag, value)) == address;
}

}  // namespace

std::vector<AllocEntry> FindUsedFreeAreaBlocks(ProjectContext& project) {
    FreeAreaWalk walk(project);
    MapRenderer map(project);
    // Map 0 and the world maps are read from fixed tables, never through a header script.
    for (std::uint32_t id = 1; id < MapHeaderEntryCount(project); ++id) {
        const std::uint32_t entry = MapHeaderEntryOffset(project, id);
        const std::uint32_t start = ReadScriptPosition(project, entry);
        if (start == kNoMapHeader || WorldMapLayoutOf(id) != nullptr) {
            continue;
        }
        for (const bool skipFlagGotos : {false, true}) {
            walk.StartScript(entry, start);
            map.cursor = start;
            HeaderScriptRunner(map, skipFlagGotos, &walk).Run();
        }
    }
    return walk.Found();
}

std::optional<AllocTable> ReadAllocTableCopy(const ProjectContext& project) {
    if (!InRange(project.romImage.size(), kAllocTableCopyOffset,
                 kAllocEntryCount * sizeof(AllocEntry))) {
        return std::nullopt;
    }
    const auto table =
        AllocTableFromBytes(std::span(project.romImage).subspan(kAllocTableCopyOffset));
    if (!table || !AllocTableIsSound(*table)) {
        return std::nullopt;
    }
    for (const AllocEntry& e : *table) {
        const bool sound = e.address == 0
                               ? e.size == 0 && e.tag == 0
                               : e.size != 0 && e.size % 16 == 0 &&
                                     Designates(project, e.tag, e.address);
        if (!sound) {
            return std::nullopt;
        }
    }
    return table;
}

void RecordUsedFreeArea(ProjectContext& project) {
    if (!project.Is6MB() || project.romImage.size() != kRomSize6MB) {
        return;
    }
    const bool empty = std::all_of(project.allocTable.begin(), project.allocTable.end(),
                                   [](const AllocEntry& e) { return e.address == 0; });
    if (empty) {
        if (const auto copy = ReadAllocTableCopy(project)) {
            project.allocTable = *copy;
        }
    }
    for (const AllocEntry& block : FindUsedFreeAreaBlocks(project)) {
        if (!RecordRomSpace(project, block.address, block.size, block.tag)) {
            return;
        }
    }
}

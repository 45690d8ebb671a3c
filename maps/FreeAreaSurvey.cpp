#include "maps/FreeAreaSurvey.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

// Walks header scripts and gathers the blocks of the free area they use, each once. A script
// walked before from the same start in the same mode is not walked again: it would name the
// same blocks and differ only in the map-header entry that tags its first block. Each LZ block
// is decoded once, whatever number of pointers name it.
class FreeAreaWalk final : public HeaderScriptSurvey {
public:
    explicit FreeAreaWalk(ProjectContext& project) : project_(project), map_(project) {}

    // The script that the map-header entry at headerEntry names, from start, with or without
    // its flag gotos.
    void Script(std::uint32_t headerEntry, std::uint32_t start, bool skipFlagGotos) {
        headerEntry_ = headerEntry;
        scriptStart_ = project_.WrapRomOffset(start);
        const auto [walked, first] = walked_.try_emplace({start, skipFlagGotos});
        startRuns_ = &walked->second;
        if (!first) {
            for (const std::uint32_t size : *startRuns_) {
                Add(scripts_, {scriptStart_, size, headerEntry_});
            }
            return;
        }
        map_.cursor = start;
        HeaderScriptRunner(map_, skipFlagGotos, this).Run();
        CloseRun();
    }

    // A script's commands are joined into one block while they follow each other.
    void Command(std::uint32_t start, std::uint32_t end) override {
        const std::uint32_t at = project_.WrapRomOffset(start);
        if (!InFreeArea(at) || end <= start || end - start > kLongestCommand) {
            CloseRun();
            return;
        }
        if (run_.address != 0 && run_.address + run_.size == at) {
            run_.size += end - start;
            return;
        }
        CloseRun();
        run_ = {at, end - start, at == scriptStart_ ? headerEntry_ : 0};
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
            Add(blocks_, {at, size, pointerPos});
        }
    }

    // A turn of the loop that follows a whole turn ends with the run that the turn before
    // ended with, which the next turn then went on with or closed: it is among the runs.
    void Repeats() override { run_ = {}; }

    // The scripts first: a block that a script's own bytes would cover is not a block of it.
    std::vector<AllocEntry> Found() const {
        std::vector<AllocEntry> found = scripts_;
        found.insert(found.end(), blocks_.begin(), blocks_.end());
        return found;
    }

private:
    struct EntryHash {
        std::size_t operator()(const AllocEntry& e) const {
            return std::hash<std::uint64_t>()(std::uint64_t{e.address} << 40 ^
                                              std::uint64_t{e.size} << 20 ^ e.tag);
        }
    };

    // Adds a block with its size rounded, unless the same block with the same tag is there.
    void Add(std::vector<AllocEntry>& list, AllocEntry e) {
        e.size = RoundedSize(e.address, e.size);
        if (seen_.insert(e).second) {
            list.push_back(e);
        }
    }

    void CloseRun() {
        if (run_.address == 0) {
            return;
        }
        if (run_.address == scriptStart_) {
            startRuns_->insert(run_.size);
        }
        Add(scripts_, run_);
        run_ = {};
    }

    // Head and stream of the LZ block at offset, or 0 when it does not decode.
    std::uint32_t LzBlockSize(std::uint32_t offset) {
        const auto [known, first] = lzSizes_.try_emplace(offset, 0);
        if (first) {
            std::uint32_t raw = 0;
            std::uint32_t stream = 0;
            if (UncompressData(project_, offset, raw, &stream)) {
                known->second = kLzHeadBytes + stream;
            }
        }
        return known->second;
    }

    ProjectContext& project_;
    MapRenderer map_;
    std::uint32_t headerEntry_ = 0;
    std::uint32_t scriptStart_ = 0;
    AllocEntry run_;  // the commands joined so far; address 0 when none
    // The sizes of the command runs that began at a script's start, by start and mode.
    std::map<std::pair<std::uint32_t, bool>, std::set<std::uint32_t>> walked_;
    std::set<std::uint32_t>* startRuns_ = nullptr;
    std::unordered_map<std::uint32_t, std::uint32_t> lzSizes_;
    std::unordered_set<AllocEntry, EntryHash> seen_;
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

// Whether tag is the position of a map-header entry: the tag of a map's own header script.
bool IsHeaderEntryTag(const ProjectContext& project, std::uint32_t tag) {
    const std::uint32_t first = MapHeaderEntryOffset(project, 0);
    return tag >= first && (tag - first) % 3 == 0 &&
           (tag - first) / 3 < MapHeaderEntryCount(project);
}

// One block per address and tag, at the largest size any of them has, in that order.
std::vector<AllocEntry> Distinct(std::vector<AllocEntry> blocks) {
    std::sort(blocks.begin(), blocks.end(), [](const AllocEntry& a, const AllocEntry& b) {
        return std::tie(a.address, a.tag, b.size) < std::tie(b.address, b.tag, a.size);
    });
    blocks.erase(std::unique(blocks.begin(), blocks.end(),
                             [](const AllocEntry& a, const AllocEntry& b) {
                                 return a.address == b.address && a.tag == b.tag;
                             }),
                 blocks.end());
    return blocks;
}

// The blocks (distinct, in address order) whose tag may release them, as address and tag: no
// other block meets their bytes, which need not start on 16-byte boundaries.
std::set<std::pair<std::uint32_t, std::uint32_t>> SoleOwners(
    const std::vector<AllocEntry>& blocks) {
    std::set<std::pair<std::uint32_t, std::uint32_t>> owners;
    std::int64_t reach = 0;  // the furthest end of the blocks that start before
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const AllocEntry& b = blocks[i];
        const std::int64_t end = std::int64_t{b.address} + b.size;
        const bool met =
            reach > b.address || (i + 1 < blocks.size() && blocks[i + 1].address < end);
        reach = std::max(reach, end);
        if (b.tag != 0 && !met) {
            owners.insert({b.address, b.tag});
        }
    }
    return owners;
}

// The copy's entries as far as the walk measured the block that each one's tag leads to at its
// address; an entry whose block the walk did not reach is left to the walk, as is everything
// past that size.
AllocTable TrustedCopy(AllocTable copy, const std::vector<AllocEntry>& found) {
    for (AllocEntry& e : copy) {
        const auto it = std::lower_bound(
            found.begin(), found.end(), e, [](const AllocEntry& a, const AllocEntry& b) {
                return std::tie(a.address, a.tag) < std::tie(b.address, b.tag);
            });
        if (it != found.end() && it->address == e.address && it->tag == e.tag) {
            e.size = std::min(e.size, it->size);
        } else {
            e = {};
        }
    }
    return copy;
}

}  // namespace

std::vector<AllocEntry> FindUsedFreeAreaBlocks(ProjectContext& project) {
    FreeAreaWalk walk(project);
    // Map 0 and the world maps are read from fixed tables, never through a header script.
    for (std::uint32_t id = 1; id < MapHeaderEntryCount(project); ++id) {
        const std::uint32_t entry = MapHeaderEntryOffset(project, id);
        const std::uint32_t start = ReadScriptPosition(project, entry);
        if (start == kNoMapHeader || WorldMapLayoutOf(id) != nullptr) {
            continue;
        }
        for (const bool skipFlagGotos : {false, true}) {
            walk.Script(entry, start, skipFlagGotos);
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
        const bool sound = e.address == 0 ? e.size == 0 && e.tag == 0
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
    const std::vector<AllocEntry> found = Distinct(FindUsedFreeAreaBlocks(project));
    auto& table = project.allocTable;
    const bool empty =
        std::all_of(table.begin(), table.end(), [](const AllocEntry& e) { return e.address == 0; });
    if (empty) {
        if (const auto copy = ReadAllocTableCopy(project)) {
            table = TrustedCopy(*copy, found);
        }
    }

    // A tag may release only a block that nothing else uses; a map's own script keeps its
    // tag whatever meets it, since nothing releases a script and the Maps page reads the tag.
    std::vector<AllocEntry> blocks = found;
    for (const AllocEntry& e : table) {
        if (e.address != 0) {
            blocks.push_back(e);
        }
    }
    const auto owners = SoleOwners(Distinct(std::move(blocks)));
    const auto marked = [&project](std::uint32_t tag) { return IsHeaderEntryTag(project, tag); };
    const auto untagIfShared = [&](AllocEntry& e) {
        if (!marked(e.tag) && owners.count({e.address, e.tag}) == 0) {
            e.tag = 0;
        }
    };
    std::for_each(table.begin(), table.end(), untagIfShared);
    blocks = found;
    std::for_each(blocks.begin(), blocks.end(), untagIfShared);

    project.freeAreaUnrecordable = !RecordRomSpace(project, std::move(blocks), marked);
}

#include "project/SpritePlacementLists.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Prompts.h"
#include "platform/Trace.h"
#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"

namespace {

using Entries = std::vector<std::unique_ptr<SpritePlacementEntry>>;

constexpr std::uint32_t kBankSize = 0x10000;
constexpr std::uint32_t kListDataStart = 0x8000 + kObjectTableBytes;
// Two banks can never hold more entries than this (each takes at least one byte); a loader
// that meets more is looking at lists that call each other without end.
constexpr std::size_t kMaxLoadedEntries = 4 * kBankSize;

std::unique_ptr<SpritePlacementEntry> EndEntry() {
    auto end = std::make_unique<SpritePlacementEntry>();
    end->code = kObjectCodeEnd;
    return end;
}

// Reads lists and their nested lists, bounded in depth and in the number of entries, with a
// guard against lists that call themselves.
class ListLoader {
public:
    explicit ListLoader(std::span<const std::uint8_t> image) : image_(image) {}

    Entries ReadSequence(std::uint32_t start, int depth);
    bool Complete() const { return complete_; }

private:
    Entries ReadCalled(std::uint32_t target, int depth);

    std::span<const std::uint8_t> image_;
    std::vector<std::uint32_t> path_;  // starts of the lists being read, outermost first
    std::size_t budget_ = kMaxLoadedEntries;
    bool complete_ = true;
};

Entries ListLoader::ReadSequence(std::uint32_t start, int depth) {
    std::vector<ObjectCommand> commands;
    ObjectListReader reader(image_, start);
    while (budget_ > 0) {
        auto command = reader.Next();
        if (!command) {
            break;
        }
        --budget_;
        commands.push_back(*command);
    }
    const bool ended = !commands.empty() && commands.back().IsEnd();
    if (!ended) {
        Trace("Object list at 0x%06X has no end; it is cut there\n", start);
        complete_ = false;
    }

    path_.push_back(start);
    Entries entries;
    entries.reserve(commands.size() + (ended ? 0 : 1));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const ObjectCommand& c = commands[i];
        auto entry = std::make_unique<SpritePlacementEntry>();
        entry->code = c.code;
        entry->length = static_cast<std::uint32_t>(c.operands.size());
        entry->data.assign(c.operands.begin(), c.operands.end());
        entry->imageOffset = c.offset;
        if (c.IsCall()) {
            const std::uint32_t k = c.LinkOffset();
            const std::uint32_t target = c.CallTarget();
            const std::uint32_t linkAt = c.offset + 1 + k;
            const auto later = std::lower_bound(
                commands.begin() + static_cast<std::ptrdiff_t>(i) + 1, commands.end(), target,
                [](const ObjectCommand& x, std::uint32_t at) { return x.offset < at; });
            const bool tail = later != commands.end() && later->offset == target;
            entry->imageLink = c.OperandWord(k);
            PutU16(entry->data, k, tail ? target - linkAt : kObjectLinkOutside);
            entry->children = ReadCalled(target, depth + 1);
            entry->childrenSource = target;
        }
        entries.push_back(std::move(entry));
    }
    path_.pop_back();
    if (!ended) {
        entries.push_back(EndEntry());
    }
    return entries;
}

Entries ListLoader::ReadCalled(std::uint32_t target, int depth) {
    if (depth > kMaxObjectListNesting ||
        std::find(path_.begin(), path_.end(), target) != path_.end()) {
        Trace("Object list at 0x%06X calls itself or nests too deep; the call is cut\n", target);
        complete_ = false;
        Entries cut;
        cut.push_back(EndEntry());
        return cut;
    }
    return ReadSequence(target, depth);
}

// Bytes that tell sequences apart: two sequences with the same key are written alike, and
// either can stand for the other wherever it is placed.
void AppendContent(const Entries& entries, std::vector<std::uint8_t>& key) {
    const auto append32 = [&key](std::size_t v) {
        for (int i = 0; i < 4; ++i) {
            key.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    append32(entries.size());
    for (const auto& e : entries) {
        key.push_back(static_cast<std::uint8_t>(e->code));
        append32(e->length);
        for (std::uint32_t i = 0; i < e->length; ++i) {
            key.push_back(GetU8(e->data, i));
        }
        AppendContent(e->children, key);
    }
}

// The key under which a list (kind 0) or called list (kind 1) is written once for all that
// use it: the place it was read from, and its content, which an edit may since have changed.
// Lists that were apart in the image stay apart, however alike, for an in-place edit of one
// (the object editor's) must not reach the other. Nothing for a sequence made here.
std::optional<std::vector<std::uint8_t>> SharingKey(std::uint8_t kind, std::uint32_t source,
                                                    std::uint16_t headWord,
                                                    const Entries& entries) {
    if (source == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> key{kind};
    for (int i = 0; i < 4; ++i) {
        key.push_back(static_cast<std::uint8_t>(source >> (8 * i)));
    }
    key.push_back(static_cast<std::uint8_t>(headWord));
    key.push_back(static_cast<std::uint8_t>(headWord >> 8));
    AppendContent(entries, key);
    return key;
}

std::uint64_t SequenceSize(const Entries& entries) {
    std::uint64_t size = 0;
    for (const auto& e : entries) {
        size += 1ull + e->length;
    }
    return size;
}

// The lists of one bank as they will stand in the image, built before anything is written.
class BankLayout {
public:
    explicit BankLayout(std::uint32_t base)
        : base_(base), dataStart_(base + kListDataStart), cursor_(dataStart_) {}

    // Places a list at the cursor and returns its pointer; a list or called list that was read
    // from one place and is already in the bank is not written twice, its callers point at the
    // one there.
    std::uint16_t PlaceList(const SpritePlacementList& list);

    bool Failed() const { return failed_; }
    std::uint32_t DataStart() const { return dataStart_; }
    std::span<const std::uint8_t> Data() const { return data_; }

private:
    void PlaceSequence(const Entries& entries, std::uint32_t start, std::uint64_t& end, int depth);
    bool Reserve(std::uint64_t end);
    // Where the sequence of this key was written; else nothing, and it is recorded at `at`.
    std::optional<std::uint32_t> Written(std::optional<std::vector<std::uint8_t>> key,
                                         std::uint32_t at);
    void Put8(std::uint32_t at, std::uint32_t value) { data_[at - dataStart_] = value & 0xFF; }
    void Put16(std::uint32_t at, std::uint32_t value) {
        Put8(at, value);
        Put8(at + 1, value >> 8);
    }

    std::uint32_t base_;
    std::uint32_t dataStart_;
    std::uint32_t cursor_;
    std::vector<std::uint8_t> data_;
    // Where each list (key starting with 0) and called list (1) read from the image was
    // written. The keys are held as strings: GCC 12 warns, wrongly, about comparing byte
    // vectors in optimised builds.
    std::map<std::string, std::uint32_t> placed_;
    bool failed_ = false;
};

bool BankLayout::Reserve(std::uint64_t end) {
    if (end > base_ + kBankSize) {
        failed_ = true;
        return false;
    }
    if (end - dataStart_ > data_.size()) {
        data_.resize(end - dataStart_, 0);
    }
    return true;
}

std::optional<std::uint32_t> BankLayout::Written(std::optional<std::vector<std::uint8_t>> key,
                                                 std::uint32_t at) {
    if (!key) {
        return std::nullopt;
    }
    const auto [it, added] = placed_.try_emplace(std::string(key->begin(), key->end()), at);
    return added ? std::nullopt : std::optional(it->second);
}

std::uint16_t BankLayout::PlaceList(const SpritePlacementList& list) {
    if (const auto written =
            Written(SharingKey(0, list.source, list.headWord, list.entries), cursor_)) {
        return static_cast<std::uint16_t>(*written);
    }
    const std::uint32_t p = cursor_;
    std::uint64_t end = p + 2ull + SequenceSize(list.entries);
    if (failed_ || !Reserve(end)) {
        return 0;
    }
    Put16(p, list.headWord);
    PlaceSequence(list.entries, p + 2, end, 0);
    cursor_ = static_cast<std::uint32_t>(end);
    return static_cast<std::uint16_t>(p);
}

// Writes a sequence at start; a called list that is not a tail of the sequence is appended at
// end, and so are the lists that it calls, at every depth.
void BankLayout::PlaceSequence(const Entries& entries, std::uint32_t start, std::uint64_t& end,
                               int depth) {
    if (depth > kMaxObjectListNesting) {
        failed_ = true;
        return;
    }
    const std::uint64_t total0 = SequenceSize(entries);
    std::uint32_t pos = start;
    for (const auto& e : entries) {
        if (failed_) {
            return;
        }
        Put8(pos, e->code);
        const std::uint32_t o = pos + 1;
        for (std::uint32_t i = 0; i < e->length; ++i) {
            Put8(o + i, GetU8(e->data, i));
        }
        const std::uint32_t k = ObjectCallLinkOffset(GetU16(e->data, 0));
        if (e->code == kObjectCodeCall && e->length >= k + 2) {
            const std::uint32_t link = GetU16(e->data, k);
            if (static_cast<std::uint32_t>(link + k + o - start) < total0) {
                Put16(o + k, link + k + o);
            } else {
                const auto childStart = static_cast<std::uint32_t>(end);
                const auto written =
                    Written(SharingKey(1, e->childrenSource, 0, e->children), childStart);
                Put16(o + k, written.value_or(childStart));
                if (!written) {
                    end += SequenceSize(e->children);
                    if (!Reserve(end)) {
                        return;
                    }
                    PlaceSequence(e->children, childStart, end, depth + 1);
                }
            }
        }
        pos = o + e->length;
    }
}

// Whether the project's pointer tables name a list for any map. Banks that no table was ever
// written into hold 0x00 or 0xFF throughout.
bool NamesAnyList(const ProjectContext& project) {
    for (const RegionTable table :
         {RegionTable::SpritePlacementPointerTableA, RegionTable::SpritePlacementPointerTableB}) {
        for (std::uint32_t m = 0; m < kMapCount; ++m) {
            const std::uint16_t pointer =
                project.Read16(project.WrapRomOffset(project.Table(table) + 2 * m));
            if (pointer != 0 && pointer != 0xFFFF) {
                return true;
            }
        }
    }
    return false;
}

void UseExtendedObjectTables(ProjectContext& project) {
    project.SetTable(RegionTable::SpritePlacementPointerTableA, kExtendedObjectTableA);
    project.SetTable(RegionTable::SpritePlacementPointerTableB, kExtendedObjectTableB);
    project.SetTable(RegionTable::SpritePlacementBankA, kExtendedObjectBankA);
    project.SetTable(RegionTable::SpritePlacementBankB, kExtendedObjectBankB);
}

// After a write: each entry's command as the image now holds it, read from the list's start
// and, for a call, from the list it calls.
void NoteImageOffsets(Entries& entries, std::span<const std::uint8_t> image, std::uint32_t start,
                      int depth) {
    ObjectListReader reader(image, start);
    for (auto& e : entries) {
        const std::optional<ObjectCommand> c = reader.Next();
        const bool same = c && c->code == e->code && c->operands.size() == e->length;
        e->imageOffset = same ? c->offset : 0;
        if (same && c->IsCall() && depth < kMaxObjectListNesting) {
            NoteImageOffsets(e->children, image, c->CallTarget(), depth + 1);
        }
    }
}

void RereadCommand(Entries& entries, const ObjectCommand& command) {
    for (auto& e : entries) {
        if (e->imageOffset == command.offset && e->code == command.code &&
            e->length == command.operands.size()) {
            e->data.assign(command.operands.begin(), command.operands.end());
        }
        RereadCommand(e->children, command);
    }
}

}  // namespace

void RereadSpritePlacementCommand(ProjectContext& project, std::uint32_t offset) {
    const std::optional<ObjectCommand> command = ObjectListReader(project.Image(), offset).Next();
    if (offset == 0 || !command || command->IsCall()) {
        return;
    }
    for (SpritePlacementList& list : project.spritePlacementLists) {
        RereadCommand(list.entries, *command);
    }
}

bool LoadSpritePlacementLists(ProjectContext& project) {
    project.spritePlacementLists.clear();
    project.spritePlacementLists.resize(kMapCount);
    ListLoader loader(project.Image());
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        const auto where = LocateObjectList(project, m);
        if (!where) {
            continue;
        }
        SpritePlacementList& list = project.spritePlacementLists[m];
        list.selector = where->selector;
        list.headWord = project.Read16(where->offset);
        list.source = where->offset;
        list.entries = loader.ReadSequence(where->offset + 2, 0);
    }
    return loader.Complete();
}

bool CanUseExtendedObjectBanks(const ProjectContext& project) {
    return project.Is6MB() && project.WrapRomOffset(kExtendedObjectBankA) == kExtendedObjectBankA &&
           project.WrapRomOffset(kExtendedObjectBankB + kBankSize - 1) ==
               kExtendedObjectBankB + kBankSize - 1;
}

SpritePlacementWriteResult WriteSpritePlacementLists(ProjectContext& project) {
    if (!CanUseExtendedObjectBanks(project)) {
        return SpritePlacementWriteResult::NotExtendedImage;
    }
    if (project.spritePlacementLists.size() != kMapCount) {
        return SpritePlacementWriteResult::NotLoaded;
    }
    BankLayout bankA(kExtendedObjectBankA);
    BankLayout bankB(kExtendedObjectBankB);
    std::vector<std::uint8_t> tableA(2 * kMapCount, 0);
    std::vector<std::uint8_t> tableB(2 * kMapCount, 0);
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        const SpritePlacementList& list = project.spritePlacementLists[m];
        if (list.entries.empty()) {
            continue;
        }
        // The other table keeps 0 for this map, so that no stale pointer overrides this one.
        if (list.selector == 0) {
            PutU16(tableA, 2 * m, bankA.PlaceList(list));
        } else {
            PutU16(tableB, 2 * m, bankB.PlaceList(list));
        }
    }
    if (bankA.Failed() || bankB.Failed()) {
        return SpritePlacementWriteResult::TooLarge;
    }
    UseExtendedObjectTables(project);
    project.WriteBytes(kExtendedObjectTableA, tableA);
    project.WriteBytes(kExtendedObjectTableB, tableB);
    project.WriteBytes(bankA.DataStart(), bankA.Data());
    project.WriteBytes(bankB.DataStart(), bankB.Data());
    WriteExtendedBankBytes(project);
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        SpritePlacementList& list = project.spritePlacementLists[m];
        if (const auto where = LocateObjectList(project, m); where && !list.entries.empty()) {
            NoteImageOffsets(list.entries, project.Image(), where->offset + 2, 0);
        }
    }
    return SpritePlacementWriteResult::Written;
}

bool WriteSpritePlacement(ProjectContext& project, Prompts& prompts) {
    switch (WriteSpritePlacementLists(project)) {
        case SpritePlacementWriteResult::Written:
            return true;
        case SpritePlacementWriteResult::NotExtendedImage:
            prompts.ShowMessage(project.Is6MB() ? std::string(kSpritePlacementNeeds6MB) +
                                                      "\nThis is a 6MB ROM, but " +
                                                      kExtendedBanksUnreachable + "."
                                                : kSpritePlacementNeeds6MB);
            return false;
        case SpritePlacementWriteResult::NotLoaded:
            prompts.ShowMessage(kSpritePlacementNotLoaded);
            return false;
        case SpritePlacementWriteResult::TooLarge:
            prompts.ShowMessage(kSpritePlacementTooLarge);
            return false;
    }
    return false;
}

bool WriteSpritePlacement(Prompts& prompts) {
    if (currentProject == nullptr) {
        prompts.ShowMessage(kSpritePlacementNotLoaded);
        return false;
    }
    return WriteSpritePlacement(*currentProject, prompts);
}

std::string OpenSpritePlacement(ProjectContext& project) {
    if (!CanUseExtendedObjectBanks(project) || !HasExtendedBankBytes(project)) {
        LoadSpritePlacementLists(project);
        return {};
    }
    // The release's own tables are still in force: an image whose release has no lists at all
    // loses nothing when banks 0x50 and 0x51 hold none either.
    const bool releaseHasLists = NamesAnyList(project);
    UseExtendedObjectTables(project);
    LoadSpritePlacementLists(project);
    return releaseHasLists && !NamesAnyList(project) ? kSpritePlacementMissing : std::string();
}

std::string ImportSpritePlacement(ProjectContext& project) {
    if (!project.Is6MB() || HasExtendedBankBytes(project)) {
        return OpenSpritePlacement(project);
    }
    // The game still reads its lists where the release keeps them: move them before the bank
    // bytes send it to banks 0x50 and 0x51.
    const char* why = nullptr;
    if (!LoadSpritePlacementLists(project)) {
        why = "an object list has no end, calls itself or nests too deep";
    } else if (WriteSpritePlacementLists(project) != SpritePlacementWriteResult::Written) {
        why = CanUseExtendedObjectBanks(project) ? "they don't fit into these two banks"
                                                 : kExtendedBanksUnreachable;
    }
    if (why == nullptr) {
        return {};
    }
    return std::string(
               "The object lists were not moved into banks 0x50 and 0x51 of the 6MB "
               "ROM: ") +
           why + ".\nThey stay where the ROM keeps them.";
}

namespace {

// The code bytes that hold the banks of the sprite-placement tables, and their values for
// banks 0x50 and 0x51.
struct BankByte {
    std::uint32_t offset;
    std::uint8_t value;
};
constexpr BankByte kExtendedBankBytes[] = {
    {0xF403, 0x50}, {0xF411, 0x50}, {0xF417, 0x50}, {0x69562, 0x50}, {0x69569, 0x50},
    {0xF409, 0x51}, {0xF420, 0x51}, {0xF42B, 0x51}, {0x6956D, 0x51}, {0x69574, 0x51},
};

}  // namespace

void WriteExtendedBankBytes(ProjectContext& project) {
    for (const BankByte& b : kExtendedBankBytes) {
        project.Write8(b.offset, b.value);
    }
}

bool HasExtendedBankBytes(const ProjectContext& project) {
    return std::all_of(std::begin(kExtendedBankBytes), std::end(kExtendedBankBytes),
                       [&](const BankByte& b) { return project.Read8(b.offset) == b.value; });
}

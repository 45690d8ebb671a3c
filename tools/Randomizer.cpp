#include "tools/Randomizer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <sstream>

#include "platform/Files.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "platform/Trace.h"
#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/ScriptCompiler.h"
#include "tools/HeldPrompts.h"
#include "tools/PatchFiles.h"
#include "tools/PatchRecognition.h"
#include "tools/RandomizerTables.h"

namespace {

constexpr std::uint16_t kCarrot = 49;
constexpr std::uint16_t kItem27 = 27;
constexpr std::uint32_t kCarrotQuota = 7;
constexpr std::uint32_t kItem27Quota = 8;
constexpr std::uint8_t kValuable = 0x4C;
constexpr std::uint8_t kNotValuable = 0x17;
constexpr std::uint32_t kValuableCount = 5;

bool Has4MB(const ProjectContext& project) {
    return project.romImage.size() >= kRomSize4MB;
}

template <typename Table, typename Value>
bool Contains(const Table& table, Value value) {
    return std::find(table.begin(), table.end(), value) != table.end();
}

// --- The fixed changes of the variant ---

// One write of the fixed changes: the step it belongs to (1, 3 or 9), where, and the bytes.
struct FixedWrite {
    int step = 0;
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

// The shape of the fixed changes: steps 1 and 3 hold this many writes of this many bytes in all,
// step 3 also the message, step 9 exactly its two routines (kStep9Routines).
constexpr std::size_t kStep1Writes = 74;
constexpr std::size_t kStep1Bytes = 193;
constexpr std::size_t kStep3Writes = 45;
constexpr std::size_t kStep3Bytes = 113;
constexpr std::uint32_t kStep3MessageOffset = 0x178100;
constexpr std::size_t kStep3MessageSize = 243;

// The file is a few kilobytes; anything far larger is not it.
constexpr std::uintmax_t kFixedFileMaxSize = 0x100000;

std::string FixedFileMessage(const std::filesystem::path& path, const char* before,
                             const std::string& after) {
    return std::string("The randomizer's fixed changes ") + before + "\n" + path.string() + "\n" +
           after + "They were left out.";
}

// What keeps the writes from having the shape of the fixed changes, a line for each; empty when
// they have it.
std::string MissingFixedWrites(const ProjectContext& project,
                               const std::vector<FixedWrite>& writes) {
    std::array<std::size_t, 10> count{};
    std::array<std::size_t, 10> bytes{};
    bool message = false;
    std::array<bool, kStep9Routines.size()> routines{};
    std::size_t step9Others = 0;
    for (const FixedWrite& write : writes) {
        if (write.step == 3 && !message && write.offset == kStep3MessageOffset &&
            write.bytes.size() == kStep3MessageSize) {
            message = true;
            continue;
        }
        if (write.step == 9) {
            std::size_t r = 0;
            while (r < routines.size() &&
                   (routines[r] ||
                    write.offset != project.WrapRomOffset(kStep9Routines[r].address) ||
                    write.bytes.size() != kStep9Routines[r].size)) {
                ++r;
            }
            if (r < routines.size()) {
                routines[r] = true;
            } else {
                ++step9Others;
            }
            continue;
        }
        ++count[write.step];
        bytes[write.step] += write.bytes.size();
    }
    std::string missing;
    if (count[1] != kStep1Writes || bytes[1] != kStep1Bytes) {
        missing += FormatText("step 1 holds %zu writes of %zu bytes in all, not %zu of %zu\n",
                              count[1], bytes[1], kStep1Writes, kStep1Bytes);
    }
    if (count[3] != kStep3Writes || bytes[3] != kStep3Bytes) {
        missing += FormatText(
            "step 3 holds %zu writes of %zu bytes in all besides its message, not %zu of %zu\n",
            count[3], bytes[3], kStep3Writes, kStep3Bytes);
    }
    if (!message) {
        missing += FormatText("step 3 lacks its %zu-byte message at %X\n", kStep3MessageSize,
                              kStep3MessageOffset);
    }
    for (std::size_t r = 0; r < routines.size(); ++r) {
        if (!routines[r]) {
            missing += FormatText("step 9 lacks its %zu-byte routine at %X\n",
                                  kStep9Routines[r].size, kStep9Routines[r].address);
        }
    }
    if (step9Others > 0) {
        missing += FormatText("step 9 holds %zu write(s) besides its two routines\n", step9Others);
    }
    return missing;
}

// The file holds one write per line: the step (1, 3 or 9), the offset and the bytes, all but
// the step in hexadecimal, separated by blanks, e.g. "1 9C685 EA EA EA". Offsets of 0x800000
// and above are game addresses and pass the address rule. A '#' starts a comment that runs to
// the end of its line; blank lines are skipped. The writes are taken all or none: nothing when
// the file cannot be read, a line is malformed, lies outside the image or over the running
// start, or the writes lack the shape of the fixed changes; `why` then says so.
std::optional<std::vector<FixedWrite>> ReadRandomizerFixedWrites(const ProjectContext& project,
                                                                 const std::filesystem::path& path,
                                                                 std::string& why) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        Trace("Patch file not read: %s\n", path.string().c_str());
        why = FixedFileMessage(path, "were not found in", "");
        return std::nullopt;
    }
    const auto file = ReadWholeFile(path, kFixedFileMaxSize);
    if (!file) {
        Trace("Patch file not read: %s\n", path.string().c_str());
        why = std::filesystem::is_directory(path, error)
                  ? FixedFileMessage(path, "should be a file, but", "is a folder.\n")
                  : FixedFileMessage(path, "could not be read from", "");
        return std::nullopt;
    }
    std::istringstream in(std::string(file->begin(), file->end()));
    std::vector<FixedWrite> writes;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line.erase(std::min(line.find('#'), line.size()));
        std::istringstream fields(line);
        std::string word;
        if (!(fields >> word)) {
            continue;
        }
        FixedWrite write;
        bool ok =
            (word == "1" || word == "3" || word == "9") && (fields >> std::hex >> write.offset);
        write.step = word[0] - '0';
        for (unsigned value = 0; ok && fields >> std::hex >> value;) {
            ok = value <= 0xFF;
            write.bytes.push_back(static_cast<std::uint8_t>(value));
        }
        // A game address must keep the write in one piece, as the game reads it.
        bool placed = InRange(project.romImage.size(), write.offset, write.bytes.size());
        if (write.offset >= 0x800000) {
            placed = write.bytes.size() <= RoomFrom(project, write.offset);
            write.offset = project.WrapRomOffset(write.offset);
        }
        // Every run appends its own bytes at the running start, at least those that end
        // "ItemAdd.bin".
        const std::uint32_t start = project.WrapRomOffset(kRandomizerRunningStart);
        placed = placed && (write.offset >= start + kItemAddEnd.size() ||
                            write.offset + write.bytes.size() <= start);
        if (!ok || !fields.eof() || write.bytes.empty() || !placed) {
            why = FixedFileMessage(path, "in", FormatText("have a bad line %d.\n", number));
            return std::nullopt;
        }
        writes.push_back(std::move(write));
    }
    if (writes.empty()) {
        why = FixedFileMessage(path, "in", "hold no writes.\n");
        return std::nullopt;
    }
    const std::string missing = MissingFixedWrites(project, writes);
    if (!missing.empty()) {
        why = FixedFileMessage(path, "in", "are not whole:\n" + missing);
        return std::nullopt;
    }
    return writes;
}

void ApplyFixedStep(ProjectContext& project, const std::vector<FixedWrite>& writes, int step) {
    for (const FixedWrite& write : writes) {
        if (write.step == step) {
            project.WriteBytes(write.offset, write.bytes);
        }
    }
}

// --- Hooks and the running address ---

// Writes the hooks and appends the patch files, and keeps what a second run on the same image
// must find: which sites it hooked, and whether any of its bytes differ from those the image
// held before the run.
class PatchWriter {
public:
    PatchWriter(ProjectContext& project, const std::vector<std::uint8_t>& before)
        : project_(project), before_(before) {}

    std::uint32_t running = kRandomizerRunningStart;

    // The appended files must also end at `offset`, the first place from the running start on
    // that this run writes at a fixed offset.
    void EndAt(std::uint32_t offset) { end_ = offset; }
    std::uint32_t Room() const {
        const std::uint32_t at = project_.WrapRomOffset(running);
        return std::min(RoomFrom(project_, running), at < end_ ? end_ - at : 0);
    }
    bool Fits(std::size_t length) const { return length <= Room(); }
    // Where the room ends, for messages.
    std::string RoomEnd() const {
        const std::uint32_t at = project_.WrapRomOffset(running);
        if (at >= end_ || end_ - at < RoomFrom(project_, running)) {
            return FormatText("run into image offset 0x%X, which this run also writes", end_);
        }
        return "run past " + RoomEndText(project_, running);
    }
    void Hook(std::uint32_t site, std::uint32_t target, std::uint32_t nops) {
        Put(project_.WrapRomOffset(site), JslHook(target, nops));
        hooked_.push_back(site);
    }
    // Only after Fits said yes: the bytes must land where the game reads them.
    void Append(std::span<const std::uint8_t> bytes) {
        Put(project_.WrapRomOffset(running), bytes);
        running += static_cast<std::uint32_t>(bytes.size());
    }
    bool Hooked(std::uint32_t site) const {
        return std::find(hooked_.begin(), hooked_.end(), site) != hooked_.end();
    }
    bool ChangedOwnPlaces() const { return changed_; }

private:
    void Put(std::uint32_t offset, std::span<const std::uint8_t> bytes) {
        changed_ = changed_ || !InRange(before_.size(), offset, bytes.size()) ||
                   !std::equal(bytes.begin(), bytes.end(), before_.begin() + offset);
        project_.WriteBytes(offset, bytes);
    }

    ProjectContext& project_;
    const std::vector<std::uint8_t>& before_;
    std::vector<std::uint32_t> hooked_;
    bool changed_ = false;
    std::uint32_t end_ = std::numeric_limits<std::uint32_t>::max();
};

// Whether the image held, before this run, a hook of the randomizer at a site this run left
// alone: a long call into the step-9 routine of that site, or into the place the patch files
// are appended to. Such a hook would now call whatever this run put there.
bool LeavesEarlierHook(const ProjectContext& project, const std::vector<std::uint8_t>& before,
                       const PatchWriter& writer) {
    const auto calls = [&](std::uint32_t site, std::uint32_t low, std::uint32_t high) {
        const std::uint32_t at = project.WrapRomOffset(site);
        if (writer.Hooked(site) || !InRange(before.size(), at, 4) || before[at] != kJsl) {
            return false;
        }
        const std::uint32_t target = GetU24(before, at + 1);
        return target >= low && target <= high;
    };
    const std::uint32_t start = kRandomizerRunningStart;
    const std::uint32_t end = start + RoomFrom(project, start);
    for (const Step9Routine& routine : kStep9Routines) {
        if (calls(routine.site, routine.address, routine.address)) {
            return true;
        }
    }
    for (const auto files :
         {std::span<const HookedFile>(kItemAddFile), std::span<const HookedFile>(kAsmPatchFiles)}) {
        for (const HookedFile& file : files) {
            for (const std::uint32_t site : file.sites) {
                if (site != 0 && calls(site, start, end)) {
                    return true;
                }
            }
        }
    }
    for (const std::uint32_t site : kCreditsHookSites) {
        if (calls(site, start, end)) {
            return true;
        }
    }
    return false;
}

// Image offset of "credits_new.bin". The step-9 routine at 0xE1FAB0 follows 0x7B0 bytes on.
constexpr std::uint32_t kCreditsOffset = 0x21F300;
constexpr std::size_t kCreditsMaxSize = 0x7B0;

// Texts of steps 2 and 4, with their image offsets.
constexpr char kBirdMessage[] = "It seems the\\nbird ate\\nthe message.\\w";
constexpr std::array<std::uint32_t, 1> kBirdMessageOffsets = {0x11DEEB};
constexpr char kStarstoneText[] = "Obtained Starstone";
constexpr std::array<std::uint32_t, 5> kStarstoneOffsets = {0x10AE93, 0x10B473, 0x10B587, 0x10F451,
                                                            0xFA6DC};
// The rumour places that get a GiveItem command, which starts two bytes before the marker.
constexpr std::array<std::size_t, 7> kGiveItemPlaces = {0, 1, 2, 3, 4, 6, 10};
constexpr std::size_t kGiveItemSize = 6;

// The first image offset from the running start on that this run writes at a fixed place: the
// appended files must end there. The rumour's script counts from its first byte, as its length
// is known only once compiled. No fixed place reaches the running start from below: the fixed
// changes may not (see their reader), and the hook sites and the bytes of steps 6, 9 and 12
// lie far below it on every release.
std::uint32_t FirstFixedPlace(const ProjectContext& project,
                              const std::optional<std::vector<FixedWrite>>& fixed) {
    const std::uint32_t start = project.WrapRomOffset(kRandomizerRunningStart);
    auto first = static_cast<std::uint32_t>(project.romImage.size());
    const auto place = [&](std::uint32_t offset) {
        if (offset >= start) {
            first = std::min(first, offset);
        }
    };
    if (fixed) {
        for (const FixedWrite& write : *fixed) {
            place(write.offset);
        }
    }
    for (const std::uint32_t offset : kBirdMessageOffsets) {
        place(offset);
    }
    for (const std::uint32_t offset : kStarstoneOffsets) {
        place(offset);
    }
    // The rumour and its GiveItem commands are written only where the release's item routine
    // is known.
    if (GiveItemWord(project.regionIndex)) {
        for (const RumourPlace& rumour : RumourPlaces) {
            place(rumour.markerOffset);
        }
        for (const std::size_t index : kGiveItemPlaces) {
            place(RumourPlaces[index].markerOffset - 2);
        }
        place(project.WrapRomOffset(kRumourScriptAddress));
    }
    place(kCreditsOffset);
    return first;
}

// Says that the patch files `list`, `bytes` long and followed by `reserved` bytes of their own,
// were left out, and where from the running address on they would run past their room.
void SayDoesNotFit(const ProjectContext& project, const PatchWriter& writer, Prompts& prompts,
                   const std::string& list, std::size_t bytes, std::size_t reserved) {
    const std::string after = reserved > 0 ? FormatText(" and the %zu after them", reserved) : "";
    prompts.ShowMessage(FormatText(
        "The patch files %s do not fit and were left out: their 0x%zX bytes%s from game address "
        "0x%06X (image offset 0x%X) %s.",
        list.c_str(), bytes, after.c_str(), writer.running, project.WrapRomOffset(writer.running),
        writer.RoomEnd().c_str()));
}

// Appends a set of hooked patch files, all or none: each routine is assembled for the address
// it lands at, so a file left out would move the ones after it. `reserved` bytes must follow
// the set in the same piece. A file that cannot be read is reported by the reader, a set
// without room says where it would not fit.
void ApplyHookedFiles(const ProjectContext& project, PatchWriter& writer, Prompts& prompts,
                      const std::filesystem::path& folder, std::span<const HookedFile> set,
                      std::size_t reserved = 0) {
    std::vector<std::string_view> names;
    for (const HookedFile& file : set) {
        names.push_back(file.name);
    }
    const auto files = ReadPatchFileSet(folder, names, kRomSize6MB, &prompts);
    if (!files) {
        return;
    }
    std::size_t total = reserved;
    for (const auto& bytes : *files) {
        total += bytes.size();
    }
    if (!writer.Fits(total)) {
        std::string list;
        for (const HookedFile& file : set) {
            list += (list.empty() ? "" : ", ") + std::string(file.name);
        }
        SayDoesNotFit(project, writer, prompts, list, total - reserved, reserved);
        return;
    }
    for (std::size_t i = 0; i < set.size(); ++i) {
        for (const std::uint32_t site : set[i].sites) {
            if (site != 0) {
                writer.Hook(site, writer.running, set[i].nops);
            }
        }
        writer.Append((*files)[i]);
    }
}

void WriteEncoded(ProjectContext& project, const std::string& text,
                  std::span<const std::uint32_t> offsets) {
    const std::vector<std::uint8_t> bytes = EncodeGameText(text, project.regionIndex, nullptr);
    for (const std::uint32_t offset : offsets) {
        project.WriteBytes(offset, bytes);
    }
}

// --- Entrances ---

struct EntranceRecord {
    std::uint8_t posX = 0, posY = 0, sizeX = 0, sizeY = 0;
    bool hasReturn = false;
    std::uint16_t returnX = 0, returnY = 0;
    std::uint8_t returnDirection = 0;
};

constexpr std::uint32_t kWorldMap = 2;

// The maps an exit's destination word leads to: the map itself, or every map of its
// conditional list.
std::vector<std::uint32_t> DestinationMaps(const ProjectContext& project, std::uint16_t word) {
    if ((word & kConditionalDestinationFlag) == 0) {
        return {word};
    }
    std::vector<std::uint32_t> maps;
    for (const ConditionalDestination& record : ReadConditionalDestinations(project, word)) {
        maps.push_back(record.dstMapId);
    }
    return maps;
}

struct SpecialReturn {
    std::uint32_t map;
    std::uint32_t offset;  // X, then Y two bytes later
};
constexpr std::array<SpecialReturn, 4> kSpecialReturns = {
    {{0x172, 0x10F44A}, {0x47, 0x10AE80}, {0x1A2, 0x11EBD4}, {0x1D6, 0x11ACB1}}};

}  // namespace

ChestWalk WalkChests(const ProjectContext& project) {
    ChestWalk walk;
    for (std::uint32_t map = 0; map < kChestMapCount; ++map) {
        for (const ChestRecord& chest : ReadChestList(project, map)) {
            if (chest.kind != 0x00 && chest.kind != 0x08 && !chest.IsLongForm()) {
                walk.unknownFlag = true;
                return walk;
            }
            walk.chests.push_back({chest, map});
        }
    }
    return walk;
}

std::string ChestComboText(const RandomChest& chest) {
    const ChestRecord& record = chest.record;
    if (record.HoldsGems()) {
        return FormatText("%03X|%X", chest.map, record.GemAmount());
    }
    const std::uint32_t item = record.itemWord & 0xFF;
    if (item >= kItemNameCount) {
        return FormatText("%03X|Item %u", chest.map, item);
    }
    return FormatText("%03X|%s", chest.map, std::string(ItemNameTable[item]).c_str());
}

bool SetChestItem(ProjectContext& project, const ChestRecord& chest, std::uint16_t item) {
    ChestRecord changed = chest;
    changed.itemWord = item;
    if (!changed.IsLongForm()) {
        changed.kind = 0;
    }
    return WriteChestRecord(project, changed) == ChestWriteResult::Written;
}

std::vector<RandomChest> RandomizeChestItems(ProjectContext& project, RandomizerGenerator& rng,
                                             std::string& message) {
    message.clear();
    ChestWalk walk = WalkChests(project);
    if (walk.unknownFlag) {
        message = kUnknownChestFlag;
        return {};
    }
    std::vector<RandomChest> collected;
    for (const RandomChest& chest : walk.chests) {
        if (!Contains(RandomizerExcludedChests, chest.record.chestId)) {
            collected.push_back(chest);
        }
    }
    const auto count = [&](std::uint16_t item) {
        return static_cast<std::uint32_t>(
            std::count_if(collected.begin(), collected.end(),
                          [item](const RandomChest& c) { return c.record.itemWord == item; }));
    };
    std::uint32_t carrots = count(kCarrot);
    std::uint32_t item27s = count(kItem27);
    const auto filler = [&rng] {
        return RandomizerFillerItems[rng() % RandomizerFillerItems.size()];
    };
    for (RandomChest& chest : collected) {
        std::uint16_t w = chest.record.itemWord;
        if (w >= 128 && w < 160) {
            w = carrots < kCarrotQuota ? kCarrot : filler();
            ++carrots;
        }
        if (w >= 160 && w < 192) {
            w = item27s < kItem27Quota ? kItem27 : filler();
            ++item27s;
        }
        if (w != chest.record.itemWord && SetChestItem(project, chest.record, w)) {
            chest.record.itemWord = w;
            if (!chest.record.IsLongForm()) {
                chest.record.kind = 0;
            }
        }
    }
    return collected;
}

std::string WriteRumour(ProjectContext& project, RandomizerGenerator& rng) {
    if (!Has4MB(project)) {
        return kRandomizerNeeds4MB;
    }
    // Seven markers are the item of a GiveItem command, which this release cannot have: there
    // the marker would land in the game's own script, and the rumour would promise nothing.
    if (!GiveItemWord(project.regionIndex)) {
        return kGiveItemsLeftOut;
    }
    std::array<std::uint8_t, RumourPlaces.size()> markers{};
    std::uint32_t valuableLeft = kValuableCount;
    std::uint32_t otherLeft = RumourPlaces.size() - kValuableCount;
    for (std::uint8_t& marker : markers) {
        const bool wantValuable = (rng() & 2) == 0;
        const bool valuable = wantValuable ? valuableLeft > 0 : otherLeft == 0;
        --(valuable ? valuableLeft : otherLeft);
        marker = valuable ? kValuable : kNotValuable;
    }
    std::string list;
    std::uint32_t listed = 0;
    for (std::size_t i = 0; i < markers.size(); ++i) {
        if (markers[i] == kValuable) {
            list += RumourPlaces[i].name;
            list += ++listed % 3 == 0 ? "\\w" : "\\n";
        }
    }
    const std::string script =
        "Print16(\"There is a rumor\\nabout these\\nlocations having\\wsomething of value\\n\\w" +
        list + "\\wBut it is a secret\\nto everybody!\")\nWaitMessage()\n";
    const ScriptCompileResult result =
        CompileScript(project, script, kRumourScriptAddress, false, false);
    if (!result.compiled) {
        return result.message;
    }
    for (std::size_t i = 0; i < markers.size(); ++i) {
        project.Write8(RumourPlaces[i].markerOffset, markers[i]);
    }
    return {};
}

bool ApplyBingoPatch(ProjectContext& project) {
    if (!Has4MB(project)) {
        return false;
    }
    project.Write8(0x10AE8B, 0x48);
    project.Write8(0x10B46B, 0x4C);
    project.Write8(0x10B56B, 0x53);
    return true;
}

namespace {

// Every step of the variant, each as far as its files allow.
void WriteVariant(ProjectContext& project, RandomizerGenerator& rng, Prompts& prompts,
                  bool asmPatches, const std::filesystem::path& folder, PatchWriter& writer) {
    std::string why;
    const auto fixed = ReadRandomizerFixedWrites(project, folder / kRandomizerFixedFile, why);
    if (!fixed) {
        prompts.ShowMessage(why);
    }
    if (fixed) {
        ApplyFixedStep(project, *fixed, 1);
    }
    writer.EndAt(FirstFixedPlace(project, fixed));
    WriteEncoded(project, kBirdMessage, kBirdMessageOffsets);
    if (fixed) {
        ApplyFixedStep(project, *fixed, 3);
    }
    WriteEncoded(project, kStarstoneText, kStarstoneOffsets);
    // A GiveItem command needs the address of the release's own item routine.
    if (const std::optional<std::uint16_t> routine = GiveItemWord(project.regionIndex)) {
        const auto low = static_cast<std::uint8_t>(*routine);
        const auto high = static_cast<std::uint8_t>(*routine >> 8);
        const std::array<std::uint8_t, kGiveItemSize> giveItem = {0x02, 0x54, 0x48,
                                                                  low,  high, kNop};
        for (const std::size_t place : kGiveItemPlaces) {
            project.WriteBytes(RumourPlaces[place].markerOffset - 2, giveItem);
        }
    }  // else the rumour is left out too, and says so
    project.Write8(project.WrapRomOffset(0xC5F443), 0x88);
    const std::string rumourRefused = WriteRumour(project, rng);
    if (!rumourRefused.empty()) {
        prompts.ShowMessage(rumourRefused);
    } else {
        std::string markers;
        for (const RumourPlace& place : RumourPlaces) {
            markers += FormatText("%X\n", project.Read8(place.markerOffset));
        }
        prompts.ShowMessage(markers);
    }

    const std::filesystem::path asmFolder = folder / "asm";
    if (fixed) {
        ApplyFixedStep(project, *fixed, 9);
        for (const Step9Routine& routine : kStep9Routines) {
            writer.Hook(routine.site, routine.address, 0);
        }
    }
    ApplyHookedFiles(project, writer, prompts, asmFolder, kItemAddFile, kItemAddEnd.size());
    const std::array<std::uint8_t, 4> kItemAddCall = {0x1C, 0x88, 0x23, 0xCE};
    auto& image = project.romImage;
    for (auto at = image.begin(); (at = std::search(at, image.end(), kItemAddCall.begin(),
                                                    kItemAddCall.end())) != image.end();
         at += kItemAddCall.size()) {
        at[2] = static_cast<std::uint8_t>(writer.running);
        at[3] = static_cast<std::uint8_t>(writer.running >> 8);
    }
    writer.Append(kItemAddEnd);
    if (asmPatches) {
        ApplyHookedFiles(project, writer, prompts, asmFolder, kAsmPatchFiles);
    }
    for (const Step12Write& write : kStep12Writes) {
        project.WriteBytes(write.offset, write.Bytes());
    }

    constexpr std::array<std::string_view, 1> kCreditsPatch = {"credits_patch.bin"};
    constexpr std::array<std::string_view, 1> kCreditsNew = {"credits_new.bin"};
    const auto patch = ReadPatchFileSet(asmFolder, kCreditsPatch);
    const auto credits = ReadPatchFileSet(folder, kCreditsNew);
    if (!patch || !credits) {
        return;
    }
    if (credits->front().size() > kCreditsMaxSize) {
        prompts.ShowMessage(kCreditsTooLarge);
        return;
    }
    if (!writer.Fits(patch->front().size())) {
        SayDoesNotFit(project, writer, prompts, "credits_patch.bin, credits_new.bin",
                      patch->front().size(), 0);
        return;
    }
    if (InRange(image.size(), kCreditsOffset, credits->front().size())) {
        project.WriteBytes(kCreditsOffset, credits->front());
        for (const std::uint32_t site : kCreditsHookSites) {
            writer.Hook(site, writer.running, 0);
        }
        writer.Append(patch->front());
    }
}

}  // namespace

void ApplyRandomizerPatches(ProjectContext& project, RandomizerGenerator& rng, Prompts& prompts,
                            bool asmPatches, const std::filesystem::path& folder) {
    if (!Has4MB(project)) {
        prompts.ShowMessage(kRandomizerNeeds4MB);
        return;
    }
    // The practice patches use the same free places (0x21F300 above all).
    const std::string practice = PracticePatchesInImage(project);
    if (!practice.empty()) {
        prompts.ShowMessage("The randomizer's patches were not written: this ROM image holds " +
                            practice + ", which use the same places.");
        return;
    }
    // A hook of an earlier run must not be left calling what this run puts in its place. So an
    // image that holds the patches already takes only the same files again: every hook and
    // every appended byte as it stands, no earlier hook left out. Anything else is undone whole
    // and only the refusal is said.
    const bool patchedBefore = HoldsRandomizerPatches(project);
    const std::vector<std::uint8_t> before = project.romImage;
    HeldPrompts held(prompts);
    PatchWriter writer(project, before);
    WriteVariant(project, rng, held, asmPatches, folder, writer);
    if (patchedBefore &&
        (writer.ChangedOwnPlaces() || LeavesEarlierHook(project, before, writer))) {
        project.romImage = before;
        prompts.ShowMessage(kRandomizedWithOtherFiles);
        return;
    }
    held.Release();
}

std::string ShuffleBosses(ProjectContext& project, RandomizerGenerator& rng) {
    const auto& image = project.romImage;
    std::array<std::optional<std::uint32_t>, BossExitDestinations.size()> found{};
    std::string report;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const BossDestination& record = BossExitDestinations[k];
        const auto end = image.size() > 0 ? image.end() - 1 : image.end();
        const auto at = std::find_end(image.begin(), end, record.begin(), record.end());
        if (at == end) {
            report += FormatText("Boss exit %u was not found and was left as it is.\n",
                                 static_cast<unsigned>(k));
        } else {
            found[k] = static_cast<std::uint32_t>(at - image.begin());
        }
    }
    std::array<bool, BossExitDestinations.size()> drawn{};
    bool written = false;
    for (std::size_t k = 0; k < found.size(); ++k) {
        std::size_t pick = rng() % drawn.size();
        while (drawn[pick]) {
            pick = rng() % drawn.size();
        }
        drawn[pick] = true;
        if (found[k]) {
            const BossDestination& record = BossExitDestinations[pick];
            project.WriteBytes(*found[k], std::span(record).first(2));
            project.WriteBytes(*found[k] + 4, std::span(record).subspan(4));
            written = true;
        }
    }
    if (written && !project.exitLists.empty()) {
        LoadExitLists(project);
    }
    return report;
}

bool ShuffleEntrances(ProjectContext& project, RandomizerGenerator& rng, Prompts& prompts) {
    if (project.exitLists.size() <= kWorldMap || project.exitLists[kWorldMap].empty()) {
        return true;
    }
    if (!Has4MB(project)) {
        prompts.ShowMessage(kRandomizerNeeds4MB);
        return false;
    }
    const auto returnExit = [&](std::uint32_t map) -> const ExitRecord* {
        const std::vector<ExitRecord>* exits = GetExitList(project, map);
        if (exits == nullptr) {
            return nullptr;
        }
        const auto back = std::find_if(exits->rbegin(), exits->rend(),
                                       [](const ExitRecord& e) { return e.dstMapId == kWorldMap; });
        return back == exits->rend() ? nullptr : &*back;
    };
    std::vector<std::size_t> shuffled;  // indexes into map 2's list
    std::vector<EntranceRecord> records;
    const std::vector<ExitRecord>& world = project.exitLists[kWorldMap];
    for (std::size_t i = 0; i < world.size(); ++i) {
        const ExitRecord& e = world[i];
        if (Contains(EntranceShuffleExcluded, e.dstMapId)) {
            continue;
        }
        EntranceRecord record{e.posX, e.posY, e.sizeX, e.sizeY};
        const std::vector<std::uint32_t> places = DestinationMaps(project, e.dstMapId);
        if (const ExitRecord* back = places.empty() ? nullptr : returnExit(places.front())) {
            record.hasReturn = true;
            record.returnX = back->dstX;
            record.returnY = back->dstY;
            record.returnDirection = back->direction;
        }
        shuffled.push_back(i);
        records.push_back(record);
    }
    std::shuffle(records.begin(), records.end(), rng);

    const auto saved = project.exitLists;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> specialWrites;
    for (std::size_t k = 0; k < shuffled.size(); ++k) {
        const EntranceRecord& r = records[k];
        ExitRecord& e = project.exitLists[kWorldMap][shuffled[k]];
        e.posX = r.posX;
        e.posY = r.posY;
        e.sizeX = r.sizeX;
        e.sizeY = r.sizeY;
        if (!r.hasReturn) {
            continue;
        }
        std::vector<std::uint32_t> places = DestinationMaps(project, e.dstMapId);
        for (std::size_t p = 0, n = places.size(); p < n; ++p) {
            if (places[p] == 0x41F) {
                places.push_back(0x41E);
            }
        }
        for (const std::uint32_t place : places) {
            if (std::vector<ExitRecord>* exits = GetExitList(project, place)) {
                for (ExitRecord& x : *exits) {
                    if (x.dstMapId == kWorldMap) {
                        x.dstX = r.returnX;
                        x.dstY = r.returnY;
                        x.direction = static_cast<std::uint8_t>((r.returnDirection & 0xF0) |
                                                                (x.direction & 0x0F));
                    }
                }
            }
            for (const SpecialReturn& special : kSpecialReturns) {
                if (special.map == place) {
                    specialWrites.emplace_back(special.offset, r.returnX);
                    specialWrites.emplace_back(special.offset + 2, r.returnY);
                }
            }
        }
    }
    if (!WriteExitLists(project, prompts)) {
        project.exitLists = saved;
        return false;
    }
    for (const auto& [offset, value] : specialWrites) {
        project.Write16(offset, value);
    }
    LoadExitLists(project);
    return true;
}

#include "tools/PracticePatches.h"

#include <algorithm>
#include <string>

#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"
#include "tools/PatchFiles.h"

namespace {

constexpr char kNoRoom[] =
    "The patch was not written: some of the places it changes lie past the end of this ROM "
    "image.";
constexpr char kNamesNotWritten[] =
    "The patch was not written: the teleport names cannot be written in this ROM's text.";
constexpr char kPastLastAddress[] =
    "The patch was not written: its files run past the last game address 0xFFFFFF.";
constexpr char kIntoCcArea[] =
    "The patch was not written: its files take more than 0xC00 bytes and would run into the "
    "\"CC Patch\" files at 0xE1FF00.";
constexpr char kRandomizerThere[] =
    "The patch was not written: this ROM image holds the randomizer's patches, which use the "
    "same places.";

constexpr std::uint8_t kNameEnd = 0xD4;
// The control bytes that open an encoded text; a teleport name is stored without them.
constexpr std::size_t kTextHeadSize = 3;

struct ImageWrite {
    std::uint32_t offset;
    std::vector<std::uint8_t> bytes;
};
using WritePlan = std::vector<ImageWrite>;

std::uint32_t PlaceOffset(const ProjectContext& project, const FixedBytesRow& row,
                          std::size_t place) {
    if (row.kind == PlaceKind::kGameAddress) {
        return project.WrapRomOffset(row.places[place]);
    }
    if (project.regionIndex == 5 && place < row.region5Places.size()) {
        return row.region5Places[place];
    }
    return row.places[place];
}

void PlanFixedBytes(const ProjectContext& project, const std::vector<FixedBytesRow>& rows,
                    WritePlan& plan) {
    for (const FixedBytesRow& row : rows) {
        for (std::size_t place = 0; place < row.places.size(); ++place) {
            plan.push_back({PlaceOffset(project, row, place), row.bytes});
        }
    }
}

bool Fits(const ProjectContext& project, const WritePlan& plan) {
    return std::all_of(plan.begin(), plan.end(), [&](const ImageWrite& write) {
        return InRange(project.romImage.size(), write.offset, write.bytes.size());
    });
}

// Reads the whole set before anything is written: a set with a file missing is not written at
// all, since every routine is assembled for the address it lands at. The set must end by
// `end` (a game address) and lie in the image in one piece, as the address rule places it: none
// of it may wrap around to a lower offset. Each refusal is said here.
std::optional<WritePlan> PlanPatchFiles(const ProjectContext& project,
                                        const std::filesystem::path& folder,
                                        const std::vector<PatchHook>& hooks, std::uint32_t start,
                                        std::uint64_t end, const char* pastEnd, Prompts& prompts) {
    std::vector<std::string_view> names;
    for (const PatchHook& hook : hooks) {
        names.push_back(hook.file);
    }
    auto files = ReadPatchFileSet(folder, names, project.romImage.size(), &prompts);
    if (!files) {
        return std::nullopt;
    }
    std::uint64_t total = 0;
    for (const auto& file : *files) {
        total += file.size();
    }
    if (start + total > end) {
        prompts.ShowMessage(pastEnd);
        return std::nullopt;
    }
    WritePlan plan;
    std::uint32_t running = start;
    for (std::size_t i = 0; i < hooks.size(); ++i) {
        plan.push_back({project.WrapRomOffset(hooks[i].site), HookBytes(hooks[i], running)});
        running += static_cast<std::uint32_t>((*files)[i].size());
    }
    const std::uint32_t first = project.WrapRomOffset(start);
    if (total > RoomFrom(project, start)) {
        prompts.ShowMessage(FormatText(
            "The patch was not written: its files, 0x%llX bytes from game address 0x%06X (image "
            "offset 0x%X), run past %s.",
            static_cast<unsigned long long>(total), start, first,
            RoomEndText(project, start).c_str()));
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (auto& file : *files) {
        bytes.insert(bytes.end(), file.begin(), file.end());
    }
    plan.push_back({first, std::move(bytes)});
    if (!Fits(project, plan)) {
        prompts.ShowMessage(kNoRoom);
        return std::nullopt;
    }
    // On a small image the address rule can bring the set's own hook sites into its place:
    // whichever came last, files or hooks, would break the other.
    std::string covered;
    for (std::size_t i = 0; i < hooks.size(); ++i) {
        const ImageWrite& hook = plan[i];
        if (total > 0 && hook.offset < first + total && first < hook.offset + hook.bytes.size()) {
            covered += FormatText("%s0x%X", covered.empty() ? "" : ", ", hook.offset);
        }
    }
    if (!covered.empty()) {
        prompts.ShowMessage(FormatText(
            "The patch was not written: its files, at image offsets 0x%X to 0x%llX, would "
            "overwrite its own hooks at %s.",
            first, static_cast<unsigned long long>(first + total - 1), covered.c_str()));
        return std::nullopt;
    }
    return plan;
}

void Append(WritePlan& plan, WritePlan&& more) {
    std::move(more.begin(), more.end(), std::back_inserter(plan));
}

void Apply(ProjectContext& project, const WritePlan& plan) {
    for (const ImageWrite& write : plan) {
        project.WriteBytes(write.offset, write.bytes);
    }
}

}  // namespace

// Fixed bytes of the practice patch in the game's code and data, written before the patch files.
const std::vector<FixedBytesRow>& FixedBytesBeforeFiles() {
    static const std::vector<FixedBytesRow> rows = {
        {PlaceKind::kImageOffset, {0x29813}, {}, {0x00, 0xD0, 0xE1}},
        {PlaceKind::kImageOffset, {0xFFD8}, {}, {0x06}},  // the internal header's SRAM size
        {PlaceKind::kImageOffset, {0x10F34F}, {}, {0xDF, 0xC5, 0xC8, 0x88, 0xEA, 0x6B}},
        {PlaceKind::kImageOffset, {0xC496}, {}, {0x00}},
        {PlaceKind::kImageOffset,
         {0x1395DA},
         {},
         {0x2B, 0x03, 0x00, 0xF6, 0x00, 0xB1, 0x02, 0x2B, 0x03, 0x00, 0xF6, 0x00, 0xB1, 0x02}},
        {PlaceKind::kImageOffset, {0x1387FD}, {}, {0x45, 0x81}},
        {PlaceKind::kGameAddress, {0x829380}, {}, {0x36}},
        {PlaceKind::kGameAddress, {0x82CEDB}, {}, {0x32}},
        {PlaceKind::kGameAddress, {0x82D285}, {}, {0x07, 0x04}},
        {PlaceKind::kGameAddress, {0x82D693}, {}, {0x18}},
        {PlaceKind::kGameAddress, {0x879871}, {}, {0x04}},
        {PlaceKind::kGameAddress, {0xC4FAB6}, {}, {0xEA, 0xEA}},
        {PlaceKind::kGameAddress, {0xC4FAC4, 0xC4FADB, 0xC4FAFC}, {}, {0x80}},
        {PlaceKind::kGameAddress, {0xC4FB5A, 0xC4FB64}, {}, {0xEA, 0xEA}},
        {PlaceKind::kGameAddress, {0xC5966D, 0xC59D08}, {}, {0x9C}},
        {PlaceKind::kGameAddress, {0xC5E99A}, {}, {0x80}},
        {PlaceKind::kGameAddress, {0xC5EBE0}, {}, {0x08, 0x04}},
        {PlaceKind::kGameAddress, {0xC5EBE9}, {}, {0x0C, 0x04}},
        {PlaceKind::kGameAddress,
         {0xC780CC, 0xC780E3, 0xC78146},
         {},
         {0xEA, 0xEA, 0xEA, 0xEA, 0xEA}},
        {PlaceKind::kGameAddress, {0xC781B5}, {}, {0x02}},
        {PlaceKind::kGameAddress, {0xC781C9, 0xC78A0C}, {}, {0xEA, 0xEA}},
        {PlaceKind::kGameAddress, {0xCD88CB, 0xCD89DA, 0xCD8A67}, {}, {0xAD, 0x84, 0x04}},
        {PlaceKind::kGameAddress, {0xCD96C4}, {}, {0xEA}},
        {PlaceKind::kGameAddress, {0xCD96C9}, {}, {0x80}},
        {PlaceKind::kImageOffset, {0x12CC26}, {0x2CC26}, {0x30, 0x20, 0x2D, 0x25, 0x2E, 0x35}},
        {PlaceKind::kGameAddress, {0xEC0276}, {}, {0x31}},
    };
    return rows;
}

// Fixed bytes of the practice patch written after the teleport names.
const std::vector<FixedBytesRow>& FixedBytesAfterNames() {
    static const std::vector<FixedBytesRow> rows = {
        {PlaceKind::kImageOffset, {0x8CE38}, {}, {0xC0, 0xC4, 0x00, 0xC2, 0x05, 0x0A, 0x14, 0x14,
                                                  0xC7, 0xFF, 0xC8, 0x00, 0x2C, 0xD0, 0x25, 0x36,
                                                  0x25, 0x2C, 0xD1, 0x20, 0xCD, 0xC0, 0x04, 0xCF,
                                                  0xCE, 0xB4, 0x04, 0x8A, 0xCE, 0xCF, 0xD0, 0x32,
                                                  0x25, 0x33, 0x25, 0x34, 0xD1, 0x20, 0xD0, 0x32,
                                                  0x2E, 0x27, 0xD1, 0xD4, 0xD7, 0xD3, 0xD3}},
        {PlaceKind::kImageOffset,
         {0x12CB4D, 0x12CBC7, 0x12CBD3, 0x12CBDF, 0x12CBE8},
         {0x2CB4D, 0x2CBC7, 0x2CBD3, 0x2CBDF, 0x2CBE8},
         {0xD4}},
        {PlaceKind::kGameAddress, {0xC78738}, {}, {0xEA, 0xEA, 0xEA}},
    };
    return rows;
}

const std::array<std::string_view, kTeleportNameCount>& TeleportNames() {
    static constexpr std::array<std::string_view, kTeleportNameCount> names = {
        "tower 1",       "red huballs",
        "tower 2",       "three cadets",
        "tower 3",       "three h cadets",
        "tower 4",       "dancing huball",
        "tower 5",       "shadow keeper",
        "portal under",  "portal over",
        "lumina",        "lumina 2",
        "lumina 3",      "ra tree",
        "parasite",      "safarium",
        "sanctuar",      "windvale",
        "grecliff",      "dark twins",
        "lions den",     "canyon",
        "mud doll",      "zue",
        "storm keeper",  "lhasa",
        "eklemata",      "dark morph",
        "louran",        "louran sad",
        "loire castle",  "loire",
        "loire 2",       "1st ave.",
        "2nd ave.",      "litz",
        "sylvan castle", "bloody merkel",
        "freedom",       "freedom 2",
        "liotto",        "mermaid tower",
        "big fish",      "great lakes",
        "hitoderon",     "astarika",
        "penginea",      "stockholm",
        "suncoast",      "mosque",
        "lab",           "megatron",
        "airship",       "dark gaia",
        "darker gaia",   "chicken"};
    return names;
}

std::optional<TeleportBlock> BuildTeleportBlock(std::span<const std::string_view> names,
                                                std::uint32_t regionIndex) {
    TeleportBlock block;
    for (std::string_view name : names) {
        std::string unencodable;
        const std::vector<std::uint8_t> text = EncodeGameText(name, regionIndex, &unencodable);
        if (!unencodable.empty()) {
            return std::nullopt;
        }
        block.pointers.push_back(
            static_cast<std::uint16_t>(kTeleportNameOffset + block.bytes.size()));
        block.bytes.insert(block.bytes.end(), text.begin() + kTextHeadSize, text.end() - 1);
        block.bytes.push_back(kNameEnd);
        if (kTeleportNameOffset + block.bytes.size() > kTeleportAreaEnd) {
            return std::nullopt;
        }
    }
    return block;
}

bool ApplyPracticePatches(ProjectContext& project, const std::filesystem::path& folder,
                          Prompts& prompts) {
    if (HoldsRandomizerHooks(project)) {
        prompts.ShowMessage(kRandomizerThere);
        return false;
    }
    WritePlan before;
    PlanFixedBytes(project, FixedBytesBeforeFiles(), before);
    WritePlan after;
    after.push_back({kAfterFilesOffset, {kAfterFilesBytes.begin(), kAfterFilesBytes.end()}});
    const auto block = BuildTeleportBlock(TeleportNames(), project.regionIndex);
    if (block) {
        std::vector<std::uint8_t> pointers;
        for (std::uint16_t pointer : block->pointers) {
            pointers.push_back(static_cast<std::uint8_t>(pointer));
            pointers.push_back(static_cast<std::uint8_t>(pointer >> 8));
        }
        after.push_back({kTeleportPointerOffset, std::move(pointers)});
        after.push_back({kTeleportNameOffset, block->bytes});
    }
    PlanFixedBytes(project, FixedBytesAfterNames(), after);
    if (!Fits(project, before) || !Fits(project, after)) {
        prompts.ShowMessage(kNoRoom);
        return false;
    }
    if (!block) {
        prompts.ShowMessage(kNamesNotWritten);
        return false;
    }
    auto files = PlanPatchFiles(project, folder, PracticePatchHooks(), kPracticePatchStart,
                                kCcPatchStart, kIntoCcArea, prompts);
    if (!files) {
        return false;
    }
    Append(before, std::move(*files));
    Append(before, std::move(after));
    Apply(project, before);
    return true;
}

bool ApplyCcPatches(ProjectContext& project, const std::filesystem::path& folder,
                    Prompts& prompts) {
    if (HoldsRandomizerHooks(project)) {
        prompts.ShowMessage(kRandomizerThere);
        return false;
    }
    auto files = PlanPatchFiles(project, folder, CcPatchHooks(), kCcPatchStart, kGameAddressEnd,
                                kPastLastAddress, prompts);
    if (!files) {
        return false;
    }
    Apply(project, *files);
    return true;
}

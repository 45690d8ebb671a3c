#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TraceCapture.h"
#include "tests/tools/PatchFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Region = SyntheticImage::Region;

// The image after a patch as the tables say: each row's bytes at its places, each file at the
// running address after its hook.
struct Expected {
    const ProjectContext& project;
    Bytes image = project.romImage;

    void Put(std::uint32_t offset, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    }
    void Rows(const std::vector<FixedBytesRow>& rows) {
        for (const FixedBytesRow& row : rows) {
            for (std::size_t i = 0; i < row.places.size(); ++i) {
                const bool own = project.regionIndex == 5 && !row.region5Places.empty();
                Put(row.kind == PlaceKind::kGameAddress ? project.WrapRomOffset(row.places[i])
                    : own                               ? row.region5Places[i]
                                                        : row.places[i],
                    row.bytes);
            }
        }
    }
    void Files(const std::vector<PatchHook>& set, const std::vector<Bytes>& files,
               std::uint32_t at) {
        for (std::size_t i = 0; i < set.size(); ++i) {
            const std::uint32_t target = set[i].target != 0 ? set[i].target : at;
            const std::uint32_t site = project.WrapRomOffset(set[i].site);
            Put(site, Bytes(set[i].nopRun, 0xEA));
            Put(site, {set[i].opcode, std::uint8_t(target), std::uint8_t(target >> 8),
                       std::uint8_t(target >> 16)});
            Put(site + 4, set[i].tail);
            Put(project.WrapRomOffset(at), files[i]);
            at += files[i].size();
        }
    }
};

}  // namespace

TEST(PracticePatches, EveryByteLandsAtItsPlaceAndNothingElseChanges) {
    const auto practice = WritePatchFiles(PracticePatchHooks());
    const auto cc = WritePatchFiles(CcPatchHooks());
    const auto folder = DataSubfolder(kPracticeDataFolder);
    for (auto [size, region] : {std::pair{SyntheticImage::k4MB, Region::German},
                                {SyntheticImage::k6MB, Region::UK},
                                {SyntheticImage::k4MB, Region::Japanese},
                                {SyntheticImage::k4MB, Region::ReleaseM}}) {
        auto project = PatternProject(size, region);
        Expected expected{*project};
        expected.Rows(FixedBytesBeforeFiles());
        expected.Files(PracticePatchHooks(), practice, kPracticePatchStart);
        expected.Put(kAfterFilesOffset, {0x63, 0xCD});
        const auto names = BuildTeleportBlock(TeleportNames(), project->regionIndex);
        ASSERT_TRUE(names);
        for (std::size_t i = 0; i < names->pointers.size(); ++i) {
            PutU16(expected.image, kTeleportPointerOffset + 2 * i, names->pointers[i]);
        }
        expected.Put(kTeleportNameOffset, names->bytes);
        expected.Rows(FixedBytesAfterNames());
        ScriptedPrompts prompts;
        for (int run = 0; run < 2; ++run) {
            ASSERT_TRUE(ApplyPracticePatches(*project, folder, prompts));
            ASSERT_TRUE(project->romImage == expected.image) << int(region) << " run " << run;
        }
        expected.Files(CcPatchHooks(), cc, kCcPatchStart);
        ASSERT_TRUE(ApplyCcPatches(*project, folder, prompts));
        EXPECT_TRUE(project->romImage == expected.image) << int(region);
        EXPECT_TRUE(prompts.messages.empty());
        if (region == Region::German) {
            const auto at = [&](std::uint32_t offset, std::size_t n) {
                return Bytes(&project->romImage[offset], &project->romImage[offset + n]);
            };
            EXPECT_EQ(at(0x8CF00, 8), (Bytes{0x54, 0x4F, 0x57, 0x45, 0x52, 0x20, 0x64, 0xD4}));
            EXPECT_EQ(project->Read16(0x8CE8A), 0xCF00);
            EXPECT_EQ(at(0x787D4, 4), (Bytes{0x5C, 0x00, 0xF3, 0xE1}));
            EXPECT_EQ(at(0x5B066, 6), (Bytes{0x22, 0x07, 0xF3, 0xE1, 0xEA, 0xEA}));
        }
    }
}

TEST(PracticePatches, RefusedPatchesWriteNothing) {
    WritePatchFiles(PracticePatchHooks());
    WritePatchFiles(CcPatchHooks());
    const auto folder = DataSubfolder(kPracticeDataFolder);
    for (const char* file : {"menu.bin", "timer.bin", "slicer_up.bin"}) {
        std::filesystem::remove(folder / file);
    }
    auto project = PatternProject(SyntheticImage::k4MB, Region::German);
    const Bytes before = project->romImage;
    ScriptedPrompts prompts;
    const std::string trace = CaptureTrace([&] {
        EXPECT_FALSE(ApplyPracticePatches(*project, folder, prompts));
        EXPECT_FALSE(ApplyCcPatches(*project, folder, prompts));
    });
    EXPECT_TRUE(project->romImage == before);
    EXPECT_EQ(prompts.messages, std::vector<std::string>(3, "Failed to open a file"));
    for (const char* file : {"menu.bin", "timer.bin", "slicer_up.bin"}) {
        EXPECT_NE(trace.find((folder / file).string()), std::string::npos) << file;
    }

    // Region 5's 1 MB image has no room for the practice patch; the smaller set fits, until
    // its last file reaches past the end (or its own hooks, below).
    WritePatchFiles(PracticePatchHooks());
    WritePatchFiles(CcPatchHooks());
    project = PatternProject(SyntheticImage::k1MB, Region::ReleaseM);
    const Bytes small = project->romImage;
    const std::uint32_t room = SyntheticImage::k1MB - 0x1FF00 - (7 + 10 + 13 + 16);
    WriteWholeFile(folder / "onehitko.bin", Bytes(room + 1));
    EXPECT_FALSE(ApplyPracticePatches(*project, folder, prompts));
    EXPECT_FALSE(ApplyCcPatches(*project, folder, prompts));
    EXPECT_TRUE(project->romImage == small);
    std::filesystem::resize_file(folder / "onehitko.bin", 0x49549 - 0x1FF00 - (7 + 10 + 13 + 16));
    EXPECT_TRUE(ApplyCcPatches(*project, folder, prompts));

    // Refused, image and data folder left alone: on that image a CC set whose next file the
    // address rule would wrap to image offset 0; a practice set of more than 0xC00 bytes, which
    // runs into the CC set; a CC set past the last game address. Sets just short of them pass.
    const auto refused = [&](auto apply, const char* said) {
        const Bytes image = project->romImage;
        const auto data = DataFolderContents();
        EXPECT_FALSE(apply(*project, folder, prompts));
        EXPECT_TRUE(project->romImage == image && DataFolderContents() == data);
        EXPECT_NE(prompts.LastMessage().find(said), std::string::npos) << prompts.LastMessage();
    };
    project = PatternProject(SyntheticImage::k1MB, Region::ReleaseM);
    WriteWholeFile(folder / "slicer_up.bin", Bytes(SyntheticImage::k1MB - 0x1FF00));
    refused(ApplyCcPatches, "(image offset 0x1FF00), run past the end of the image at 0x100000.");
    // On a larger image of that region the rule sends game address 0xF00000 to image offset 0.
    project = PatternProject(SyntheticImage::k4MB, Region::ReleaseM);
    refused(ApplyCcPatches, "0xF00000, which the address rule puts at image offset 0x0.");
    WritePatchFiles(CcPatchHooks());
    project = PatternProject(SyntheticImage::k6MB, Region::German);
    const std::uint32_t others = 205 - 7, ccOthers = 65 - 7;  // the files after the first
    WriteWholeFile(folder / "teleporter.bin", Bytes(0x1000000 - kPracticePatchStart));
    refused(ApplyPracticePatches, "more than 0xC00 bytes and would run into");
    std::filesystem::resize_file(folder / "teleporter.bin", 0xC00 - others + 1);
    refused(ApplyPracticePatches, "more than 0xC00 bytes and would run into");
    std::filesystem::resize_file(folder / "teleporter.bin", 0xC00 - others);
    EXPECT_TRUE(ApplyPracticePatches(*project, folder, prompts));
    WriteWholeFile(folder / "slicer_up.bin", Bytes(0x1000000 - kCcPatchStart - ccOthers + 1));
    refused(ApplyCcPatches, "run past the last game address 0xFFFFFF.");
    std::filesystem::resize_file(folder / "slicer_up.bin", 0x1000000 - kCcPatchStart - ccOthers);
    EXPECT_TRUE(ApplyCcPatches(*project, folder, prompts));

    // A name that does not encode; names past the bank of the first one (0x3100 bytes on).
    const std::string_view unencodable[] = {"tower 1", "tour \xC3\xA9"};
    EXPECT_FALSE(BuildTeleportBlock(unencodable, 1));
    const std::string longName(255, 'a');
    std::vector<std::string_view> names(49, longName);
    EXPECT_TRUE(BuildTeleportBlock(names, 1));
    names.push_back("a");
    EXPECT_FALSE(BuildTeleportBlock(names, 1));
}

namespace {

// Every byte a set of rows writes, by kind, place and region-5 place (0: the same place), so
// that rows compare whatever way they are grouped.
using FlatWrites = std::map<std::tuple<PlaceKind, std::uint32_t, std::uint32_t>, std::uint8_t>;
FlatWrites Flat(const std::vector<FixedBytesRow>& rows) {
    FlatWrites out;
    for (const FixedBytesRow& row : rows) {
        for (std::size_t i = 0; i < row.places.size(); ++i) {
            const std::uint32_t own = row.region5Places.empty() ? 0 : row.region5Places.at(i);
            for (std::uint32_t k = 0; k < row.bytes.size(); ++k) {
                out[{row.kind, row.places[i] + k, own == 0 ? 0 : own + k}] = row.bytes[k];
            }
        }
    }
    return out;
}

auto HookFields(const PatchHook& h) {
    return std::tuple(std::string(h.file), h.site, h.opcode, h.target, h.tail, h.nopRun);
}

}  // namespace

// The other tests take their places from these tables; here they are checked against the
// game's values, written out apart from the product's copy.
TEST(PracticePatches, TablesHoldTheGamesValues) {
    constexpr auto kImage = PlaceKind::kImageOffset;
    constexpr auto kGame = PlaceKind::kGameAddress;
    const Bytes twice = {0x2B, 0x03, 0x00, 0xF6, 0x00, 0xB1, 0x02,
                         0x2B, 0x03, 0x00, 0xF6, 0x00, 0xB1, 0x02};
    const std::vector<FixedBytesRow> before = {
        {kImage, {0x29813}, {}, {0x00, 0xD0, 0xE1}},
        {kImage, {0xFFD8}, {}, {0x06}},
        {kImage, {0x10F34F}, {}, {0xDF, 0xC5, 0xC8, 0x88, 0xEA, 0x6B}},
        {kImage, {0xC496}, {}, {0x00}},
        {kImage, {0x1395DA}, {}, twice},
        {kImage, {0x1387FD}, {}, {0x45, 0x81}},
        {kGame, {0x829380}, {}, {0x36}},
        {kGame, {0x82CEDB}, {}, {0x32}},
        {kGame, {0x82D285}, {}, {0x07, 0x04}},
        {kGame, {0x82D693}, {}, {0x18}},
        {kGame, {0x879871}, {}, {0x04}},
        {kGame, {0xC4FAB6}, {}, {0xEA, 0xEA}},
        {kGame, {0xC4FAC4, 0xC4FADB, 0xC4FAFC}, {}, {0x80}},
        {kGame, {0xC4FB5A, 0xC4FB64}, {}, {0xEA, 0xEA}},
        {kGame, {0xC5966D, 0xC59D08}, {}, {0x9C}},
        {kGame, {0xC5E99A}, {}, {0x80}},
        {kGame, {0xC5EBE0}, {}, {0x08, 0x04}},
        {kGame, {0xC5EBE9}, {}, {0x0C, 0x04}},
        {kGame, {0xC780CC, 0xC780E3, 0xC78146}, {}, Bytes(5, 0xEA)},
        {kGame, {0xC781B5}, {}, {0x02}},
        {kGame, {0xC781C9, 0xC78A0C}, {}, {0xEA, 0xEA}},
        {kGame, {0xCD88CB, 0xCD89DA, 0xCD8A67}, {}, {0xAD, 0x84, 0x04}},
        {kGame, {0xCD96C4}, {}, {0xEA}},
        {kGame, {0xCD96C9}, {}, {0x80}},
        {kImage, {0x12CC26}, {0x2CC26}, {0x30, 0x20, 0x2D, 0x25, 0x2E, 0x35}},
        {kGame, {0xEC0276}, {}, {0x31}},
    };
    EXPECT_EQ(Flat(FixedBytesBeforeFiles()), Flat(before));
    const std::vector<FixedBytesRow> after = {
        {kImage, {0x8CE38}, {}, {0xC0, 0xC4, 0x00, 0xC2, 0x05, 0x0A, 0x14, 0x14, 0xC7, 0xFF,
                                 0xC8, 0x00, 0x2C, 0xD0, 0x25, 0x36, 0x25, 0x2C, 0xD1, 0x20,
                                 0xCD, 0xC0, 0x04, 0xCF, 0xCE, 0xB4, 0x04, 0x8A, 0xCE, 0xCF,
                                 0xD0, 0x32, 0x25, 0x33, 0x25, 0x34, 0xD1, 0x20, 0xD0, 0x32,
                                 0x2E, 0x27, 0xD1, 0xD4, 0xD7, 0xD3, 0xD3}},
        {kImage,
         {0x12CB4D, 0x12CBC7, 0x12CBD3, 0x12CBDF, 0x12CBE8},
         {0x2CB4D, 0x2CBC7, 0x2CBD3, 0x2CBDF, 0x2CBE8},
         {0xD4}},
        {kGame, {0xC78738}, {}, {0xEA, 0xEA, 0xEA}},
    };
    EXPECT_EQ(Flat(FixedBytesAfterNames()), Flat(after));

    const std::vector<PatchHook> practice = {
        {"teleporter.bin", 0xC787D4, 0x5C, 0xE1F300, {}, 0},
        {"equip_give.bin", 0xC5B066, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"weapon_give.bin", 0xC5B1B8, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"item_give.bin", 0xC5AD58, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"quick_save.bin", 0x80820C, 0x22, kRunningAddress, {0x60}, 0},
        {"quick_load.bin", 0x808061, 0x22, kRunningAddress, {}, 0},
        {"menu.bin", 0xC7C7E0, 0x5C, kRunningAddress, {}, 0},
        {"objecy_insert.bin", 0xC0F442, 0x22, kRunningAddress, {0xEA}, 0},
        {"save_menu_control.bin", 0xC78793, 0x22, kRunningAddress, {}, 16},
        {"timer.bin", 0xC5FC1C, 0x22, kRunningAddress, {}, 0},
    };
    const std::vector<PatchHook> cc = {
        {"slicer_up.bin", 0xC49578, 0x22, 0xE1FF00, {0xEA, 0xEA}, 0},
        {"slicer_left.bin", 0xC495D6, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"slicer_down.bin", 0xC49549, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"slicer_right.bin", 0xC495A7, 0x22, kRunningAddress, {0xEA, 0xEA}, 0},
        {"onehitko.bin", 0xC5DFFB, 0x22, kRunningAddress, {}, 0},
    };
    for (const auto& [product, expected] :
         {std::pair{&PracticePatchHooks(), &practice}, {&CcPatchHooks(), &cc}}) {
        ASSERT_EQ(product->size(), expected->size());
        for (std::size_t i = 0; i < expected->size(); ++i) {
            EXPECT_EQ(HookFields((*product)[i]), HookFields((*expected)[i])) << i;
        }
    }

    // clang-format off
    const std::string_view names[kTeleportNameCount] = {
        "tower 1", "red huballs", "tower 2", "three cadets", "tower 3", "three h cadets",
        "tower 4", "dancing huball", "tower 5", "shadow keeper", "portal under", "portal over",
        "lumina", "lumina 2", "lumina 3", "ra tree", "parasite", "safarium", "sanctuar",
        "windvale", "grecliff", "dark twins", "lions den", "canyon", "mud doll", "zue",
        "storm keeper", "lhasa", "eklemata", "dark morph", "louran", "louran sad",
        "loire castle", "loire", "loire 2", "1st ave.", "2nd ave.", "litz", "sylvan castle",
        "bloody merkel", "freedom", "freedom 2", "liotto", "mermaid tower", "big fish",
        "great lakes", "hitoderon", "astarika", "penginea", "stockholm", "suncoast", "mosque",
        "lab", "megatron", "airship", "dark gaia", "darker gaia", "chicken"};
    // clang-format on
    EXPECT_TRUE(std::equal(std::begin(names), std::end(names), TeleportNames().begin()));
}

TEST(PracticePatches, ASetThatWouldCoverItsOwnHooksIsRefused) {
    // On region 5's 1 MB image the CC set starts at 0x1FF00 and its hooks lie at 0x49549 (six
    // bytes) to 0x5DFFE: a set reaching them is refused, whichever hooks it reaches.
    const struct {
        std::uint32_t end;
        const char* said;
    } cases[] = {
        {0x100000,
         "0x1FF00 to 0xFFFFF, would overwrite its own hooks at 0x49578, 0x495D6, "
         "0x49549, 0x495A7, 0x5DFFB."},
        {0x4954A, "0x1FF00 to 0x49549, would overwrite its own hooks at 0x49549."},
        {0x5DFFC, "at 0x49578, 0x495D6, 0x49549, 0x495A7, 0x5DFFB."},
    };
    for (const auto& c : cases) {
        WritePatchFiles(CcPatchHooks());
        const auto folder = DataSubfolder(kPracticeDataFolder);
        WriteWholeFile(folder / "onehitko.bin", Bytes(c.end - 0x1FF00 - (7 + 10 + 13 + 16)));
        auto project = PatternProject(SyntheticImage::k1MB, Region::ReleaseM);
        const Bytes before = project->romImage;
        ScriptedPrompts prompts;
        EXPECT_FALSE(ApplyCcPatches(*project, folder, prompts));
        EXPECT_TRUE(project->romImage == before) << c.said;
        EXPECT_NE(prompts.LastMessage().find(c.said), std::string::npos) << prompts.LastMessage();
    }
}

#include <string>

#include <gtest/gtest.h>

#include "scripts/GameTextEncoder.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TraceCapture.h"
#include "tests/tools/PatchFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Region = SyntheticImage::Region;

// The image after a patch, built from the tables: each row's bytes at its places, each file at
// the running address with its hook.
class Expected {
public:
    explicit Expected(const ProjectContext& project) : project_(project), image(project.romImage) {}

    void Put(std::uint32_t offset, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    }
    void Rows(const std::vector<FixedBytesRow>& rows) {
        for (const FixedBytesRow& row : rows) {
            for (std::size_t i = 0; i < row.places.size(); ++i) {
                const bool own = project_.regionIndex == 5 && !row.region5Places.empty();
                Put(row.kind == PlaceKind::kGameAddress ? project_.WrapRomOffset(row.places[i])
                    : own                               ? row.region5Places[i]
                                                        : row.places[i],
                    row.bytes);
            }
        }
    }
    void Files(const std::vector<PatchHook>& set, const std::vector<Bytes>& files,
               std::uint32_t running) {
        for (std::size_t i = 0; i < set.size(); ++i) {
            const std::uint32_t target = set[i].target != 0 ? set[i].target : running;
            Put(project_.WrapRomOffset(set[i].site), Bytes(set[i].nopRun, 0xEA));
            Bytes hook = {set[i].opcode, std::uint8_t(target), std::uint8_t(target >> 8),
                          std::uint8_t(target >> 16)};
            hook.insert(hook.end(), set[i].tail.begin(), set[i].tail.end());
            Put(project_.WrapRomOffset(set[i].site), hook);
            Put(project_.WrapRomOffset(running), files[i]);
            running += files[i].size();
        }
    }

    const ProjectContext& project_;
    Bytes image;
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
        Expected expected(*project);
        expected.Rows(FixedBytesBeforeFiles());
        expected.Files(PracticePatchHooks(), practice, kPracticePatchStart);
        expected.Put(kRestoreOffset, {0x63, 0xCD});
        const auto names = BuildTeleportBlock(TeleportNames(), project->regionIndex);
        ASSERT_TRUE(names);
        for (std::size_t i = 0; i < names->pointers.size(); ++i) {
            expected.Put(kTeleportPointerOffset + 2 * i,
                         {std::uint8_t(names->pointers[i]), std::uint8_t(names->pointers[i] >> 8)});
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
    }
}

TEST(PracticePatches, PrintedPlacesOnAWesternImage) {
    const auto files = WritePatchFiles(PracticePatchHooks());
    auto project = PatternProject(SyntheticImage::k4MB, Region::German);
    ScriptedPrompts prompts;
    ASSERT_TRUE(ApplyPracticePatches(*project, DataSubfolder(kPracticeDataFolder), prompts));
    const auto at = [&](std::uint32_t offset, std::size_t n) {
        return Bytes(project->romImage.begin() + offset, project->romImage.begin() + offset + n);
    };
    EXPECT_EQ(at(0x8CF00, 8), (Bytes{0x54, 0x4F, 0x57, 0x45, 0x52, 0x20, 0x64, 0xD4}));
    EXPECT_EQ(project->Read16(0x8CE8A), 0xCF00);
    EXPECT_EQ(project->Read16(0x8CE8C), 0xCF08);
    EXPECT_EQ(at(0x787D4, 4), (Bytes{0x5C, 0x00, 0xF3, 0xE1}));
    const std::uint32_t equip = 0xE1F300 + files[0].size();
    EXPECT_EQ(at(0x5B066, 6), (Bytes{0x22, std::uint8_t(equip), 0xF3, 0xE1, 0xEA, 0xEA}));
    EXPECT_EQ(at(0x21F300 + files[0].size(), files[1].size()), files[1]);
}

TEST(PracticePatches, AMissingFileWritesNothingAndIsNamed) {
    WritePatchFiles(PracticePatchHooks());
    WritePatchFiles(CcPatchHooks());
    const auto folder = DataSubfolder(kPracticeDataFolder);
    std::filesystem::remove(folder / "menu.bin");
    std::filesystem::remove(folder / "timer.bin");
    std::filesystem::remove(folder / "slicer_up.bin");
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
}

TEST(PracticePatches, AnImageWithoutRoomIsRefusedUntouched) {
    WritePatchFiles(PracticePatchHooks());
    const auto folder = DataSubfolder(kPracticeDataFolder);
    auto project = PatternProject(SyntheticImage::k1MB, Region::ReleaseM);
    Bytes before = project->romImage;
    ScriptedPrompts prompts;
    EXPECT_FALSE(ApplyPracticePatches(*project, folder, prompts));
    // The smaller set fits on this image, until its last file reaches past the end.
    WritePatchFiles(CcPatchHooks());
    const std::uint32_t room = SyntheticImage::k1MB - 0x1FF00 - (7 + 10 + 13 + 16);
    WriteWholeFile(folder / "onehitko.bin", Bytes(room + 1));
    EXPECT_FALSE(ApplyCcPatches(*project, folder, prompts));
    EXPECT_TRUE(project->romImage == before);
    EXPECT_EQ(prompts.messages.size(), 2u);
    std::filesystem::resize_file(folder / "onehitko.bin", room);
    EXPECT_TRUE(ApplyCcPatches(*project, folder, prompts));
}

TEST(PracticePatches, TeleportNamesThatCannotBeWrittenAreRefused) {
    const std::string_view bad[] = {"tower 1", "tour \xC3\xA9"};
    EXPECT_FALSE(BuildTeleportBlock(bad, 1));
    // 0x3100 bytes fit between the first name and the end of its bank.
    const std::string longName(255, 'a');
    std::vector<std::string_view> names(49, longName);
    EXPECT_TRUE(BuildTeleportBlock(names, 1));
    names.push_back("a");
    EXPECT_FALSE(BuildTeleportBlock(names, 1));
}

#include <array>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "project/RomImport.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

std::vector<std::uint8_t> OldFormFile(std::uint32_t version,
                                      const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> file(12, 0);
    std::memcpy(file.data(), "QuMk", 4);
    PutU32(file, 4, version);
    PutU32(file, 8, static_cast<std::uint32_t>(image.size()));
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::unique_ptr<ProjectContext> ImportedProject(std::uint32_t size, Region region) {
    SyntheticImage image(size, region);
    image.Put16(0x12345, 0xBEEF);
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

}  // namespace

TEST(ProjectFile, RoundTripByteForByte) {
    auto project = ImportedProject(SyntheticImage::k6MB, Region::German);
    project->allocTable[0] = {0x418000, 0x1230, 0x69600};
    project->allocTable[5] = {0x419230, 0x10000, 0x69603};  // touches entry 0: no overlap
    ScriptedPrompts prompts;
    ASSERT_TRUE(SaveProject(*project, "a.qmp", prompts));

    auto file = ReadWholeFile("a.qmp");
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), kProjectHeaderSize + 0x600000u);
    EXPECT_EQ(std::memcmp(file->data(), "QuMk", 4), 0);
    EXPECT_EQ(GetU32(*file, 4), 770u);
    EXPECT_EQ(GetU32(*file, 8), 0x600000u);
    EXPECT_EQ(GetU32(*file, 12), 1u);
    // Entry 5 of the allocation table: address, size and tag.
    EXPECT_EQ((std::array{GetU32(*file, 76), GetU32(*file, 80), GetU32(*file, 84)}),
              (std::array<std::uint32_t, 3>{0x419230, 0x10000, 0x69603}));
    EXPECT_TRUE(std::equal(project->romImage.begin(), project->romImage.end(),
                           file->begin() + kProjectHeaderSize));

    // Versions above 7 are all the full form; saved again, the file is the same byte for byte.
    for (std::uint32_t version : {770u, 8u, 771u}) {
        PutU32(*file, 4, version);
        ASSERT_TRUE(WriteWholeFile("v.qmp", *file));
        ProjectContext loaded;
        ASSERT_TRUE(LoadProject(loaded, "v.qmp", prompts)) << version;
        EXPECT_EQ(loaded.regionIndex, 1u);
        EXPECT_EQ(loaded.flags, 1u);
        EXPECT_EQ(loaded.exitLists.size(), kMapCount);
        ASSERT_TRUE(SaveProject(loaded, "b.qmp", prompts));
        EXPECT_EQ(ReadWholeFile("b.qmp"), ReadWholeFile("a.qmp"));
    }
    // A table of one block has nothing to overlap with.
    project->allocTable[5] = {};
    ASSERT_TRUE(SaveProject(*project, "c.qmp", prompts));
    ProjectContext loaded;
    EXPECT_TRUE(LoadProject(loaded, "c.qmp", prompts));
    EXPECT_EQ(loaded.allocTable[0].size, 0x1230u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(ProjectFile, OlderFormIsReadWithItsRegionAndWrittenBackInTheFullForm) {
    for (auto [size, region, index] : {std::tuple{SyntheticImage::k4MB, Region::Spanish, 3u},
                                       {SyntheticImage::k1MB, Region::ReleaseF, 6u}}) {
        SyntheticImage image(size, region);
        image.Put8(0x80000, 0x77);
        ASSERT_TRUE(WriteWholeFile("old.qmp", OldFormFile(5, image.Bytes())));
        ScriptedPrompts prompts;
        ProjectContext project;
        ASSERT_TRUE(LoadProject(project, "old.qmp", prompts));
        EXPECT_EQ(project.romImage, image.Bytes());
        EXPECT_EQ(project.flags, 0u);
        EXPECT_EQ(project.regionIndex, index);

        ASSERT_TRUE(SaveProject(project, "new.qmp", prompts));
        const auto file = ReadWholeFile("new.qmp");
        EXPECT_EQ(GetU32(*file, 4), 770u);
        EXPECT_EQ((*file)[kProjectHeaderSize + 0x80000], 0x77);
    }
}

TEST(ProjectFile, UnsoundFilesAreRefusedAndTheProjectStaysAsItWas) {
    auto source = ImportedProject(SyntheticImage::k4MB, Region::German);
    const auto good = ProjectHeaderBytes(*source);
    const std::string notProject = "This isn't a Quenmark project file.";

    const auto header = [&](std::initializer_list<std::pair<std::size_t, std::uint32_t>> fields) {
        auto h = good;
        for (const auto& [at, value] : fields) {
            PutU32(h, at, value);
        }
        return h;
    };
    // Each refusal names its reason on a second line.
    const std::string truncated = notProject + "\nThe file is truncated";
    const std::string badSize = notProject + "\nIts image size field";
    const std::string badTable = notProject + "\nIts allocation table";
    const struct {
        const char* what;
        std::vector<std::uint8_t> header;
        std::size_t imageBytes;
        std::string message;
    } cases[] = {
        {"wrong magic", header({{0, 0x6B4D7552}}), 0x400000, notProject},
        {"truncated image", good, 0x3FFFFF, truncated},
        {"header only", good, 0, truncated},
        {"odd image size", header({{8, 0x200000}}), 0x400000, badSize},
        {"huge image size", header({{8, 0xFFFFFFFF}}), 0x400000, badSize},
        {"6 MB flag on 4 MB", header({{12, 1}}), 0x400000, notProject + "\nIts flags mark a 6 MB"},
        {"entry below area", header({{16, 0x400000}}), 0x400000, badTable},
        {"entry past area", header({{16, 0x5FFFF0}, {20, 0x20}}), 0x400000, badTable},
        {"overlapping entries", header({{16, 0x418000}, {20, 0x100}, {28, 0x4180F0}, {32, 0x10}}),
         0x400000, badTable},
    };
    const auto open = ImportedProject(SyntheticImage::k1MB, Region::UK);
    const std::vector<std::uint8_t> kept = open->romImage;
    ScriptedPrompts prompts;
    const auto expectRefused = [&](const char* what, const char* path, const std::string& text) {
        prompts.messages.clear();
        EXPECT_FALSE(LoadProject(*open, path, prompts)) << what;
        EXPECT_EQ(prompts.LastMessage().substr(0, text.size()), text) << what;
        EXPECT_EQ(prompts.messages.size(), 1u) << what;
        EXPECT_EQ(open->romImage, kept) << what;
        EXPECT_EQ(open->regionIndex, 2u) << what;
    };
    for (const auto& c : cases) {
        std::span<const std::uint8_t> image(source->romImage.data(), c.imageBytes);
        ASSERT_TRUE(WriteWholeFile("bad.qmp", {c.header, image})) << c.what;
        expectRefused(c.what, "bad.qmp", c.message);
    }
    ASSERT_TRUE(WriteWholeFile("bad.qmp", {good, std::vector<std::uint8_t>(0x400000, 0)}));
    expectRefused("an image of no known release", "bad.qmp",
                  notProject + "\nIts image is of no release of the game that Quenmark knows.");
    ASSERT_TRUE(WriteWholeFile("bad.qmp", std::vector<std::uint8_t>{'Q', 'u', 'M', 'k', 2, 3}));
    expectRefused("a file cut within its header", "bad.qmp", truncated);
    // Files too short for the magic number say why too.
    for (const auto& [bytes, reason] :
         {std::pair<std::vector<std::uint8_t>, const char*>{{}, "\nThe file is empty."},
          {{'Q', 'u'}, "\nThe file holds only 2 bytes, too few for a project file's header."}}) {
        std::ofstream("bad.qmp", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        expectRefused(reason, "bad.qmp", notProject + reason);
    }
    expectRefused("no file", "missing.qmp", "Failed to open file!");
}

TEST(ProjectFile, SaveFailuresAreReported) {
    ScriptedPrompts prompts;
    ProjectContext empty;
    EXPECT_FALSE(SaveProject(empty, "x.qmp", prompts));
    EXPECT_EQ(prompts.LastMessage(), "Please open a ROM first");

    auto project = ImportedProject(SyntheticImage::k1MB, Region::German);
    EXPECT_FALSE(SaveProject(*project, "no/such/dir/x.qmp", prompts));
    EXPECT_EQ(prompts.LastMessage(), "Failed to create file!");
}

#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "tests/support/SyntheticImage.h"
#include "tools/PracticePatches.h"

// The data folder in the test's scratch folder, holding a file of distinct bytes (and length)
// for each hook of a patch set. Returns the files' bytes in the set's order.
inline std::vector<std::vector<std::uint8_t>> WritePatchFiles(const std::vector<PatchHook>& set) {
    setenv("XDG_DATA_HOME", std::filesystem::current_path().c_str(), 1);
    const auto folder = DataSubfolder(kPracticeDataFolder);
    std::filesystem::create_directories(folder);
    std::vector<std::vector<std::uint8_t>> files;
    for (const PatchHook& hook : set) {
        std::vector<std::uint8_t> code(7 + 3 * files.size());
        for (std::size_t i = 0; i < code.size(); ++i) {
            code[i] = static_cast<std::uint8_t>(0x40 + 16 * files.size() + i);
        }
        EXPECT_TRUE(WriteWholeFile(folder / hook.file, code));
        files.push_back(std::move(code));
    }
    return files;
}

// A project whose image holds a pattern rather than zeros, so that writing 0x00 shows too, and
// the region letters of its release.
inline std::unique_ptr<ProjectContext> PatternProject(std::uint32_t size,
                                                      SyntheticImage::Region region) {
    SyntheticImage image(size, region);
    for (std::uint32_t i = 0; i < size; ++i) {
        image.Bytes()[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) + 1);
    }
    image.SetRegion(region);
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = size;
    project->regionIndex = SyntheticImage::RegionIndex(region);
    return project;
}

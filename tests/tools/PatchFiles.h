#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "tests/support/DataFolderContents.h"
#include "tests/support/SyntheticImage.h"
#include "tools/PracticePatches.h"

// The patch files of a set in the data folder, made in the test's scratch folder: file i holds
// 7 + 3i bytes of its own. Returns them in the set's order.
inline std::vector<std::vector<std::uint8_t>> WritePatchFiles(const std::vector<PatchHook>& set) {
    setenv("XDG_DATA_HOME", std::filesystem::current_path().c_str(), 1);
    std::filesystem::create_directories(DataSubfolder(kPracticeDataFolder));
    std::vector<std::vector<std::uint8_t>> files;
    for (const PatchHook& hook : set) {
        std::vector<std::uint8_t> code(7 + 3 * files.size());
        for (std::size_t i = 0; i < code.size(); ++i)
            code[i] = 0x40 + 16 * files.size() + i;
        WriteWholeFile(DataSubfolder(kPracticeDataFolder) / hook.file, code);
        files.push_back(std::move(code));
    }
    return files;
}

// A project whose image holds a pattern rather than zeros, so that writing 0x00 shows too.
inline std::unique_ptr<ProjectContext> PatternProject(std::uint32_t size,
                                                      SyntheticImage::Region region) {
    SyntheticImage image(size, region);
    for (std::uint32_t i = 0; i < size; ++i)
        image.Bytes()[i] = std::uint8_t(i * 7 + (i >> 8) + 1);
    image.SetRegion(region);
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = size;
    project->regionIndex = SyntheticImage::RegionIndex(region);
    return project;
}

#include "project/ProjectFile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Files.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "project/Allocator.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"

namespace {

constexpr char kNotAProject[] = "This isn't a Quenmark project file.";

// The refusal, with the reason after it so that a damaged file is told from a foreign one.
bool RefuseProject(Prompts& prompts, const std::string& reason) {
    prompts.ShowMessage(std::string(kNotAProject) + "\n" + reason);
    return false;
}

std::string Hex(std::uint64_t value) {
    return FormatText("0x%llX", static_cast<unsigned long long>(value));
}

bool IsAcceptedImageSize(std::uint32_t size) {
    return size == kRomSize1MB || size == kRomSize4MB || size == kRomSize6MB;
}

}  // namespace

std::vector<std::uint8_t> ProjectHeaderBytes(const ProjectContext& project) {
    std::vector<std::uint8_t> header(kProjectHeaderSize, 0);
    std::memcpy(header.data(), project.magic.data(), 4);
    PutU32(header, 4, kProjectVersion);
    PutU32(header, 8, project.romSize);
    PutU32(header, 12, project.flags);
    const std::vector<std::uint8_t> table = AllocTableBytes(project.allocTable);
    std::copy(table.begin(), table.end(), header.begin() + 16);
    return header;
}

bool SaveProject(const ProjectContext& project, const std::filesystem::path& path,
                 Prompts& prompts) {
    if (!project.HasImage()) {
        prompts.ShowMessage("Please open a ROM first");
        return false;
    }
    const auto header = ProjectHeaderBytes(project);
    if (!WriteWholeFile(path, {header, project.Image()})) {
        prompts.ShowMessage("Failed to create file!");
        return false;
    }
    return true;
}

bool LoadProject(ProjectContext& project, const std::filesystem::path& path, Prompts& prompts) {
    const auto size = FileSize(path);
    if (!size) {
        prompts.ShowMessage("Failed to open file!");
        return false;
    }
    // No sound project is larger than a full header and a 6 MB image; do not read more.
    constexpr std::uint64_t kLargest = kProjectHeaderSize + kRomSize6MB;
    if (*size > kLargest + 0x10000) {
        return RefuseProject(
            prompts, "The file (" + Hex(*size) + " bytes) is larger than any project can be.");
    }
    const auto file = ReadWholeFile(path);
    if (!file) {
        prompts.ShowMessage("Failed to open file!");
        return false;
    }
    return LoadProjectBytes(project, *file, prompts);
}

bool LoadProjectBytes(ProjectContext& project, std::span<const std::uint8_t> bytes,
                      Prompts& prompts) {
    // Too short to hold the magic number: say why, as for every other refused file.
    if (bytes.empty()) {
        return RefuseProject(prompts, "The file is empty.");
    }
    if (bytes.size() < 4) {
        return RefuseProject(prompts, "The file holds only " + std::to_string(bytes.size()) +
                                          " bytes, too few for a project file's header.");
    }
    if (std::memcmp(bytes.data(), "QuMk", 4) != 0) {
        prompts.ShowMessage(kNotAProject);
        return false;
    }
    if (bytes.size() < kOldProjectHeaderSize) {
        return RefuseProject(prompts, "The file is truncated: it ends within its header.");
    }

    const std::uint32_t version = GetU32(bytes, 4);
    const bool oldForm = version != kProjectVersion && version <= 7;
    const std::uint32_t headerSize = oldForm ? kOldProjectHeaderSize : kProjectHeaderSize;
    const std::uint32_t romSize = GetU32(bytes, 8);
    const std::uint32_t flags = oldForm ? 0 : GetU32(bytes, 12);

    AllocTable table{};
    if (!oldForm && bytes.size() >= kProjectHeaderSize) {
        table = *AllocTableFromBytes(bytes.subspan(16));
    }

    if (!IsAcceptedImageSize(romSize)) {
        return RefuseProject(prompts, "Its image size field (" + Hex(romSize) +
                                          ") is not the size of a 1, 4 or 6 MB image.");
    }
    if (!InRange(bytes.size(), headerSize, romSize)) {
        return RefuseProject(prompts, "The file is truncated: its header promises " +
                                          Hex(std::uint64_t{headerSize} + romSize) +
                                          " bytes, it holds " + Hex(bytes.size()) + ".");
    }
    if ((flags & kProjectFlag6MB) != 0 && romSize != kRomSize6MB) {
        return RefuseProject(prompts, "Its flags mark a 6 MB image, but the image is " +
                                          Hex(romSize) + " bytes long.");
    }
    if (!AllocTableIsSound(table)) {
        return RefuseProject(prompts,
                             "Its allocation table holds blocks outside the free area or "
                             "overlapping each other.");
    }
    const auto image = bytes.subspan(headerSize, romSize);
    const std::uint32_t region = DetectRegion(image);
    if (region == kRegionNone) {
        return RefuseProject(prompts, "Its image is of no release of the game that Quenmark knows.");
    }

    project.romSize = romSize;
    project.flags = flags;
    project.allocTable = table;
    project.allocBase = kAllocBase;
    project.romImage.assign(image.begin(), image.end());
    project.regionIndex = region;
    LoadExitLists(project);
    if (const std::string missing = OpenSpritePlacement(project); !missing.empty()) {
        prompts.ShowMessage(missing);
    }
    return true;
}

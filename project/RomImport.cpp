#include "project/RomImport.h"

#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/SpritePlacementLists.h"

std::optional<std::uint32_t> CopierHeaderSize(std::uint64_t fileSize) {
    switch (fileSize) {
        case kRomSize1MB:
        case kRomSize4MB:
        case kRomSize6MB:
            return 0;
        case kRomSize4MB + 0x200:
        case kRomSize6MB + 0x200:
            return 0x200;
        default:
            return std::nullopt;
    }
}

std::uint32_t DetectRegion(std::span<const std::uint8_t> image) {
    const std::uint8_t titleLetter = GetU8(image, 0xFFCB);
    const std::uint8_t version = GetU8(image, 0xFFDB);
    switch (titleLetter) {
        case 'D':
            return version == 0x01 ? 4 : 1;
        case 'P':
            return 2;
        case 'S':
            return 3;
        case 'M':
            return 5;
        case 'F':
            return 6;
        default:
            return GetU8(image, 0xFFC7) == 'J' ? 0 : kRegionNone;
    }
}

std::uint32_t ImportRom(ProjectContext& project, std::span<const std::uint8_t> image,
                        std::string* notice) {
    project.romImage.assign(image.begin(), image.end());
    project.regionIndex = DetectRegion(image);
    if (project.regionIndex == kRegionNone) {
        return kRegionNone;
    }
    project.romSize = static_cast<std::uint32_t>(image.size());
    if (project.romSize == kRomSize6MB) {
        project.flags |= kProjectFlag6MB;
    } else {
        project.flags &= ~kProjectFlag6MB;
    }
    LoadExitLists(project);
    // On a 6 MB image this also writes the bank bytes, once the lists are in banks 0x50/0x51.
    std::string unmoved = ImportSpritePlacement(project);
    if (notice != nullptr) {
        *notice = std::move(unmoved);
    }
    return project.regionIndex;
}

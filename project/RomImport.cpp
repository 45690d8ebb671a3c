#include "project/RomImport.h"

#include "project/ExitLists.h"
#include "project/ProjectContext.h"

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

void WriteExtendedBankBytes(ProjectContext& project) {
    for (std::uint32_t offset : {0xF403u, 0xF411u, 0xF417u, 0x69562u, 0x69569u}) {
        project.Write8(offset, 0x50);
    }
    for (std::uint32_t offset : {0xF409u, 0xF420u, 0xF42Bu, 0x6956Du, 0x69574u}) {
        project.Write8(offset, 0x51);
    }
}

std::uint32_t ImportRom(ProjectContext& project, std::span<const std::uint8_t> image) {
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
    if (project.Is6MB()) {
        WriteExtendedBankBytes(project);
    }
    return project.regionIndex;
}

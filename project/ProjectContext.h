#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "project/AllocEntry.h"
#include "project/ByteAccess.h"
#include "project/ExitRecord.h"
#include "project/RegionAddressTable.h"
#include "project/SpritePlacementList.h"
#include "project/WorldMapExitRecord.h"

inline constexpr std::uint32_t kRegionNone = 7;
inline constexpr std::uint32_t kProjectVersion = 770;
inline constexpr std::uint32_t kProjectFlag6MB = 1;
inline constexpr std::uint32_t kRomSize1MB = 0x100000;
inline constexpr std::uint32_t kRomSize4MB = 0x400000;
inline constexpr std::uint32_t kRomSize6MB = 0x600000;
inline constexpr std::size_t kMapCount = 1104;

// The project: one ROM image being edited and what the editor keeps beside it.
class ProjectContext {
public:
    ProjectContext();
    ProjectContext(const ProjectContext&) = delete;
    ProjectContext& operator=(const ProjectContext&) = delete;

    // Tells projects apart, even one made where a freed one lived; never 0.
    const std::uint64_t serial;

    // The image, never with a copier header; empty until an image is loaded.
    std::vector<std::uint8_t> romImage;
    std::array<char, 4> magic{'Q', 'u', 'M', 'k'};
    std::uint32_t version = kProjectVersion;
    std::uint32_t romSize = 0;
    std::uint32_t flags = 0;  // bit 0: a 6 MB image that owns the free area
    AllocTable allocTable{};
    std::uint32_t allocBase = kAllocBase;
    // The image uses more separate blocks of the free area than the table can record, so
    // nothing is allocated there; found anew each time the project is made or opened.
    bool freeAreaUnrecordable = false;
    std::uint32_t regionIndex = kRegionNone;
    std::vector<std::vector<ExitRecord>> exitLists;
    std::vector<WorldMapExitRecord> worldMapExits;
    std::vector<SpritePlacementList> spritePlacementLists;
    // This project's copy of the region address tables; writers may override entries.
    RegionAddressTables regionTables;
    // The sprite graphics named by the last sprite load that named any; a record that names
    // only a palette borrows them.
    std::uint32_t spriteGraphicsAddress = 0;

    bool HasImage() const { return !romImage.empty(); }
    bool Is6MB() const { return (flags & kProjectFlag6MB) != 0 && romSize == kRomSize6MB; }
    std::span<std::uint8_t> Image() { return romImage; }
    std::span<const std::uint8_t> Image() const { return romImage; }

    // The value of a region table in this project's column; 0 without a recognised region.
    std::uint32_t Table(RegionTable table) const;
    void SetTable(RegionTable table, std::uint32_t value);

    // The address rule: a game address or offset becomes an image offset. Region 5 masks with
    // 0xFFFFF; otherwise offsets below the image size stay, others are masked with 0x3FFFFF.
    // The result can still lie past the end of a 1 MB image; every accessor below is bounded.
    std::uint32_t WrapRomOffset(std::uint32_t offset) const;
    // The three-byte game pointer at a game address (only the first byte is wrapped).
    std::uint32_t ReadRomLong(std::uint32_t address) const;

    // Plain image offsets, bounds-checked: missing bytes read as 0, writes out of range fail.
    std::uint8_t Read8(std::uint32_t offset) const { return GetU8(romImage, offset); }
    std::uint16_t Read16(std::uint32_t offset) const { return GetU16(romImage, offset); }
    std::uint32_t Read24(std::uint32_t offset) const { return GetU24(romImage, offset); }
    bool Write8(std::uint32_t offset, std::uint32_t v) { return PutU8(romImage, offset, v); }
    bool Write16(std::uint32_t offset, std::uint32_t v) { return PutU16(romImage, offset, v); }
    bool Write24(std::uint32_t offset, std::uint32_t v) { return PutU24(romImage, offset, v); }
    bool WriteBytes(std::uint32_t offset, std::span<const std::uint8_t> bytes);

    // Frees the image and empties the lists.
    void CloseProject();
};

// The current project, or null while there is none.
extern ProjectContext* currentProject;

// Makes the given context the current project and destroys the previous one.
void ReplaceCurrentProject(std::unique_ptr<ProjectContext> next);
// Destroys the current project; afterwards there is none.
void DestroyCurrentProject();

// The address rule and pointer reader on the current project (0 without a project).
std::uint32_t WrapRomOffset(std::uint32_t offset);
std::uint32_t ReadRomLong(std::uint32_t address);

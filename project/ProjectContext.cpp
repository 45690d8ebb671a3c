#include "project/ProjectContext.h"

#include <algorithm>

ProjectContext* currentProject = nullptr;

namespace {
std::unique_ptr<ProjectContext>& CurrentProjectOwner() {
    static std::unique_ptr<ProjectContext> owner;
    return owner;
}

std::uint64_t NextSerial() {
    static std::uint64_t last = 0;
    return ++last;
}
}  // namespace

ProjectContext::ProjectContext()
    : serial(NextSerial()), regionTables(DefaultRegionAddressTables()) {}

std::uint32_t ProjectContext::Table(RegionTable table) const {
    const auto row = static_cast<std::size_t>(table);
    if (regionIndex >= kRegionCount || row >= kRegionTableCount) {
        return 0;
    }
    return regionTables[row][regionIndex];
}

void ProjectContext::SetTable(RegionTable table, std::uint32_t value) {
    const auto row = static_cast<std::size_t>(table);
    if (regionIndex < kRegionCount && row < kRegionTableCount) {
        regionTables[row][regionIndex] = value;
    }
}

std::uint32_t ProjectContext::WrapRomOffset(std::uint32_t offset) const {
    if (regionIndex == 5) {
        return offset & 0xFFFFF;
    }
    if (offset < romSize) {
        return offset;
    }
    return offset & 0x3FFFFF;
}

std::uint32_t ProjectContext::ReadRomLong(std::uint32_t address) const {
    return Read24(WrapRomOffset(address));
}

bool ProjectContext::WriteBytes(std::uint32_t offset, std::span<const std::uint8_t> bytes) {
    if (!InRange(romImage.size(), offset, bytes.size())) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), romImage.begin() + offset);
    return true;
}

void ProjectContext::CloseProject() {
    romImage.clear();
    romImage.shrink_to_fit();
    spritePlacementLists.clear();
    worldMapExits.clear();
    exitLists.clear();
}

void ReplaceCurrentProject(std::unique_ptr<ProjectContext> next) {
    auto& owner = CurrentProjectOwner();
    currentProject = nullptr;
    if (owner) {
        owner->CloseProject();
    }
    owner = std::move(next);
    currentProject = owner.get();
}

void DestroyCurrentProject() {
    ReplaceCurrentProject(nullptr);
}

std::uint32_t WrapRomOffset(std::uint32_t offset) {
    return currentProject != nullptr ? currentProject->WrapRomOffset(offset) : 0;
}

std::uint32_t ReadRomLong(std::uint32_t address) {
    return currentProject != nullptr ? currentProject->ReadRomLong(address) : 0;
}

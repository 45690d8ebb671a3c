#include "project/ExitLists.h"

#include <algorithm>

#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kRegionSharedExitArea = 5;

ExitRecord ReadExitAt(const ProjectContext& project, std::uint32_t at) {
    ExitRecord r;
    r.posX = project.Read8(at);
    r.posY = project.Read8(at + 1);
    r.sizeX = project.Read8(at + 2);
    r.sizeY = project.Read8(at + 3);
    r.dstMapId = project.Read16(at + 4);
    r.transEffect = project.Read8(at + 6);
    r.direction = project.Read8(at + 7);
    r.dstX = project.Read16(at + 8);
    r.dstY = project.Read16(at + 10);
    return r;
}

void PutExit(std::vector<std::uint8_t>& out, const ExitRecord& r) {
    const std::uint8_t bytes[kExitRecordSize] = {
        r.posX,
        r.posY,
        r.sizeX,
        r.sizeY,
        static_cast<std::uint8_t>(r.dstMapId),
        static_cast<std::uint8_t>(r.dstMapId >> 8),
        r.transEffect,
        r.direction,
        static_cast<std::uint8_t>(r.dstX),
        static_cast<std::uint8_t>(r.dstX >> 8),
        static_cast<std::uint8_t>(r.dstY),
        static_cast<std::uint8_t>(r.dstY >> 8),
    };
    out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

// The 37 records live at a game address; a release without the table gets zeroed records.
void ReadWorldMapExits(ProjectContext& project) {
    project.worldMapExits.assign(kWorldMapExitCount, {});
    const std::uint32_t address = project.Table(RegionTable::WorldMapExitTable);
    if (address == 0) {
        return;
    }
    std::uint32_t at = project.WrapRomOffset(address);
    for (WorldMapExitRecord& r : project.worldMapExits) {
        r.x = project.Read8(at);
        r.y = project.Read8(at + 1);
        r.width = project.Read8(at + 2);
        r.height = project.Read8(at + 3);
        for (std::size_t i = 0; i < r.rest.size(); ++i) {
            r.rest[i] = project.Read8(at + 4 + static_cast<std::uint32_t>(i));
        }
        at += sizeof(WorldMapExitRecord);
    }
}

}  // namespace

void LoadExitLists(ProjectContext& project) {
    project.exitLists.assign(kMapCount, {});
    const std::uint32_t table = project.Table(RegionTable::ExitPointerTable);
    const std::uint32_t bank = project.Table(RegionTable::ExitDataBank);
    // Records never run past the exit bank or the image.
    const auto limit = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(project.romImage.size(), bank + 0x10000ull));
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        const std::uint16_t p = project.Read16(table + 2 * m);
        if (p == 0) {
            continue;
        }
        auto& list = project.exitLists[m];
        for (std::uint32_t at = bank + p;
             at < limit && kExitRecordSize <= limit - at && project.Read8(at) != kExitListEnd;
             at += kExitRecordSize) {
            list.push_back(ReadExitAt(project, at));
        }
    }
    ReadWorldMapExits(project);
}

std::uint32_t ExitListsSize(const ProjectContext& project) {
    std::uint32_t size = 0;
    for (const auto& list : project.exitLists) {
        if (!list.empty()) {
            size += kExitRecordSize * static_cast<std::uint32_t>(list.size()) + 1;
        }
    }
    return size;
}

bool WriteExitLists(ProjectContext& project, Prompts& prompts) {
    if (project.exitLists.size() != kMapCount) {
        return false;
    }
    if (project.regionIndex == kRegionSharedExitArea) {
        prompts.ShowMessage(kExitAreaShared);
        return false;
    }
    for (const auto& list : project.exitLists) {
        if (std::any_of(list.begin(), list.end(),
                        [](const ExitRecord& r) { return r.posX == kExitListEnd; })) {
            prompts.ShowMessage(kExitEndMarkerPosition);
            return false;
        }
    }
    if (ExitListsSize(project) > kExitAreaLimit) {
        prompts.ShowMessage(kExitListsTooLarge);
        return false;
    }

    std::vector<std::uint8_t> pointers(2 * kMapCount, 0);
    std::vector<std::uint8_t> packed;
    packed.reserve(ExitListsSize(project));
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        const auto& list = project.exitLists[m];
        if (list.empty()) {
            continue;
        }
        PutU16(pointers, 2 * m, kExitDataStart + static_cast<std::uint32_t>(packed.size()));
        for (const ExitRecord& r : list) {
            PutExit(packed, r);
        }
        packed.push_back(kExitListEnd);
    }
    const std::uint32_t table = project.Table(RegionTable::ExitPointerTable);
    const std::uint32_t data = project.Table(RegionTable::ExitDataBank) + kExitDataStart;
    if (!InRange(project.romImage.size(), table, pointers.size()) ||
        !InRange(project.romImage.size(), data, packed.size())) {
        return false;
    }
    project.WriteBytes(table, pointers);
    project.WriteBytes(data, packed);
    return true;
}

std::vector<ExitRecord>* GetExitList(ProjectContext& project, std::uint32_t mapId) {
    if (mapId >= kMapCount || mapId >= project.exitLists.size()) {
        return nullptr;
    }
    return &project.exitLists[mapId];
}

bool AddExit(ProjectContext& project, Prompts& prompts, std::uint32_t mapId,
             const ExitRecord& exit) {
    auto* list = GetExitList(project, mapId);
    if (list == nullptr) {
        return false;
    }
    if (project.regionIndex == kRegionSharedExitArea) {
        prompts.ShowMessage(kExitAreaShared);
        return false;
    }
    if (exit.posX == kExitListEnd) {
        prompts.ShowMessage(kExitEndMarkerPosition);
        return false;
    }
    // The first exit of a map also costs the map its end byte.
    const std::uint32_t growth = kExitRecordSize + (list->empty() ? 1 : 0);
    if (ExitListsSize(project) + growth > kExitAreaLimit) {
        prompts.ShowMessage(kExitNoSpace);
        return false;
    }
    list->push_back(exit);
    if (!WriteExitLists(project, prompts)) {
        list->pop_back();
        return false;
    }
    return true;
}

bool DeleteExit(ProjectContext& project, Prompts& prompts, std::uint32_t mapId,
                std::uint32_t index) {
    auto* list = GetExitList(project, mapId);
    if (list == nullptr || index >= list->size()) {
        return false;
    }
    const ExitRecord removed = (*list)[index];
    list->erase(list->begin() + index);
    if (!WriteExitLists(project, prompts)) {
        list->insert(list->begin() + index, removed);
        return false;
    }
    return true;
}

std::vector<ExitRecord>* GetExitList(std::uint32_t mapId) {
    return currentProject != nullptr ? GetExitList(*currentProject, mapId) : nullptr;
}

bool AddExit(Prompts& prompts, std::uint32_t mapId, const ExitRecord& exit) {
    return currentProject != nullptr && AddExit(*currentProject, prompts, mapId, exit);
}

bool DeleteExit(Prompts& prompts, std::uint32_t mapId, std::uint32_t index) {
    return currentProject != nullptr && DeleteExit(*currentProject, prompts, mapId, index);
}

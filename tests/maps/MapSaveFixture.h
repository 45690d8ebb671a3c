#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "project/Allocator.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/maps/ui/MapPageFixture.h"

// A project made from the Maps page's image (map 0x0A), with a map object on it, for saving.
struct SaveScene {
    explicit SaveScene(std::uint32_t size = SyntheticImage::k4MB,
                       std::uint32_t scriptAddress = MapPageProject::kScript)
        : data(size, scriptAddress) {}

    // Imports the image and loads map 0x0A.
    void Open() {
        ASSERT_NE(ImportRom(project, data.image.Bytes()), kRegionNone);
        renderer = Load(MapPageProject::kMapId);
    }

    // A fresh map object with the map as the image now holds it.
    std::unique_ptr<MapRenderer> Load(std::uint32_t mapId) {
        auto map = std::make_unique<MapRenderer>(project);
        std::uint32_t w0 = 0;
        std::uint32_t w1 = 0;
        map->Load(mapId, w0, w1, false);
        return map;
    }

    // Cells of varied values, so that a layer no longer compresses into its old place.
    static void Scramble(MapRenderer& map, std::uint32_t layer, std::uint32_t count,
                         std::uint32_t seed = 1) {
        std::uint32_t x = seed;
        for (std::uint32_t i = 0; i < count && 2 * i + 1 < map.layerMap[layer].size(); ++i) {
            x = x * 1103515245u + 12345u;
            map.layerMap[layer][2 * i] = static_cast<std::uint8_t>(x >> 16);
            map.layerMap[layer][2 * i + 1] = static_cast<std::uint8_t>((x >> 24) & 3);
        }
    }

    std::uint32_t StreamLength(std::uint32_t layer) const {
        std::uint32_t length = 0;
        CompressData(renderer->layerMap[layer], &length);
        return length;
    }

    MapPageProject data;
    ProjectContext project;
    std::unique_ptr<MapRenderer> renderer;
};

inline std::vector<const AllocEntry*> UsedEntries(const ProjectContext& project) {
    std::vector<const AllocEntry*> used;
    for (const AllocEntry& e : project.allocTable) {
        if (e.address != 0) {
            used.push_back(&e);
        }
    }
    return used;
}

// Uses every free entry of the table but the first `leaveFree`, with small blocks at the end
// of the free area.
inline void FillTable(ProjectContext& project, std::uint32_t leaveFree) {
    std::uint32_t at = 0x5F0000;
    for (AllocEntry& e : project.allocTable) {
        if (e.address != 0) {
            continue;
        }
        if (leaveFree > 0) {
            --leaveFree;
            continue;
        }
        e = {at, 0x10, 0xF00D};
        at += 0x10;
    }
}

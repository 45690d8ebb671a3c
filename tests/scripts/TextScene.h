#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/ProjectContext.h"
#include "scripts/TextDecoder.h"
#include "tests/support/SyntheticImage.h"

// A project on a synthetic image and a decoder bound to it. Texts are written straight into
// the project's image at kAt, so a test may decode many of them cheaply.
struct TextScene {
    static constexpr std::uint32_t kAt = 0x20000;

    explicit TextScene(SyntheticImage::Region region = SyntheticImage::Region::German,
                       std::uint32_t size = SyntheticImage::k4MB)
        : image(size, region) {
        Sync();
        project.regionIndex = SyntheticImage::RegionIndex(region);
    }

    // Copies the synthetic image into the project after a test changed it.
    void Sync() {
        project.romImage = image.Bytes();
        project.romSize = image.Size();
    }

    std::u16string Decode(const std::vector<std::uint8_t>& bytes, bool quiet = true) {
        project.WriteBytes(kAt, bytes);
        return decoder.DecodeAt(kAt, quiet);
    }

    SyntheticImage image;
    ProjectContext project;
    TextDecoder decoder{project};
};

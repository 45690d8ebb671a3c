#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/SpriteDescriptor.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

// Opens a 4 MB image with one sprite at kSpriteInfo as the current project: three animations
// of 2, 3 and 1 frames; frame f of animation a is one 8 x 8 piece at (8f, 8a) showing sheet
// tile f + a; the sheet has two rows of 16 solid tiles.
inline constexpr std::uint32_t kSpriteInfo = 0x100000;

inline void OpenSpriteProject() {
    std::vector<SyntheticImage::SpriteAnimation> animations(3);
    for (std::uint8_t a = 0; a < 3; ++a) {
        for (std::uint8_t f = 0; f < (a == 1 ? 3 : 2 - a / 2); ++f) {
            animations[a].push_back({{.x = static_cast<std::uint8_t>(8 * f),
                                      .y = static_cast<std::uint8_t>(8 * a),
                                      .tile = static_cast<std::uint8_t>(f + a)}});
        }
    }
    std::string row;
    for (int c = 0; c < 16; ++c) {
        row += std::string(8, "123456789ABCDEF"[c % 15]);
    }
    std::vector<std::uint16_t> colours;
    for (std::uint16_t i = 0; i < 16; ++i) {
        colours.push_back(SyntheticImage::SnesColor(2 * i, 31 - i, i));
    }
    SyntheticImage image;
    image.PutSpriteInfo(kSpriteInfo, 0x110000, 0x120000, 0x130000);
    image.PutLzBlock(0x110000, SyntheticImage::SpriteAnimationData(animations));
    image.PutSpritePalette(0x120000, colours);
    std::vector<std::string> sheet(8, row);
    sheet.resize(16, row.substr(8) + row.substr(0, 8));  // the next tile row, one tile on
    image.PutLzBlock(0x130000, SyntheticImage::SpriteTiles(sheet));
    auto project = std::make_unique<ProjectContext>();
    ASSERT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    ReplaceCurrentProject(std::move(project));
}

// A frame as the decoder draws it on the page's light grey.
inline Canvas DecodedFrame(std::uint32_t animation, std::uint32_t frame) {
    Canvas view(256, 256, 0xFFF0F0F0);
    SpriteDescriptor sprite;
    sprite.Load(*currentProject, kSpriteInfo)
        .RenderFrame(*currentProject, 0, 0, animation, frame, view);
    return view;
}

inline bool SamePicture(const Canvas& a, const Canvas& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Pixels(), a.Pixels() + a.Width() * a.Height(), b.Pixels());
}

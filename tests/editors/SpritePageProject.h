#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/SpriteDescriptor.h"
#include "platform/Canvas.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

// A 4 MB image with one sprite at kInfo: three animations of 2, 3 and 1 frames; frame f of
// animation a is one 8 x 8 piece at (8f, 8a) showing sheet tile f + a, and sheet tile c is
// solid in colour c % 15 + 1.
struct SpritePageProject {
    static constexpr std::uint32_t kInfo = 0x100000;
    static constexpr std::uint32_t kAnim = 0x110000;
    static constexpr std::uint32_t kPalette = 0x120000;
    static constexpr std::uint32_t kGraphics = 0x130000;

    SpritePageProject() {
        std::vector<SyntheticImage::SpriteAnimation> animations;
        for (std::uint8_t a = 0; a < 3; ++a) {
            SyntheticImage::SpriteAnimation animation;
            for (std::uint8_t f = 0; f < std::array{2, 3, 1}[a]; ++f) {
                animation.push_back({{.x = static_cast<std::uint8_t>(8 * f),
                                      .y = static_cast<std::uint8_t>(8 * a),
                                      .tile = static_cast<std::uint8_t>(f + a)}});
            }
            animations.push_back(animation);
        }
        std::string row;
        for (int c = 0; c < 16; ++c) {
            row += std::string(8, "123456789ABCDEF"[c % 15]);
        }
        std::array<std::uint16_t, 16> colours{};
        for (std::uint16_t i = 0; i < 16; ++i) {
            colours[i] = SyntheticImage::SnesColor(2 * i, 31 - i, i);
        }
        image.PutSpriteInfo(kInfo, kAnim, kPalette, kGraphics);
        image.PutLzBlock(kAnim, SyntheticImage::SpriteAnimationData(animations));
        image.PutSpritePalette(kPalette, colours);
        image.PutLzBlock(kGraphics, SyntheticImage::SpriteTiles(std::vector<std::string>(8, row)));
    }

    // Makes the image the current project.
    void Open() {
        auto project = std::make_unique<ProjectContext>();
        ASSERT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
        ReplaceCurrentProject(std::move(project));
    }

    // The frame as the decoder draws it on the page's light grey.
    static Canvas Expected(std::uint32_t animation, std::uint32_t frame) {
        Canvas view(256, 256, 0xFFF0F0F0);
        SpriteDescriptor sprite;
        sprite.Load(*currentProject, kInfo)
            .RenderFrame(*currentProject, 0, 0, animation, frame, view);
        return view;
    }

    SyntheticImage image;
};

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/Canvas.h"

class ProjectContext;

// Transparent pixels of sprites carry this colour (alpha aside).
inline constexpr std::uint32_t kSpriteKeyColour = 0xFF00FF;
inline constexpr int kSpriteSheetWidth = 128;

// What drawing a sprite frame produced.
struct SpriteFrameResult {
    // The frame's pieces were processed (also when it has none).
    bool drawn = false;
    // The sprite's colour sheet, 128 pixels wide; absent when the graphics did not decode.
    std::optional<Canvas> sheet;
};

// One of the game's sprites, found through its sprite-information record: where its animation
// data, palette and graphics lie. The decoded data is not kept; every drawing decodes afresh.
class SpriteDescriptor {
public:
    std::uint32_t animDataSize = 0;
    std::uint32_t animDataAddress = 0;
    std::uint32_t paletteAddress = 0;
    std::uint32_t animationCount = 0;
    std::uint32_t frameCount = 0;
    std::uint32_t infoAddress = 0;
    // The graphics this sprite is drawn with, fixed by its own Load. Drawing from the project's
    // current sprite graphics instead, which the map pages' object drawing and later loads of
    // other sprites change, would draw its frames from another sprite's tile sheet.
    std::uint32_t graphicsAddress = 0;

    // Reads the record at `address`; 0 leaves everything unchanged. A record that names
    // graphics also makes them the project's current sprite graphics, which a record naming
    // only a palette takes over. A record that cannot be used leaves no animations.
    SpriteDescriptor& Load(ProjectContext& project, std::uint32_t address);

    // Draws frame `frame` of animation `animation` with its origin at (x, y) into frameView,
    // piece by piece, leaving key-coloured pixels out. Pieces that would reach outside the
    // 512 x 512 view area are skipped.
    SpriteFrameResult RenderFrame(const ProjectContext& project, int x, int y,
                                  std::uint32_t animation, std::uint32_t frame,
                                  Canvas& frameView) const;

    // The decoded animation data named by the record at `infoAddress`; nothing when the block
    // does not decode.
    static std::optional<std::vector<std::uint8_t>> ReadAnimationData(const ProjectContext& project,
                                                                      std::uint32_t infoAddress);
    // Readers of decoded animation data, shared with the pages that list a sprite's animations.
    // The number of animations given by the table's first entry.
    static std::uint32_t AnimationCount(std::span<const std::uint8_t> animData);
    // The number of frames of an animation; its list ends before the first later entry marked
    // 0xFFFF and at the end of the data.
    static std::uint32_t CountFrames(std::span<const std::uint8_t> animData,
                                     std::uint32_t animation);
};

#pragma once

#include <cstdint>

class Canvas;

// How the object overlay draws an object's sprite. The sprite decoder supplies one; without
// it every object is drawn as a plain stamp.
class ObjectSpriteDrawer {
public:
    virtual ~ObjectSpriteDrawer() = default;
    // Loads the sprite named by a sprite-layout address. Called for every sprite object the
    // overlay meets, visible or not, since a load may change what later sprites draw with.
    virtual void Load(std::uint32_t spriteLayout) = 0;
    // Draws frame 0 of the animation of the sprite loaded last, its origin at (x, y) in view.
    // False when nothing of the frame was drawn.
    virtual bool DrawFrame(int x, int y, std::uint32_t animation, Canvas& view) = 0;
};

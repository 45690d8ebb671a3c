#pragma once

#include <cstdint>

#include "maps/ObjectSpriteDrawer.h"
#include "maps/SpriteDescriptor.h"
#include "platform/Canvas.h"

class ProjectContext;

// Draws the object overlay's sprites with the sprite decoder. The colour sheet of the last
// sprite drawn is kept in a scratch canvas that a page may show.
class SpriteObjectDrawer : public ObjectSpriteDrawer {
public:
    SpriteObjectDrawer(ProjectContext& project, Canvas& sheetScratch)
        : project_(project), sheetScratch_(sheetScratch) {}

    void Load(std::uint32_t spriteLayout) override;
    bool DrawFrame(int x, int y, std::uint32_t animation, Canvas& view) override;

private:
    ProjectContext& project_;
    Canvas& sheetScratch_;
    SpriteDescriptor sprite_;
};

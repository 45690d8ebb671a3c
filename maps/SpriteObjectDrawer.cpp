#include "maps/SpriteObjectDrawer.h"

#include <utility>

void SpriteObjectDrawer::Load(std::uint32_t spriteLayout) {
    sprite_.Load(project_, spriteLayout);
}

bool SpriteObjectDrawer::DrawFrame(int x, int y, std::uint32_t animation, Canvas& view) {
    SpriteFrameResult result = sprite_.RenderFrame(project_, x, y, animation, 0, view);
    if (result.sheet) {
        sheetScratch_ = std::move(*result.sheet);
    }
    return result.drawn;
}

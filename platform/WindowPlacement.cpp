#include "platform/WindowPlacement.h"

#include <algorithm>

namespace {

// The grid beside the main window, sized for the largest editors.
constexpr int kGap = 8;
constexpr int kColumnStep = 540;
constexpr int kRowStep = 560;

bool Inside(const ScreenRect& r, const ScreenRect& screen) {
    return r.x >= screen.x && r.y >= screen.y && r.Right() <= screen.Right() &&
           r.Bottom() <= screen.Bottom();
}

}  // namespace

ScreenRect PlaceFloatingEditor(const EditorDesk& desk, int width, int height, int slot,
                               int cascadeIndex) {
    const ScreenRect& screen = desk.screen;
    const ScreenRect beside{desk.mainFrame.Right() + kGap + slot / 2 * kColumnStep,
                            desk.mainFrame.y + slot % 2 * kRowStep, width, height};
    if (Inside(beside, screen)) {
        return beside;
    }
    // A step of a title bar and a little more, so each title stays readable. Four places, one
    // for each kind of editor; later editors start the cascade again.
    const int step = std::max(desk.titleHeight, 0) + 8;
    const int k = std::max(cascadeIndex, 0) % 4;
    // Near the bottom the cascade goes on sideways only. A frame larger than the screen keeps
    // its top left corner, and so its title, in sight.
    const int x = std::max(screen.x, screen.Right() - width - k * step);
    const int y = std::max(screen.y, std::min(screen.y + k * step, screen.Bottom() - height));
    return {x, y, width, height};
}

int NextCascadeIndex(std::span<const int> openIndices) {
    int next = 0;
    for (int index : openIndices) {
        next = std::max(next, index + 1);
    }
    return next;
}

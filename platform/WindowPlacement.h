#pragma once

#include <span>

// A rectangle of the screen, in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }  // one past the last column
    int Bottom() const { return y + height; }
};

// What the floating editors' placement needs of the desktop.
struct EditorDesk {
    ScreenRect screen;     // the part of the screen that windows may take
    ScreenRect mainFrame;  // the main window, frame included
    int titleHeight = 0;   // of a window frame's title bar
};

// Where a floating editor opens: the rectangle of its frame, `width` x `height` with the frame
// included. Where the screen has room beside the main window, `slot` (0 to 3) picks its place
// in a 2 x 2 grid there. Otherwise the editors cascade down from the screen's top right corner,
// a title bar lower and to the left for each `cascadeIndex` (four places, then the cascade
// starts again), so that one opened later leaves the title bars of the earlier ones in sight.
// Either way the frame stays inside the screen, as far as the screen can hold it.
ScreenRect PlaceFloatingEditor(const EditorDesk& desk, int width, int height, int slot,
                               int cascadeIndex);

// The cascade place for an editor opened while editors at `openIndices` are open: one past the
// last of them, so that it never hides their title bars.
int NextCascadeIndex(std::span<const int> openIndices);

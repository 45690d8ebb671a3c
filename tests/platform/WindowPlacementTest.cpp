#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace {

// The four editors' frames (exit, chest, object, shop) as a window manager with a 21-pixel title
// bar draws them.
constexpr int kTitle = 21;
constexpr std::array<std::array<int, 2>, 4> kEditors{
    {{511, 263}, {362, 207}, {362, 553}, {247, 427}}};

bool Inside(const ScreenRect& r, const ScreenRect& screen) {
    return r.x >= screen.x && r.y >= screen.y && r.Right() <= screen.Right() &&
           r.Bottom() <= screen.Bottom();
}

// Pixels of the middle row of `editor`'s title bar that no window opened after it covers.
int TitleInSight(const std::vector<ScreenRect>& opened, std::size_t editor) {
    const ScreenRect& r = opened[editor];
    const int row = r.y + kTitle / 2;
    int seen = 0;
    for (int x = r.x; x < r.Right(); ++x) {
        bool covered = false;
        for (std::size_t later = editor + 1; later < opened.size(); ++later) {
            const ScreenRect& o = opened[later];
            covered = covered || (x >= o.x && x < o.Right() && row >= o.y && row < o.Bottom());
        }
        seen += covered ? 0 : 1;
    }
    return seen;
}

}  // namespace

TEST(WindowPlacement, EditorsStayOnTheScreenWithTheirTitleBarsInSight) {
    const struct {
        const char* what;
        ScreenRect screen;
        ScreenRect mainFrame;
        bool beside;  // all four stand beside the main window
    } cases[] = {
        {"1280 x 720, the window fills it", {0, 0, 1280, 720}, {7, 10, 1266, 695}, false},
        {"1024 x 768", {0, 0, 1024, 768}, {0, 0, 1012, 743}, false},
        {"1920 x 1080, room for one column", {0, 0, 1920, 1080}, {0, 0, 1322, 743}, false},
        {"2560 x 1440", {0, 0, 2560, 1440}, {200, 100, 1322, 743}, true},
        {"second screen, panel on top", {1920, 32, 2560, 1408}, {1920, 32, 1322, 743}, true},
        {"1024 x 600, the cascade starts again", {0, 0, 1024, 600}, {0, 0, 1012, 575}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const EditorDesk desk{c.screen, c.mainFrame, kTitle};
        std::vector<ScreenRect> opened;
        std::vector<int> indices;
        for (int slot = 0; slot < 4; ++slot) {
            const int index = NextCascadeIndex(indices);
            opened.push_back(
                PlaceFloatingEditor(desk, kEditors[slot][0], kEditors[slot][1], slot, index));
            indices.push_back(index);
        }
        for (std::size_t e = 0; e < opened.size(); ++e) {
            const ScreenRect& r = opened[e];
            SCOPED_TRACE(e);
            EXPECT_TRUE(Inside(r, c.screen)) << r.x << ", " << r.y;
            EXPECT_GE(TitleInSight(opened, e), 100);
            if (c.beside) {
                EXPECT_GE(r.x, c.mainFrame.Right());
            }
        }
    }
}

TEST(WindowPlacement, TheCascadeGoesOnPastTheOpenEditorsAndStartsAgainWhenFull) {
    const int open[] = {0, 3, 1};
    EXPECT_EQ(NextCascadeIndex({}), 0);
    EXPECT_EQ(NextCascadeIndex(open), 4);
    // Four places, then the cascade starts again; near the bottom it goes on sideways only.
    const EditorDesk desk{{0, 0, 1024, 600}, {0, 0, 1012, 575}, kTitle};
    const ScreenRect third = PlaceFloatingEditor(desk, 362, 553, 2, 2);
    EXPECT_EQ(third.x * 1000 + third.y, (1024 - 362 - 58) * 1000 + 600 - 553);
    const ScreenRect fifth = PlaceFloatingEditor(desk, 362, 553, 2, 4);
    EXPECT_EQ(fifth.x * 1000 + fifth.y, (1024 - 362) * 1000);
}

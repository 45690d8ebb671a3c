#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/ui/PictureView.h"

// Clicks and wheel turns reach the pages through real events in the pages' tests.
TEST(PictureView, ShowsTheCanvasWithoutCopyingAtItsSize) {
    Canvas canvas(40, 30, 0xFF102030);
    // Alpha 0 is a renderer's mark, not transparency: the colour still shows.
    canvas.Set(5, 6, 0x00FF0000);
    PictureView view;
    view.SetCanvas(&canvas);
    EXPECT_EQ(view.size(), QSize(40, 30));
    EXPECT_EQ(view.Image().constBits(), reinterpret_cast<const uchar*>(canvas.Pixels()));
    EXPECT_EQ(view.Image().format(), QImage::Format_ARGB32);

    canvas.Set(1, 2, 0xFF00FF00);
    view.Refresh();
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(shown.pixel(1, 2), 0xFF00FF00u);
    EXPECT_EQ(shown.pixel(5, 6), 0xFFFF0000u);

    canvas.Resize(16, 8);
    view.Refresh();
    EXPECT_EQ(view.size(), QSize(16, 8));
    view.SetCanvas(nullptr);
    EXPECT_EQ(view.size(), QSize(0, 0));
    EXPECT_TRUE(view.Image().isNull());
}

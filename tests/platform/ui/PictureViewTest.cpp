#include <QSignalSpy>

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/ui/PictureView.h"
#include "tests/support/TestPointer.h"

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

TEST(PictureView, ReportsClicksAndWheelTurnsInCanvasPixels) {
    Canvas canvas(64, 64);
    PictureView view;
    view.SetCanvas(&canvas);
    view.show();
    QSignalSpy clicks(&view, &PictureView::Clicked);
    QSignalSpy wheels(&view, &PictureView::WheelTurned);
    TestPointer pointer;

    pointer.Press(&view, QPoint(10, 20));
    pointer.Press(&view, QPoint(33, 7), Qt::RightButton, Qt::ControlModifier);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_FALSE(clicks[0][1].toBool());
    EXPECT_EQ(clicks[0][2].toPoint(), QPoint(10, 20));
    EXPECT_EQ(clicks[1][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_TRUE(clicks[1][1].toBool());
    EXPECT_EQ(clicks[1][2].toPoint(), QPoint(33, 7));

    pointer.Wheel(&view, QPoint(12, 13), -120, Qt::ControlModifier);
    ASSERT_EQ(wheels.size(), 1);
    EXPECT_EQ(wheels[0][0].toInt(), -120);
    EXPECT_EQ(wheels[0][1].value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    EXPECT_EQ(wheels[0][3].toPoint(), QPoint(12, 13));
}

#pragma once

#include <cstdint>

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

// A pixel of a widget, alpha aside, as its window on screen shows it once the repaints asked
// for have run. Unlike QWidget::grab, which paints afresh, it misses a picture that was drawn
// but never asked to be repainted.
inline std::uint32_t ScreenPixel(QWidget* widget, int x, int y) {
    QCoreApplication::processEvents();
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(x, y));
    const QImage shot =
        widget->screen()->grabWindow(window->winId(), at.x(), at.y(), 1, 1).toImage();
    return shot.isNull() ? 0 : shot.pixel(0, 0) & 0xFFFFFF;
}

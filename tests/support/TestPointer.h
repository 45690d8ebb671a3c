#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

// Sends mouse, wheel and key events straight to widgets, positions in widget coordinates.
class TestPointer {
public:
    void Press(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                          modifiers);
        QApplication::sendEvent(widget, &event);
    }
    // delta 120 is one notch away from the user.
    void Wheel(QWidget* widget, QPoint at, int delta,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons buttons = Qt::NoButton) {
        QWheelEvent event(at, widget->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), buttons,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
    void Key(QWidget* widget, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
};

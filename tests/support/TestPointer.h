#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWheelEvent>
#include <QWidget>

// Sends mouse, wheel and key events straight to widgets. The events carry a device owned by
// the test: the platform's fallback device would outlive the application object at exit.
class TestPointer {
public:
    void Press(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                          modifiers, &device_);
        QApplication::sendEvent(widget, &event);
    }
    void Move(QWidget* widget, QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier, &device_);
        QApplication::sendEvent(widget, &event);
    }
    // delta 120 is one notch away from the user.
    void Wheel(QWidget* widget, QPoint at, int delta,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons buttons = Qt::NoButton) {
        QWheelEvent event(at, widget->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), buttons,
                          modifiers, Qt::NoScrollPhase, false, Qt::MouseEventNotSynthesized,
                          &device_);
        QApplication::sendEvent(widget, &event);
    }
    static void Key(QWidget* widget, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

private:
    QPointingDevice device_{"test mouse",
                            1,
                            QInputDevice::DeviceType::Mouse,
                            QPointingDevice::PointerType::Generic,
                            QInputDevice::Capability::Position,
                            1,
                            3};
};

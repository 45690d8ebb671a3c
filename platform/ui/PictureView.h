#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

class Canvas;

// A picture control: shows a Canvas at its own size, without copying its pixels, and reports
// clicks and wheel turns in canvas pixels. The canvas stays owned by the caller, which calls
// Refresh() after drawing into it.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // Shows the given canvas (null shows nothing); the canvas must outlive the view or be
    // replaced first.
    void SetCanvas(const Canvas* canvas);
    const Canvas* GetCanvas() const { return canvas_; }
    // Takes a change of the canvas's pixels or size into account.
    void Refresh();
    // The canvas's pixels as a QImage that shares them (a null image without a canvas).
    QImage Image() const;

    QSize sizeHint() const override;

signals:
    // A button went down over the picture; ctrl tells whether Ctrl was held.
    void Clicked(Qt::MouseButton button, bool ctrl, QPoint position);
    // A wheel turn over the picture: delta as the wheel reports it (120 a notch, positive
    // away from the user), with the keys and buttons held at the time.
    void WheelTurned(int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                     QPoint position);
    // The cursor moved over the picture (only reported while mouse tracking is on).
    void Moved(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const Canvas* canvas_ = nullptr;
};

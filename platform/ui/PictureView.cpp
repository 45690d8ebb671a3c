#include "platform/ui/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/Canvas.h"

namespace {

QImage WrapCanvas(const Canvas* canvas, QImage::Format format) {
    if (canvas == nullptr || canvas->Empty()) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(canvas->Pixels()), canvas->Width(),
                  canvas->Height(), canvas->Width() * 4, format);
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(0, 0);
}

void PictureView::SetCanvas(const Canvas* canvas) {
    canvas_ = canvas;
    Refresh();
}

void PictureView::Refresh() {
    const QSize size = sizeHint();
    if (size != this->size() || size != minimumSize()) {
        setFixedSize(size);
        updateGeometry();
    }
    update();
}

QImage PictureView::Image() const {
    return WrapCanvas(canvas_, QImage::Format_ARGB32);
}

QSize PictureView::sizeHint() const {
    return canvas_ != nullptr ? QSize(canvas_->Width(), canvas_->Height()) : QSize(0, 0);
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The alpha byte of a canvas is a colour-key mark of the renderer, not a display alpha:
    // the picture shows every pixel's colour opaque, as the blits that built it do.
    const QImage picture = WrapCanvas(canvas_, QImage::Format_RGB32);
    if (picture.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawImage(QPoint(0, 0), picture);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit Clicked(event->button(), (event->modifiers() & Qt::ControlModifier) != 0,
                 event->position().toPoint());
    event->accept();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    emit Moved(event->position().toPoint());
    event->accept();
}

void PictureView::wheelEvent(QWheelEvent* event) {
    emit WheelTurned(event->angleDelta().y(), event->modifiers(), event->buttons(),
                     event->position().toPoint());
    event->accept();
}

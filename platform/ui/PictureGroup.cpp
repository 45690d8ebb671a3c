#include "platform/ui/PictureGroup.h"

#include <QGroupBox>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/ui/PictureView.h"

namespace {

// The area behind a growing picture: it only passes its size on.
class PictureArea : public QWidget {
public:
    explicit PictureArea(std::function<void(QSize)> resized) : resized_(std::move(resized)) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (resized_) {
            resized_(event->size());
        }
    }

private:
    std::function<void(QSize)> resized_;
};

// `shown` is the area itself or what holds it.
QGroupBox* GroupAround(const QString& title, QWidget* shown, QWidget* area, PictureView* picture) {
    auto* group = new QGroupBox(title);
    picture->setParent(area);
    picture->move(0, 0);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(shown);
    return group;
}

}  // namespace

QGroupBox* PictureGroup(const QString& title, PictureView* picture, int width, int height) {
    auto* area = new QWidget;
    area->setFixedSize(width, height);
    QGroupBox* group = GroupAround(title, area, area, picture);
    static_cast<QVBoxLayout*>(group->layout())->addStretch();
    return group;
}

QGroupBox* GrowingPictureGroup(const QString& title, PictureView* picture, QSize least,
                               QColor background, std::function<void(QSize)> resized) {
    auto* area = new PictureArea(std::move(resized));
    area->setMinimumSize(least);
    area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, background);
    area->setPalette(palette);
    area->setAutoFillBackground(true);
    // Where the page has less room than `least`, the area scrolls inside the group rather
    // than widening the page; the picture keeps its size and its own coordinates.
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(area);
    return GroupAround(title, scroller, area, picture);
}

QVBoxLayout* TopColumn(QBoxLayout* row) {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    row->addWidget(column, 0, Qt::AlignTop);
    return layout;
}

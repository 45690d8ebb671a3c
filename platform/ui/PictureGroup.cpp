#include "platform/ui/PictureGroup.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "platform/ui/PictureView.h"

QGroupBox* PictureGroup(const QString& title, PictureView* picture, int width, int height) {
    auto* group = new QGroupBox(title);
    auto* area = new QWidget(group);
    area->setFixedSize(width, height);
    picture->setParent(area);
    picture->move(0, 0);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(area);
    layout->addStretch();
    return group;
}

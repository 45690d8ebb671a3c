#pragma once

#include <functional>

#include <QColor>
#include <QSize>
#include <QString>

class PictureView;
class QBoxLayout;
class QGroupBox;
class QVBoxLayout;

// A picture of a fixed area inside a titled group, as the map pages lay them out; the picture
// may be smaller than its area, and a larger one is cut to it.
QGroupBox* PictureGroup(const QString& title, PictureView* picture, int width, int height);

// The same with an area of at least `least` that takes the room the layout gives it, filled
// with `background` where the picture does not reach; `resized` hears of each new size.
// Given less room than `least`, the group shows part of the area with scroll bars.
QGroupBox* GrowingPictureGroup(const QString& title, PictureView* picture, QSize least,
                               QColor background, std::function<void(QSize)> resized);

// A column of controls added to `row`, kept at its own height at the row's top: a taller
// window lengthens a growing picture beside it, not the column's groups.
QVBoxLayout* TopColumn(QBoxLayout* row);

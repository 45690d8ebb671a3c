#pragma once

#include <QString>

class PictureView;
class QGroupBox;

// A picture of a fixed area inside a titled group, as the map pages lay them out; the picture
// may be smaller than its area, and a larger one is cut to it.
QGroupBox* PictureGroup(const QString& title, PictureView* picture, int width, int height);

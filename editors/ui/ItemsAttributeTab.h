#pragma once

#include <array>

#include <QWidget>

#include "editors/StatChangeTable.h"

class Prompts;
class QLineEdit;
class QPushButton;

// The "Attributes" sub-page of the "Items" page: the stat-change table as a grid of edits,
// one row per stat-change id. "Load" shows the table of the image and "Save" writes the grid
// back; Save stays off until Load has run for the current project.
class ItemsAttributeTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsAttributeTab(Prompts& prompts, QWidget* parent = nullptr);

    void OnLoad();
    void OnSave();
    // The project changed: the grid is emptied, and may not be saved into the new image
    // before it has been loaded from it.
    void ForgetLoad();

private:
    Prompts& prompts_;
    std::array<QLineEdit*, kStatChangeTableSize> edits_{};
    QPushButton* save_ = nullptr;
    bool loaded_ = false;
};

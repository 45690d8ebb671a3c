#pragma once

#include <QWidget>

class Prompts;
class QTreeWidget;

// The "Experience" page: the game's level table, one row per level. It only reads the image.
class ExpTab : public QWidget {
    Q_OBJECT
public:
    explicit ExpTab(Prompts& prompts, QWidget* parent = nullptr);

    // After File > New or File > Open: refills the list from the current project.
    void LoadTable();

private:
    Prompts& prompts_;
    QTreeWidget* list_ = nullptr;
};

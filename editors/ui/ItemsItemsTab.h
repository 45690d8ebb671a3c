#pragma once

#include <QWidget>

class QComboBox;
class QPlainTextEdit;

// The "Items" sub-page of the "Items" page: the item names, and the description of the chosen
// item. It only reads the image.
class ItemsItemsTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsItemsTab(QWidget* parent = nullptr);

    // Refills the names and shows item 0's description; false when the item tables lie outside
    // the image (the list is then empty).
    bool FillNames();
    void OnItemSelChange();

private:
    QComboBox* names_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

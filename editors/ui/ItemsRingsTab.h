#pragma once

#include <QWidget>

#include "editors/ui/ItemsPageParts.h"

class Prompts;
class QComboBox;
class QLineEdit;

// The "Rings" sub-page of the "Items" page: a ring's attack and elements, saved back in place.
class ItemsRingsTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsRingsTab(Prompts& prompts, QWidget* parent = nullptr);

    // Refills the names and shows ring 0; false when the ring tables lie outside the image
    // (the list is then empty).
    bool FillNames();
    void OnRingSelChange();
    void OnSave();

private:
    void ShowRecord(const RingRecord& record);
    void ClearRecord();

    Prompts& prompts_;
    QComboBox* names_ = nullptr;
    QLineEdit* attack_ = nullptr;
    ElementBoxes elements_{};
};

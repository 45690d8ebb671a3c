#pragma once

#include <array>

#include <QWidget>

#include "editors/ui/ItemsPageParts.h"

class Prompts;
class QComboBox;
class QLineEdit;

// The "Armor" sub-page of the "Items" page: an armour's defense, stat-change id, elemental
// resistances and status immunities, saved back in place.
class ItemsArmorTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsArmorTab(Prompts& prompts, QWidget* parent = nullptr);

    // Refills the names and shows armour 0; false when the armour tables lie outside the image
    // (the list is then empty).
    bool FillNames();
    void OnArmorSelChange();
    // Writes the record and shows what was stored.
    void OnSave();

private:
    void ShowRecord(const ArmorRecord& record);
    void ClearRecord();

    Prompts& prompts_;
    QComboBox* names_ = nullptr;
    QLineEdit* defense_ = nullptr;
    QLineEdit* statChangeId_ = nullptr;
    ElementBoxes immune_{};
    ElementBoxes resist75_{};
    ElementBoxes resist50_{};
    std::array<QCheckBox*, kStatusImmunityCount> status_{};
};

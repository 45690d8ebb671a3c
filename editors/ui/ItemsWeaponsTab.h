#pragma once

#include <QWidget>

#include "editors/ui/ItemsPageParts.h"

class Prompts;
class QComboBox;
class QLineEdit;

// The "Weapons" sub-page of the "Items" page: a weapon's attack, stat-change id, the byte
// shown as "Unknown:" and its elements, saved back in place.
class ItemsWeaponsTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsWeaponsTab(Prompts& prompts, QWidget* parent = nullptr);

    // Refills the names and shows weapon 0; false when the weapon tables lie outside the
    // image (the list is then empty).
    bool FillNames();
    void OnWeaponSelChange();
    void OnSave();

private:
    void ShowRecord(const WeaponRecord& record);
    void ClearRecord();

    Prompts& prompts_;
    QComboBox* names_ = nullptr;
    QLineEdit* attack_ = nullptr;
    QLineEdit* statChangeId_ = nullptr;
    QLineEdit* unknown_ = nullptr;
    ElementBoxes elements_{};
};

#include "editors/ui/ItemsWeaponsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ItemsWeaponsTab::ItemsWeaponsTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("ItemsWeaponsTab");
    auto* page = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    page->addLayout(left);
    names_ = AddNameRow(left);
    auto* values = new QGridLayout;
    left->addLayout(values);
    attack_ = AddNumberRow(values, "Attack:", "attack");
    statChangeId_ = AddNumberRow(values, "Stat change ID:", "statChangeId");
    unknown_ = AddNumberRow(values, "Unknown:", "unknown");
    left->addWidget(AddElementBoxes("Element:", "element", elements_));
    auto* save = new QPushButton("Save");
    save->setObjectName("save");
    left->addWidget(save, 0, Qt::AlignLeft);
    left->addStretch(1);
    page->addWidget(
        StatChangeCaptions({"32: +1 Defense", "33: +4 Luck", "34: +6 Luck", "35: +50 Health",
                            "36: +6 Luck", "37: +5 Defense", "38: +3 Strength, -3 Defense",
                            "39: +3 Defense, -5 Luck", "40: -14 Defense, +14 Luck",
                            "41: +7 Strength, -5 Defense", "42: -10 Strength, +20 Luck",
                            "43: -12 Strength, +9 Defense"}),
        0, Qt::AlignTop);
    page->addStretch(1);

    connect(names_, &QComboBox::activated, this, &ItemsWeaponsTab::OnWeaponSelChange);
    connect(save, &QPushButton::clicked, this, &ItemsWeaponsTab::OnSave);
}

bool ItemsWeaponsTab::FillNames() {
    const bool filled = FillRecordNames(names_, RegionTable::WeaponNamePointerTable, kWeaponCount,
                                        ReadWeaponRecord);
    OnWeaponSelChange();
    return filled;
}

void ItemsWeaponsTab::OnWeaponSelChange() {
    const auto record = ChosenRecordOf(names_, kWeaponCount, ReadWeaponRecord);
    if (record) {
        ShowRecord(*record);
    } else {
        ClearRecord();
    }
}

void ItemsWeaponsTab::OnSave() {
    FieldReader reader;
    const WeaponRecord record{NumberIn(reader, attack_, "Attack:", kMaxStrength),
                              NumberIn(reader, statChangeId_, "Stat change ID:", kMaxStatChangeId),
                              NumberIn(reader, unknown_, "Unknown:", kMaxWeaponUnknown),
                              CheckedElements(elements_)};
    // The page then shows what was stored, clamps included.
    if (SaveChosenRecord(names_, kWeaponCount, SaveWeaponRecord, record, reader, prompts_,
                         "The record of this weapon lies outside the ROM image.")) {
        OnWeaponSelChange();
    }
}

void ItemsWeaponsTab::ShowRecord(const WeaponRecord& record) {
    ShowNumber(attack_, record.attack);
    ShowNumber(statChangeId_, record.statChangeId);
    ShowNumber(unknown_, record.unknown);
    CheckElements(elements_, record.elements);
}

void ItemsWeaponsTab::ClearRecord() {
    for (QLineEdit* edit : {attack_, statChangeId_, unknown_}) {
        edit->clear();
    }
    CheckElements(elements_, {});
}

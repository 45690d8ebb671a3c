#include "editors/ui/ItemsRingsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

ItemsRingsTab::ItemsRingsTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("ItemsRingsTab");
    auto* page = new QVBoxLayout(this);
    names_ = AddNameRow(page);
    auto* values = new QGridLayout;
    page->addLayout(values);
    attack_ = AddNumberRow(values, "Attack:", "attack");
    attack_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), attack_));
    auto* elements = AddElementBoxes("Element:", "element", elements_);
    page->addWidget(elements, 0, Qt::AlignLeft);
    auto* save = new QPushButton("Save");
    save->setObjectName("save");
    page->addWidget(save, 0, Qt::AlignLeft);
    page->addStretch(1);

    connect(names_, &QComboBox::activated, this, &ItemsRingsTab::OnRingSelChange);
    connect(save, &QPushButton::clicked, this, &ItemsRingsTab::OnSave);
}

bool ItemsRingsTab::FillNames() {
    const bool filled =
        FillRecordNames(names_, RegionTable::RingNamePointerTable, kRingCount, ReadRingRecord);
    OnRingSelChange();
    return filled;
}

void ItemsRingsTab::OnRingSelChange() {
    const auto record = ChosenRecordOf(names_, kRingCount, ReadRingRecord);
    if (record) {
        ShowRecord(*record);
    } else {
        ClearRecord();
    }
}

void ItemsRingsTab::OnSave() {
    FieldReader reader;
    const RingRecord record{NumberIn(reader, attack_, "Attack:", kMaxRingAttack),
                            CheckedElements(elements_)};
    if (SaveChosenRecord(names_, kRingCount, SaveRingRecord, record, reader, prompts_,
                         "The record of this ring lies outside the ROM image.")) {
        OnRingSelChange();
    }
}

void ItemsRingsTab::ShowRecord(const RingRecord& record) {
    ShowNumber(attack_, record.attack);
    CheckElements(elements_, record.elements);
}

void ItemsRingsTab::ClearRecord() {
    attack_->clear();
    CheckElements(elements_, {});
}

#include "editors/ui/ItemsArmorTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Bits 5 to 15 of the status-immunity word.
constexpr std::array<const char*, kStatusImmunityCount> kStatusCaptions = {
    "Burn",  "Sleep",   "Paralyse", "Freeze",         "Defense down", "Strength down",
    "Charm", "Confuse", "Poision",  "Deadly poision", "Curse"};

}  // namespace

ItemsArmorTab::ItemsArmorTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("ItemsArmorTab");
    auto* page = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    page->addLayout(left);
    names_ = AddNameRow(left);
    auto* values = new QGridLayout;
    left->addLayout(values);
    defense_ = AddNumberRow(values, "Defense:", "defense");
    statChangeId_ = AddNumberRow(values, "Stat change ID:", "statChangeId");

    auto* resistance = new QGroupBox("Elemental Resistance:");
    auto* columns = new QHBoxLayout(resistance);
    columns->addWidget(AddElementBoxes("Immune:", "immune", immune_));
    columns->addWidget(AddElementBoxes("75% Resistance:", "resist75", resist75_));
    columns->addWidget(AddElementBoxes("50% Resistance:", "resist50", resist50_));
    // One column per level, the elements top to bottom.
    for (auto* column : resistance->findChildren<QGroupBox*>()) {
        auto* boxes = static_cast<QBoxLayout*>(column->layout());
        boxes->setDirection(QBoxLayout::TopToBottom);
    }
    left->addWidget(resistance);

    auto* statusGroup = new QGroupBox("Status Effect Immunities");
    auto* statusGrid = new QGridLayout(statusGroup);
    for (std::size_t s = 0; s < kStatusImmunityCount; ++s) {
        status_[s] = new QCheckBox(kStatusCaptions[s]);
        status_[s]->setObjectName(QString("status%1").arg(s));
        statusGrid->addWidget(status_[s], static_cast<int>(s % 6), static_cast<int>(s / 6));
    }
    left->addWidget(statusGroup);
    auto* save = new QPushButton("Save");
    save->setObjectName("save");
    left->addWidget(save, 0, Qt::AlignLeft);
    left->addStretch(1);
    page->addWidget(StatChangeCaptions({"44: +2 Luck", "45: +5 Luck", "46: +8 Strength",
                                        "47: +40 Health", "48: -10 Strengh, +15 Luck",
                                        "49: -90 Health, +13 Strength, -15 Defense",
                                        "50: +40 Health, -12 Strength, +11 Defense"}),
                    0, Qt::AlignTop);
    page->addStretch(1);

    connect(names_, &QComboBox::activated, this, &ItemsArmorTab::OnArmorSelChange);
    connect(save, &QPushButton::clicked, this, &ItemsArmorTab::OnSave);
}

bool ItemsArmorTab::FillNames() {
    const bool filled =
        FillRecordNames(names_, RegionTable::ArmorNamePointerTable, kArmorCount, ReadArmorRecord);
    OnArmorSelChange();
    return filled;
}

void ItemsArmorTab::OnArmorSelChange() {
    const auto record = ChosenRecordOf(names_, kArmorCount, ReadArmorRecord);
    if (record) {
        ShowRecord(*record);
    } else {
        ClearRecord();
    }
}

void ItemsArmorTab::OnSave() {
    FieldReader reader;
    ArmorRecord record;
    record.defense = NumberIn(reader, defense_, "Defense:", kMaxStrength);
    record.statChangeId = NumberIn(reader, statChangeId_, "Stat change ID:", kMaxStatChangeId);
    record.immune = CheckedElements(immune_);
    record.resist75 = CheckedElements(resist75_);
    record.resist50 = CheckedElements(resist50_);
    for (std::size_t s = 0; s < kStatusImmunityCount; ++s) {
        record.statusImmunities[s] = status_[s]->isChecked();
    }
    if (SaveChosenRecord(names_, kArmorCount, SaveArmorRecord, record, reader, prompts_,
                         "The record of this armour lies outside the ROM image.")) {
        OnArmorSelChange();
    }
}

void ItemsArmorTab::ShowRecord(const ArmorRecord& record) {
    ShowNumber(defense_, record.defense);
    ShowNumber(statChangeId_, record.statChangeId);
    CheckElements(immune_, record.immune);
    CheckElements(resist75_, record.resist75);
    CheckElements(resist50_, record.resist50);
    for (std::size_t s = 0; s < kStatusImmunityCount; ++s) {
        status_[s]->setChecked(record.statusImmunities[s]);
    }
}

void ItemsArmorTab::ClearRecord() {
    ShowRecord({});
    defense_->clear();
    statChangeId_->clear();
}

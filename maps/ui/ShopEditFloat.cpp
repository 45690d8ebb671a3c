#include "maps/ui/ShopEditFloat.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "maps/ui/FloatingEditorForm.h"
#include "project/ProjectContext.h"

ShopEditFloat::ShopEditFloat(Prompts& prompts, QWidget* owner) : QDialog(owner), prompts_(prompts) {
    MakeFloatingWindow(this, "ShopEditFloat", "Shop Edit");
    auto* shop = new QGroupBox("Shop:");
    auto* shopGrid = new QGridLayout(shop);
    mapId_ = AddField(shopGrid, 0, 0, "Map ID:", "mapId", true);
    shopId_ = AddField(shopGrid, 1, 0, "Shop ID:", "shopId", true);
    eventFlag_ = AddField(shopGrid, 2, 0, "Event Flag:", "eventFlag");
    posX_ = AddField(shopGrid, 3, 0, "Pos X:", "posX");
    posY_ = AddField(shopGrid, 4, 0, "Pos Y:", "posY");
    shopGrid->addWidget(new QLabel("Greeting:"), 5, 0);
    greeting_ = new QComboBox;
    greeting_->setObjectName("greeting");
    for (int i = 0; i < ShopEditModel::kGreetingCount; ++i) {
        greeting_->addItem(QString::number(i));
    }
    greeting_->setCurrentIndex(-1);
    shopGrid->addWidget(greeting_, 5, 1);

    auto* items = new QGroupBox("Items:");
    auto* itemGrid = new QGridLayout(items);
    itemGrid->addWidget(new QLabel("Slot ID:"), 0, 0);
    slots_ = new QComboBox;
    slots_->setObjectName("slots");
    itemGrid->addWidget(slots_, 0, 1);
    itemId_ = AddField(itemGrid, 1, 0, "Item ID:", "itemId");
    price_ = AddField(itemGrid, 2, 0, "Price:", "price");
    unique_ = new QCheckBox("Unique:");
    unique_->setObjectName("unique");
    unique_->setLayoutDirection(Qt::RightToLeft);
    itemGrid->addWidget(unique_, 3, 0, 1, 2, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    save_ = MakeButton("Save", "save", false);
    QPushButton* close = MakeButton("Close", "close");
    buttons->addWidget(save_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shop);
    layout->addWidget(items);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &ShopEditFloat::OnSave);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(slots_, &QComboBox::currentIndexChanged, this, &ShopEditFloat::OnSlotSelChange);
}

void ShopEditFloat::ReadControls() {
    model_.eventFlag = FieldOf(eventFlag_);
    model_.posX = FieldOf(posX_);
    model_.posY = FieldOf(posY_);
    model_.greetingIndex = greeting_->currentIndex();
    model_.slotIndex = slots_->currentIndex();
    model_.itemId = FieldOf(itemId_);
    model_.price = FieldOf(price_);
    model_.unique = unique_->isChecked();
}

void ShopEditFloat::WriteControls() {
    ShowField(mapId_, model_.mapId);
    ShowField(shopId_, model_.shopId);
    ShowField(eventFlag_, model_.eventFlag);
    ShowField(posX_, model_.posX);
    ShowField(posY_, model_.posY);
    greeting_->setCurrentIndex(model_.greetingIndex);
    ShowEntries(slots_, model_.slotEntries, model_.slotIndex);
    ShowField(itemId_, model_.itemId);
    ShowField(price_, model_.price);
    unique_->setChecked(model_.unique);
    save_->setEnabled(model_.SaveEnabled(currentProject));
}

void ShopEditFloat::FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row) {
    if (currentProject == nullptr) {
        return;
    }
    ReadControls();
    model_.Fill(*currentProject, mapId, column, row);
    WriteControls();
}

void ShopEditFloat::ProjectChanged() {
    // The record shown belongs to the previous project: nothing of it stays.
    model_ = ShopEditModel();
    WriteControls();
}

void ShopEditFloat::OnSave() {
    ReadControls();
    model_.Save(currentProject, prompts_);
    WriteControls();
}

void ShopEditFloat::OnSlotSelChange(int index) {
    ReadControls();
    if (index >= 0 && model_.SaveEnabled(currentProject)) {
        model_.ShowSlot(*currentProject, static_cast<std::uint32_t>(index));
    }
    WriteControls();
}

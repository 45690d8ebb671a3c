#include "maps/ui/ChestEditFloat.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "maps/ui/FloatingEditorForm.h"
#include "project/ProjectContext.h"

ChestEditFloat::ChestEditFloat(Prompts& prompts, QWidget* owner)
    : QDialog(owner), prompts_(prompts) {
    MakeFloatingWindow(this, "ChestEditFloat", "Chest Edit");
    auto* grid = new QGridLayout;
    posX_ = AddField(grid, 0, 0, "PosX:", "posX");
    posY_ = AddField(grid, 1, 0, "PosY:", "posY");
    item_ = AddField(grid, 2, 0, "Item:", "item");
    eventFlag_ = AddField(grid, 3, 0, "Event Flag:", "eventFlag", true);
    chestId_ = AddField(grid, 4, 0, "Chest ID:", "chestId", true);

    auto* buttons = new QHBoxLayout;
    save_ = MakeButton("Save", "save", false);
    save_->setDefault(true);
    QPushButton* close = MakeButton("Close", "close");
    // A chest list keeps its size: chests are neither added nor removed.
    for (QPushButton* button :
         {save_, close, MakeButton("Delete", "delete", false), MakeButton("Add", "add", false)}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &ChestEditFloat::OnSave);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void ChestEditFloat::ReadControls() {
    model_.posX = FieldOf(posX_);
    model_.posY = FieldOf(posY_);
    model_.item = FieldOf(item_);
}

void ChestEditFloat::WriteControls() {
    ShowField(posX_, model_.posX);
    ShowField(posY_, model_.posY);
    ShowField(item_, model_.item);
    ShowField(eventFlag_, model_.eventFlag);
    ShowField(chestId_, model_.chestId);
    save_->setEnabled(model_.SaveEnabled(currentProject));
}

void ChestEditFloat::FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row) {
    if (currentProject == nullptr) {
        return;
    }
    ReadControls();
    model_.Fill(*currentProject, mapId, column, row);
    WriteControls();
}

void ChestEditFloat::ProjectChanged() {
    // The record shown belongs to the previous project: nothing of it stays.
    model_ = ChestEditModel();
    WriteControls();
}

void ChestEditFloat::OnSave() {
    ReadControls();
    model_.Save(currentProject, prompts_);
    WriteControls();
}

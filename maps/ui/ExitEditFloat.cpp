#include "maps/ui/ExitEditFloat.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "maps/ui/FloatingEditorForm.h"
#include "project/ProjectContext.h"

ExitEditFloat::ExitEditFloat(Prompts& prompts, QWidget* owner) : QDialog(owner), prompts_(prompts) {
    MakeFloatingWindow(this, "ExitEditFloat", "Exit Editor");
    auto* grid = new QGridLayout;
    srcMapId_ = AddField(grid, 0, 0, "SrcMapID:", "srcMapId");
    dstMapId_ = AddField(grid, 0, 2, "DstMapID:", "dstMapId");
    destinations_ = new QComboBox;
    destinations_->setObjectName("destinations");
    destinations_->setEnabled(false);
    grid->addWidget(destinations_, 0, 4);
    posX_ = AddField(grid, 1, 0, "PosX:", "posX");
    event_ = AddField(grid, 1, 2, "Event:", "event");
    event_->setEnabled(false);
    posY_ = AddField(grid, 2, 0, "PosY:", "posY");
    flag_ = AddField(grid, 2, 2, "Flag:", "flag");
    flag_->setEnabled(false);
    sizeX_ = AddField(grid, 3, 0, "SizeX:", "sizeX");
    dstX_ = AddField(grid, 3, 2, "DstX:", "dstX");
    sizeY_ = AddField(grid, 4, 0, "SizeY:", "sizeY");
    dstY_ = AddField(grid, 4, 2, "DstY:", "dstY");
    transEffect_ = AddField(grid, 5, 0, "TransEffect:", "transEffect");
    direction_ = AddField(grid, 5, 2, "Direction:", "direction");
    offset_ = AddField(grid, 6, 0, "Offset:", "offset", true);

    auto* buttons = new QHBoxLayout;
    delete_ = MakeButton("Delete", "delete", false);
    add_ = MakeButton("Add", "add", false);
    save_ = MakeButton("Save", "save", false);
    save_->setDefault(true);
    QPushButton* close = MakeButton("Close", "close");
    for (QPushButton* button : {delete_, add_, save_, close}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &ExitEditFloat::OnSave);
    connect(delete_, &QPushButton::clicked, this, &ExitEditFloat::OnDelete);
    connect(add_, &QPushButton::clicked, this, &ExitEditFloat::OnAdd);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(destinations_, &QComboBox::currentIndexChanged, this, &ExitEditFloat::OnExitSelChange);
}

void ExitEditFloat::ReadControls() {
    model_.srcMapId = FieldOf(srcMapId_);
    model_.dstMapId = FieldOf(dstMapId_);
    model_.event = FieldOf(event_);
    model_.flag = FieldOf(flag_);
    model_.posX = FieldOf(posX_);
    model_.posY = FieldOf(posY_);
    model_.sizeX = FieldOf(sizeX_);
    model_.sizeY = FieldOf(sizeY_);
    model_.dstX = FieldOf(dstX_);
    model_.dstY = FieldOf(dstY_);
    model_.transEffect = FieldOf(transEffect_);
    model_.direction = FieldOf(direction_);
    model_.offset = FieldOf(offset_);
    model_.destinationIndex = destinations_->currentIndex();
}

void ExitEditFloat::WriteControls() {
    ShowField(srcMapId_, model_.srcMapId);
    ShowField(dstMapId_, model_.dstMapId);
    ShowField(event_, model_.event);
    ShowField(flag_, model_.flag);
    ShowField(posX_, model_.posX);
    ShowField(posY_, model_.posY);
    ShowField(sizeX_, model_.sizeX);
    ShowField(sizeY_, model_.sizeY);
    ShowField(dstX_, model_.dstX);
    ShowField(dstY_, model_.dstY);
    ShowField(transEffect_, model_.transEffect);
    ShowField(direction_, model_.direction);
    ShowField(offset_, model_.offset);
    ShowEntries(destinations_, model_.destinations, model_.destinationIndex);
    for (QWidget* w : std::initializer_list<QWidget*>{destinations_, event_, flag_}) {
        w->setEnabled(model_.destinationsEnabled);
    }
    const bool picked = model_.ActionsEnabled(currentProject);
    for (QPushButton* button : {save_, delete_, add_}) {
        button->setEnabled(picked);
    }
}

void ExitEditFloat::FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row,
                           std::uint32_t& exitIndex) {
    if (currentProject == nullptr) {
        return;
    }
    ReadControls();
    model_.Fill(*currentProject, mapId, column, row, exitIndex);
    WriteControls();
}

void ExitEditFloat::ProjectChanged() {
    // The record shown belongs to the previous project: nothing of it stays.
    model_ = ExitEditModel();
    WriteControls();
}

void ExitEditFloat::OnSave() {
    ReadControls();
    model_.Save(currentProject, prompts_);
    WriteControls();
}

void ExitEditFloat::OnDelete() {
    ReadControls();
    model_.Delete(currentProject, prompts_);
    WriteControls();
}

void ExitEditFloat::OnAdd() {
    ReadControls();
    model_.Add(currentProject, prompts_);
    WriteControls();
}

void ExitEditFloat::OnExitSelChange(int index) {
    ReadControls();
    model_.SelectDestination(currentProject, index);
    WriteControls();
}

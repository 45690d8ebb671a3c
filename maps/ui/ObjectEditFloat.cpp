#include "maps/ui/ObjectEditFloat.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "maps/ui/FloatingEditorForm.h"
#include "project/ProjectContext.h"

namespace {

// The boxes of "Interaction Flags:", for bits 15 down to 0 of the object's interaction word.
constexpr const char* kInteractionFlagNames[16] = {
    "Invisible",   "Offscreen",
    "Unknown",     "Unknown",
    "Unknown",     "Player",
    "Enemy",       "NPC",
    "Intractable", "Intractable, halt script",
    "Unknown",     "Not attacking",
    "Shielding",   "Interacts with map",
    "Projectile",  "Blockable by shield ",
};

}  // namespace

ObjectEditFloat::ObjectEditFloat(Prompts& prompts, QWidget* owner)
    : QDialog(owner), prompts_(prompts) {
    MakeFloatingWindow(this, "ObjectEditFloat", "Object/Trigger Edit");
    auto* grid = new QGridLayout;
    script_ = AddField(grid, 0, 0, "Script offset:", "script");
    spriteLayout_ = AddField(grid, 1, 0, "SpriteLayout:", "spriteLayout");
    posX_ = AddField(grid, 2, 0, "PosX:", "posX");
    posY_ = AddField(grid, 3, 0, "PosY:", "posY");
    flag_ = AddField(grid, 4, 0, "Flag:", "flag");

    // Shown for information; Save does not write them.
    auto* layoutData = new QGroupBox("Sprite Layout Data:");
    auto* layoutGrid = new QGridLayout(layoutData);
    animationId_ = AddField(layoutGrid, 0, 0, "Animation ID:", "animationId", true);
    enemyId_ = AddField(layoutGrid, 1, 0, "Enemy ID:", "enemyId", true);
    auto* flags = new QGroupBox("Interaction Flags:");
    auto* flagGrid = new QGridLayout(flags);
    for (int i = 0; i < 16; ++i) {
        auto* box = new QCheckBox(kInteractionFlagNames[i]);
        box->setObjectName(QString("interactionFlag%1").arg(i));
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        flagGrid->addWidget(box, i / 2, i % 2);
        interactionFlags_[static_cast<std::size_t>(i)] = box;
    }

    auto* buttons = new QHBoxLayout;
    save_ = MakeButton("Save", "save", false);
    save_->setDefault(true);
    add_ = MakeButton("Add", "add", false);
    QPushButton* close = MakeButton("Close", "close");
    for (QPushButton* button : {save_, MakeButton("Delete", "delete", false), add_, close}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(layoutData);
    layout->addWidget(flags);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &ObjectEditFloat::OnSave);
    connect(add_, &QPushButton::clicked, this, &ObjectEditFloat::OnAdd);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void ObjectEditFloat::ReadControls() {
    model_.script = FieldOf(script_);
    model_.spriteLayout = FieldOf(spriteLayout_);
    model_.posX = FieldOf(posX_);
    model_.posY = FieldOf(posY_);
    model_.flag = FieldOf(flag_);
}

void ObjectEditFloat::WriteControls() {
    ShowField(script_, model_.script);
    ShowField(spriteLayout_, model_.spriteLayout);
    ShowField(posX_, model_.posX);
    ShowField(posY_, model_.posY);
    ShowField(flag_, model_.flag);
    ShowField(animationId_, model_.animationId);
    ShowField(enemyId_, model_.enemyId);
    spriteLayout_->setEnabled(model_.spriteLayoutEnabled);
    enemyId_->setEnabled(model_.enemyIdEnabled);
    for (std::size_t i = 0; i < interactionFlags_.size(); ++i) {
        interactionFlags_[i]->setChecked((model_.interactionFlags >> (15 - i) & 1) != 0);
    }
    save_->setEnabled(model_.SaveEnabled(currentProject));
    add_->setEnabled(model_.AddEnabled(currentProject));
}

void ObjectEditFloat::FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row) {
    if (currentProject == nullptr) {
        return;
    }
    ReadControls();
    model_.Fill(*currentProject, mapId, column, row);
    WriteControls();
}

void ObjectEditFloat::ProjectChanged() {
    // The record shown belongs to the previous project: nothing of it stays.
    model_ = ObjectEditModel();
    WriteControls();
}

void ObjectEditFloat::OnSave() {
    ReadControls();
    model_.Save(currentProject, prompts_);
    WriteControls();
}

void ObjectEditFloat::OnAdd() {
    ReadControls();
    model_.Add(currentProject, prompts_);
    WriteControls();
}

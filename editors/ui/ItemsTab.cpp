#include "editors/ui/ItemsTab.h"

#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editors/ui/ItemsArmorTab.h"
#include "editors/ui/ItemsAttributeTab.h"
#include "editors/ui/ItemsItemsTab.h"
#include "editors/ui/ItemsRingsTab.h"
#include "editors/ui/ItemsWeaponsTab.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"

ItemsTab::ItemsTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("ItemsTab");
    tabs_ = new QTabWidget;
    tabs_->setObjectName("itemsTabs");
    armor_ = new ItemsArmorTab(prompts_);
    weapons_ = new ItemsWeaponsTab(prompts_);
    items_ = new ItemsItemsTab;
    rings_ = new ItemsRingsTab(prompts_);
    attributes_ = new ItemsAttributeTab(prompts_);
    tabs_->addTab(items_, "Items");
    tabs_->addTab(armor_, "Armor");
    tabs_->addTab(weapons_, "Weapons");
    tabs_->addTab(rings_, "Rings");
    tabs_->addTab(attributes_, "Attributes");
    tabs_->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

void ItemsTab::RefreshAll() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return;
    }
    QStringList outside;
    if (!armor_->FillNames()) {
        outside << "Armor";
    }
    if (!weapons_->FillNames()) {
        outside << "Weapons";
    }
    if (!rings_->FillNames()) {
        outside << "Rings";
    }
    if (!items_->FillNames()) {
        outside << "Items";
    }
    attributes_->ForgetLoad();
    if (!outside.isEmpty()) {
        prompts_.ShowMessage("These lists stay empty, their tables lie outside the ROM image: " +
                                 outside.join(", ").toStdString() + ".",
                             "Error");
    }
}

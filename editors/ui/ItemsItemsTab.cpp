#include "editors/ui/ItemsItemsTab.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editors/ItemTexts.h"
#include "editors/ui/ItemsPageParts.h"
#include "project/ProjectContext.h"

ItemsItemsTab::ItemsItemsTab(QWidget* parent) : QWidget(parent) {
    setObjectName("ItemsItemsTab");
    auto* page = new QVBoxLayout(this);
    names_ = AddNameRow(page);
    auto* stats = new QGroupBox("Stats:");
    auto* column = new QVBoxLayout(stats);
    column->addWidget(new QLabel("Description:"));
    description_ = new QPlainTextEdit;
    description_->setObjectName("description");
    description_->setReadOnly(true);
    description_->setMaximumSize(420, 120);
    column->addWidget(description_);
    page->addWidget(stats, 0, Qt::AlignLeft);
    page->addStretch(1);

    connect(names_, &QComboBox::activated, this, &ItemsItemsTab::OnItemSelChange);
}

bool ItemsItemsTab::FillNames() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return true;
    }
    const bool filled = FillNameList(
        names_,
        ItemTextTableInImage(*currentProject, RegionTable::ItemDescriptionPointerTable, kItemCount)
            ? ReadItemTexts(*currentProject, RegionTable::ItemNamePointerTable, kItemCount)
            : std::nullopt);
    if (filled) {
        OnItemSelChange();
    } else {
        description_->clear();
    }
    return filled;
}

void ItemsItemsTab::OnItemSelChange() {
    const int item = ChosenRecord(names_, kItemCount);
    if (item < 0) {
        return;
    }
    const auto description = ReadItemText(*currentProject, RegionTable::ItemDescriptionPointerTable,
                                          kItemCount, static_cast<std::uint32_t>(item));
    description_->setPlainText(QString::fromStdString(description.value_or(std::string())));
}

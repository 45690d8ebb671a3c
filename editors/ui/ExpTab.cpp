#include "editors/ui/ExpTab.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/LevelRecord.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"

ExpTab::ExpTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("ExpTab");
    list_ = new QTreeWidget;
    list_->setObjectName("list");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    // "Luck" stands before "Defense" on screen, the reverse of the record.
    list_->setHeaderLabels({"Level", "Experience", "Health", "Strength", "Luck", "Defense"});
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < list_->columnCount(); ++column) {
        list_->setColumnWidth(column, 110);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
}

void ExpTab::LoadTable() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        prompts_.ShowMessage("Please load a ROM first", "Error");
        return;
    }
    list_->clear();
    const auto levels = ReadLevelTable(*currentProject);
    if (!levels) {
        return;
    }
    for (std::uint32_t i = 0; i < kLevelCount; ++i) {
        const LevelRecord& level = (*levels)[i];
        list_->addTopLevelItem(new QTreeWidgetItem(
            QStringList{QString::number(i + 1), QString::number(level.experience, 16),
                        QString::number(level.health), QString::number(level.strength),
                        QString::number(level.luck), QString::number(level.defense)}));
    }
}

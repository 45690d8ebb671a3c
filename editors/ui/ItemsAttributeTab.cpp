#include "editors/ui/ItemsAttributeTab.h"

#include <string>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Prompts.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"

namespace {

constexpr const char* kOutsideMessage = "The stat-change table lies outside the ROM image.";
constexpr const char* kColumns[kStatChangeColumnCount] = {"Health", "Strength", "Defense", "Luck"};

}  // namespace

ItemsAttributeTab::ItemsAttributeTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("ItemsAttributeTab");
    auto* page = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(kStatChangeColumnCount + 1, 1);
    page->addLayout(grid);
    for (std::uint32_t column = 0; column < kStatChangeColumnCount; ++column) {
        grid->addWidget(new QLabel(kColumns[column]), 0, static_cast<int>(column) + 1);
    }
    for (std::uint32_t row = 0; row < kStatChangeRowCount; ++row) {
        grid->addWidget(new QLabel(QString::number(kFirstStatChangeId + row)),
                        static_cast<int>(row) + 1, 0);
    }
    for (std::uint32_t i = 0; i < kStatChangeTableSize; ++i) {
        edits_[i] = new QLineEdit;
        edits_[i]->setObjectName(QString("change%1").arg(i));
        edits_[i]->setMaximumWidth(70);
        grid->addWidget(edits_[i], static_cast<int>(i / kStatChangeColumnCount) + 1,
                        static_cast<int>(i % kStatChangeColumnCount) + 1);
    }
    auto* buttons = new QHBoxLayout;
    auto* load = new QPushButton("Load");
    load->setObjectName("load");
    load->setDefault(true);
    save_ = new QPushButton("Save");
    save_->setObjectName("save");
    save_->setEnabled(false);
    buttons->addWidget(load);
    buttons->addWidget(save_);
    buttons->addStretch(1);
    page->addLayout(buttons);
    page->addStretch(1);

    connect(load, &QPushButton::clicked, this, &ItemsAttributeTab::OnLoad);
    connect(save_, &QPushButton::clicked, this, &ItemsAttributeTab::OnSave);
}

void ItemsAttributeTab::OnLoad() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return;
    }
    const auto table = ReadStatChangeTable(*currentProject);
    if (!table) {
        prompts_.ShowMessage(kOutsideMessage, "Error");
        return;
    }
    for (std::uint32_t i = 0; i < kStatChangeTableSize; ++i) {
        edits_[i]->setText(QString::fromStdString(StatChangeText((*table)[i])));
    }
    loaded_ = true;
    save_->setEnabled(true);
}

void ItemsAttributeTab::OnSave() {
    if (!loaded_ || currentProject == nullptr || !currentProject->HasImage()) {
        return;
    }
    // Each edit shows a signed byte, so that is what it takes.
    FieldReader reader;
    StatChangeBytes table;
    for (std::uint32_t i = 0; i < kStatChangeTableSize; ++i) {
        const std::string field = std::to_string(kFirstStatChangeId + i / kStatChangeColumnCount) +
                                  " " + kColumns[i % kStatChangeColumnCount] + ":";
        table[i] = static_cast<std::uint8_t>(
            reader.Read(edits_[i]->text().toStdString(), field, -128, 127));
    }
    if (!reader.Ok()) {
        prompts_.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    if (!WriteStatChangeTable(*currentProject, table)) {
        prompts_.ShowMessage(kOutsideMessage, "Error");
        return;
    }
    OnLoad();
}

void ItemsAttributeTab::ForgetLoad() {
    for (QLineEdit* edit : edits_) {
        edit->clear();
    }
    loaded_ = false;
    save_->setEnabled(false);
}

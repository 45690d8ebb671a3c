#include "editors/ui/SpritePlaceEditorTab.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "project/ProjectContext.h"

namespace {

QLineEdit* Edit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QPushButton* Button(const char* caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SpritePlaceEditorTab::SpritePlaceEditorTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("SpritePlaceEditorTab");
    QFont font("Lucida Console");
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    BuildControls();
    for (std::uint8_t code : kSpritePlacementTypeCodes) {
        type_->addItem(QString::asprintf("0x%02X", code));
    }
    WriteControls();
}

SpritePlaceEditorTab::~SpritePlaceEditorTab() = default;

void SpritePlaceEditorTab::BuildControls() {
    tree_ = new QTreeWidget;
    tree_->setObjectName("entries");
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    mapId_ = Edit("mapId");
    load_ = Button("Load", "load");
    headWord_ = Edit("flags");
    headWord_->setReadOnly(true);
    name_ = Edit("name");
    name_->setReadOnly(true);
    type_ = new QComboBox;
    type_->setObjectName("type");
    x_ = Edit("x");
    y_ = Edit("y");
    flag_ = Edit("flag");
    script_ = Edit("scriptOffset");
    sprite_ = Edit("spriteOffset");
    for (std::size_t i = 0; i < extraFF_.size(); ++i) {
        extraFF_[i] = Edit(QString("extraFF%1").arg(i));
    }
    for (std::size_t i = 0; i < extraC0_.size(); ++i) {
        extraC0_[i] = Edit(QString("extraC0%1").arg(i));
    }
    add_ = Button("Add", "add");
    save_ = Button("Save", "save");

    auto* page = new QHBoxLayout(this);
    page->addWidget(tree_, 1);
    auto* controls = new QVBoxLayout;
    page->addLayout(controls);

    auto* idRow = new QHBoxLayout;
    idRow->addWidget(new QLabel("Map ID:"));
    idRow->addWidget(mapId_);
    idRow->addWidget(load_);
    controls->addLayout(idRow);

    auto* mapGroup = new QGroupBox("Map:");
    auto* mapLayout = new QFormLayout(mapGroup);
    mapLayout->addRow("Flags:", headWord_);
    mapLayout->addRow("Name:", name_);
    controls->addWidget(mapGroup);

    auto* entryGroup = new QGroupBox("Entry:");
    auto* entryLayout = new QFormLayout(entryGroup);
    entryLayout->addRow("Type:", type_);
    entryLayout->addRow("X:", x_);
    entryLayout->addRow("Y:", y_);
    entryLayout->addRow("Flag:", flag_);
    entryLayout->addRow("Script Offset:", script_);
    entryLayout->addRow("Sprite Offset:", sprite_);
    controls->addWidget(entryGroup);

    extra_ = new QGroupBox("Type 0x01 Extra:");
    auto* extraLayout = new QHBoxLayout(extra_);
    auto* ffGroup = new QGroupBox("Flag: 0xFF");
    auto* ffLayout = new QVBoxLayout(ffGroup);
    for (QLineEdit* edit : extraFF_) {
        ffLayout->addWidget(edit);
    }
    auto* c0Group = new QGroupBox("Flag: 0xC0");
    auto* c0Layout = new QVBoxLayout(c0Group);
    for (QLineEdit* edit : extraC0_) {
        c0Layout->addWidget(edit);
    }
    c0Layout->addStretch(1);
    extraLayout->addWidget(ffGroup);
    extraLayout->addWidget(c0Group);
    controls->addWidget(extra_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(save_);
    controls->addLayout(buttons);
    controls->addStretch(1);

    connect(load_, &QPushButton::clicked, this, &SpritePlaceEditorTab::OnLoad);
    connect(mapId_, &QLineEdit::returnPressed, this, &SpritePlaceEditorTab::OnLoad);
    connect(type_, &QComboBox::activated, this, &SpritePlaceEditorTab::OnTypeSelChange);
    connect(add_, &QPushButton::clicked, this, &SpritePlaceEditorTab::OnAdd);
    connect(save_, &QPushButton::clicked, this, &SpritePlaceEditorTab::OnSave);
}

void SpritePlaceEditorTab::Exchange(const std::function<void()>& handler) {
    ReadControls();
    handler();
    WriteControls();
}

void SpritePlaceEditorTab::ReadControls() {
    model_.mapIdText = mapId_->text().toStdString();
    model_.typeLine = type_->currentIndex();
    SpritePlacementFields& f = model_.fields;
    f.x = x_->text().toStdString();
    f.y = y_->text().toStdString();
    f.flag = flag_->text().toStdString();
    f.script = script_->text().toStdString();
    f.sprite = sprite_->text().toStdString();
    for (std::size_t i = 0; i < extraFF_.size(); ++i) {
        f.extraFF[i] = extraFF_[i]->text().toStdString();
    }
    for (std::size_t i = 0; i < extraC0_.size(); ++i) {
        f.extraC0[i] = extraC0_[i]->text().toStdString();
    }
}

void SpritePlaceEditorTab::WriteControls() {
    mapId_->setText(QString::fromStdString(model_.mapIdText));
    headWord_->setText(QString::fromStdString(model_.headWordText));
    name_->setText(QString::fromStdString(model_.nameText));
    type_->setCurrentIndex(model_.typeLine);
    const SpritePlacementFieldUse& use = model_.fieldsEnabled;
    x_->setEnabled(use.x);
    y_->setEnabled(use.y);
    flag_->setEnabled(use.flag);
    script_->setEnabled(use.script);
    sprite_->setEnabled(use.sprite);
    extra_->setEnabled(use.extra);
    add_->setEnabled(SpritePlacePageModel::AddEnabled(currentProject));

    // The tree shows the lines of the last "Load"; each item keeps its entry's index.
    bool same = tree_->topLevelItemCount() == static_cast<int>(model_.treeLines.size());
    for (int i = 0; same && i < tree_->topLevelItemCount(); ++i) {
        same = tree_->topLevelItem(i)->text(0).toStdString() == model_.treeLines[i];
    }
    if (!same) {
        tree_->clear();
        QList<QTreeWidgetItem*> items;
        for (std::size_t k = 0; k < model_.treeLines.size(); ++k) {
            auto* item = new QTreeWidgetItem({QString::fromStdString(model_.treeLines[k])});
            item->setData(0, Qt::UserRole, static_cast<int>(k));
            items.append(item);
        }
        tree_->addTopLevelItems(items);
    }
}

void SpritePlaceEditorTab::Reset() {
    model_.Clear();
    WriteControls();
}

void SpritePlaceEditorTab::OnLoad() {
    Exchange([&] { model_.Load(currentProject, prompts_); });
}

void SpritePlaceEditorTab::OnTypeSelChange() {
    Exchange([&] { model_.TypeSelChange(); });
}

void SpritePlaceEditorTab::OnAdd() {
    Exchange([&] { model_.Add(currentProject, prompts_); });
}

void SpritePlaceEditorTab::OnSave() {
    Exchange([&] { model_.Save(currentProject, prompts_); });
}

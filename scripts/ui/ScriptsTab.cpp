#include "scripts/ui/ScriptsTab.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "maps/MapHeaderTable.h"
#include "platform/Prompts.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"
#include "scripts/MapListings.h"
#include "scripts/ScriptDisassembler.h"

namespace {

void AddItems(QTreeWidgetItem* parent, const ScriptTreeNode& node) {
    for (const ScriptTreeNode& child : node.children) {
        auto* item = new QTreeWidgetItem(parent, QStringList{QString::fromStdString(child.text)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        AddItems(item, child);
    }
}

// Text that is no map id (letters, nothing, a minus) reads as an id beyond every table, so the
// range check refuses it instead of listing map 0.
std::uint32_t ParsedId(const QLineEdit* edit) {
    return ReadMapId(edit->text().toStdString(), 0xFFFFFFFF).value_or(0xFFFFFFFF);
}

}  // namespace

ScriptsTab::ScriptsTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("ScriptsTab");
    BuildControls();
}

QWidget* ScriptsTab::UpDown(const char* name, void (ScriptsTab::*handler)(int)) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, suffix, delta] :
         {std::tuple{Qt::UpArrow, "Up", -1}, std::tuple{Qt::DownArrow, "Down", 1}}) {
        auto* button = new QToolButton;
        button->setObjectName(QString(name) + suffix);
        button->setArrowType(arrow);
        button->setFixedSize(18, 12);
        connect(button, &QToolButton::clicked, this,
                [this, handler, delta] { (this->*handler)(delta); });
        layout->addWidget(button);
    }
    return box;
}

void ScriptsTab::BuildControls() {
    tree_ = new QTreeWidget;
    tree_->setObjectName("tree");
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    QFont font("Lucida Console", 9);
    font.setStyleHint(QFont::Monospace);
    tree_->setFont(font);

    const auto loadButton = [this](const char* name, void (ScriptsTab::*handler)()) {
        auto* button = new QPushButton("Load");
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };

    auto* scriptGroup = new QGroupBox("Script Offset:");
    scriptOffset_ = new QLineEdit("0x84A129");
    scriptOffset_->setObjectName("scriptOffset");
    header_ = new QCheckBox("Header");
    header_->setObjectName("header");
    mFlag_ = new QCheckBox("m flag");
    mFlag_->setObjectName("mFlag");
    auto* scriptLayout = new QGridLayout(scriptGroup);
    scriptLayout->addWidget(scriptOffset_, 0, 0, 1, 2);
    scriptLayout->addWidget(header_, 1, 0);
    scriptLayout->addWidget(mFlag_, 1, 1);
    scriptLayout->addWidget(loadButton("loadScript", &ScriptsTab::OnLoadScript), 2, 1);

    const auto idGroup = [&](const char* caption, QLineEdit*& edit, const char* editName,
                             const char* spinName, void (ScriptsTab::*spin)(int),
                             const char* buttonName, void (ScriptsTab::*load)()) {
        auto* group = new QGroupBox(caption);
        edit = new QLineEdit;
        edit->setObjectName(editName);
        auto* layout = new QHBoxLayout(group);
        layout->addWidget(edit);
        layout->addWidget(UpDown(spinName, spin));
        layout->addWidget(loadButton(buttonName, load));
        return group;
    };

    auto* side = new QVBoxLayout;
    side->addWidget(scriptGroup);
    side->addWidget(idGroup("Map ID:", mapIdText_, "mapId", "mapIdSpin", &ScriptsTab::OnMapIdSpin,
                            "loadMapScripts", &ScriptsTab::OnLoadMapScripts));
    side->addWidget(idGroup("Sprite placement (Map ID):", spritePlacementText_,
                            "spritePlacementMapId", "spritePlacementSpin",
                            &ScriptsTab::OnSpritePlacementSpin, "loadSpritePlacement",
                            &ScriptsTab::OnLoadSpritePlacement));
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(side);
}

void ScriptsTab::Reset() {
    tree_->clear();
    mapId_ = 0;
    spritePlacementMapId_ = 0;
}

void ScriptsTab::Exchange(const std::function<void()>& handler) {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        prompts_.ShowMessage("Please load ROM first", "Error");
        return;
    }
    handler();
}

void ScriptsTab::ShowListing(const ScriptTreeNode& top) {
    tree_->clear();
    AddItems(tree_->invisibleRootItem(), top);
}

// Header scripts: as many ids as the release's header table has; object lists: 1104.
std::uint32_t ScriptsTab::MapIdCount(bool headerScripts) const {
    return headerScripts ? MapHeaderEntryCount(*currentProject) : kListedMapIds;
}

bool ScriptsTab::AcceptMapId(std::uint32_t mapId, bool headerScripts) {
    const std::uint32_t count = MapIdCount(headerScripts);
    if (mapId < count) {
        return true;
    }
    prompts_.ShowMessage(
        headerScripts ? MapIdRangeText(*currentProject) : MapIdRangeMessage(count - 1), "Error");
    return false;
}

std::uint32_t ScriptsTab::Step(std::uint32_t id, int delta, std::uint32_t count) {
    if (delta <= 0) {
        return id + 1 < count ? id + 1 : id;
    }
    return id > 0 ? id - 1 : 0;
}

void ScriptsTab::OnLoadScript() {
    Exchange([this] {
        FieldReader field;
        const auto offset = static_cast<std::uint32_t>(
            field.Read(scriptOffset_->text().toStdString(), "Script Offset:", 0, 0xFFFFFF,
                       NumberBase::Hexadecimal));
        if (!field.Ok()) {
            prompts_.ShowMessage(field.Error(), "Error");
            return;
        }
        ScriptReader reader(*currentProject);
        ScriptTreeNode top;
        DisassembleScript(
            reader, top, offset,
            {.root = true, .header = header_->isChecked(), .mFlag = mFlag_->isChecked()});
        ShowListing(top);
    });
}

void ScriptsTab::OnLoadMapScripts() {
    Exchange([this] {
        const std::uint32_t id = ParsedId(mapIdText_);
        if (AcceptMapId(id, true)) {
            mapId_ = id;
            ListMapScripts();
        }
    });
}

void ScriptsTab::ListMapScripts() {
    ScriptTreeNode top;
    ListHeaderScript(*currentProject, top, mapId_);
    ShowListing(top);
}

void ScriptsTab::OnLoadSpritePlacement() {
    Exchange([this] {
        const std::uint32_t id = ParsedId(spritePlacementText_);
        if (!AcceptMapId(id, false)) {
            return;
        }
        spritePlacementMapId_ = id;
        ScriptTreeNode top;
        ListSpritePlacement(*currentProject, top, spritePlacementMapId_);
        ShowListing(top);
    });
}

void ScriptsTab::OnMapIdSpin(int delta) {
    Exchange([this, delta] {
        mapId_ = Step(mapId_, delta, MapIdCount(true));
        mapIdText_->setText(QString("0x%1").arg(mapId_, 0, 16));
        ListMapScripts();
    });
}

void ScriptsTab::OnSpritePlacementSpin(int delta) {
    Exchange([this, delta] {
        spritePlacementMapId_ = Step(spritePlacementMapId_, delta, MapIdCount(false));
        spritePlacementText_->setText(QString("0x%1").arg(spritePlacementMapId_, 0, 16));
        OnLoadSpritePlacement();
    });
}

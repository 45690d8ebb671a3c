#include "editors/ui/EnemiesTab.h"

#include <algorithm>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/EnemyLabels.h"
#include "platform/Prompts.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"
#include "scripts/EnemyNameTable.h"

namespace {

constexpr char kOutsideMessage[] = "The record of this enemy lies outside the ROM image.";

struct GroupLayout {
    const char* caption;
    const char* name;
    const char* flagCaption;
    bool flagFirst;
    std::array<const char*, kLevelKindCount> kinds;
    const std::array<std::string, kLevelLabelCount>* labels;
};

constexpr std::array<const char*, kLevelKindCount> kElements = {"Light", "Earth", "Thunder", "Ice",
                                                                "Fire"};
constexpr std::array<const char*, kLevelKindCount> kElementCaptions = {
    "Light:", "Earth:", "Thunder:", "Ice:", "Fire:"};
constexpr std::array<const char*, kLevelKindCount> kPhysicalCaptions = {
    "Quick:", "Slicer:", "Slider:", "Spinner:", "Rushing:"};

// The four level groups in record order.
const std::array<GroupLayout, kLevelGroupCount> kGroups = {{
    {"Elemental resistance:", "elementalResistance", "Unused?", false, kElementCaptions,
     &ElementalResistanceLevels},
    {"Physical resistance:", "physicalResistance", "Unknown", true, kPhysicalCaptions,
     &PhysicalResistanceLevels},
    {"Elemental weakness:", "elementalWeakness", "Unused?", false, kElementCaptions,
     &WeaknessLevels},
    {"Physical weakness:", "physicalWeakness", "Unknown", true, kPhysicalCaptions, &WeaknessLevels},
}};

struct TextLayout {
    const char* caption;
    const char* name;
};

constexpr TextLayout kTexts[] = {
    {"Level:", "level"},
    {"Health:", "health"},
    {"XP:", "experience"},
    {"Gems:", "gems"},
    {"Chance(%):", "chance"},
    {"Attack:", "attack"},
    {"Luck:", "luck"},
    {"Defense:", "defense"},
    {"Effective Defense:", "effectiveDefense"},
    {"Attack 2:", "attack2"},
    {"Luck:", "luck2"},
    {"Unknown:", "unknown"},
    {"Effective Attack:", "effectiveAttack"},
};

}  // namespace

EnemiesTab::EnemiesTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("EnemiesTab");
    BuildControls();
}

void EnemiesTab::BuildControls() {
    auto* page = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    page->addLayout(left);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(new QLabel("ID:"));
    enemies_ = new QComboBox;
    enemies_->setObjectName("enemies");
    enemies_->setMinimumWidth(240);
    idRow->addWidget(enemies_, 1);
    index_ = new QLineEdit;
    index_->setObjectName("index");
    index_->setEnabled(false);
    index_->setMaximumWidth(50);
    idRow->addWidget(index_);
    left->addLayout(idRow);

    auto* groups = new QGridLayout;
    left->addLayout(groups);
    // Resistances on the left, weaknesses on the right; elemental above physical.
    constexpr std::array<std::array<int, 2>, kLevelGroupCount> kCells = {
        {{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        const GroupLayout& layout = kGroups[group];
        auto* box = new QGroupBox(layout.caption);
        auto* grid = new QGridLayout(box);
        auto* flag = new QCheckBox(layout.flagCaption);
        flag->setObjectName(QString(layout.name) + "Flag");
        groupFlags_[group] = flag;
        const int firstRow = layout.flagFirst ? 1 : 0;
        grid->addWidget(flag, layout.flagFirst ? 0 : static_cast<int>(kLevelKindCount), 0, 1, 2);
        for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
            auto* combo = new QComboBox;
            combo->setObjectName(QString(layout.name) + QString::number(kind));
            levels_[group][kind] = combo;
            grid->addWidget(new QLabel(layout.kinds[kind]), firstRow + static_cast<int>(kind), 0);
            grid->addWidget(combo, firstRow + static_cast<int>(kind), 1);
        }
        groups->addWidget(box, kCells[group][0], kCells[group][1]);
    }
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    page->addLayout(right);
    auto* values = new QGridLayout;
    right->addLayout(values);
    for (int text = 0; text < kTextCount; ++text) {
        auto* edit = new QLineEdit;
        edit->setObjectName(kTexts[text].name);
        edit->setMaximumWidth(90);
        texts_[text] = edit;
        values->addWidget(new QLabel(kTexts[text].caption), text, 0);
        values->addWidget(edit, text, 1);
    }
    texts_[kEffectiveDefense]->setReadOnly(true);
    texts_[kEffectiveAttack]->setReadOnly(true);
    effect_ = new QComboBox;
    effect_->setObjectName("attack2Effect");
    values->addWidget(new QLabel("Attack 2 Effect:"), kTextCount, 0);
    values->addWidget(effect_, kTextCount, 1);

    auto* elementBox = new QGroupBox("Attack 2 element:");
    auto* elementLayout = new QHBoxLayout(elementBox);
    for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
        elements_[kind] = new QCheckBox(kElements[kind]);
        elements_[kind]->setObjectName(QString("attack2") + kElements[kind]);
        elementLayout->addWidget(elements_[kind]);
    }
    right->addWidget(elementBox);
    save_ = new QPushButton("Save");
    save_->setObjectName("save");
    right->addWidget(save_, 0, Qt::AlignLeft);
    right->addStretch(1);
    page->addStretch(1);

    connect(enemies_, &QComboBox::activated, this, &EnemiesTab::OnEnemySelChange);
    connect(save_, &QPushButton::clicked, this, &EnemiesTab::OnSave);
}

int EnemiesTab::ChosenEnemy() const {
    const int e = enemies_->currentIndex();
    if (currentProject == nullptr || !currentProject->HasImage() || e < 0 ||
        e >= static_cast<int>(kEnemyCount)) {
        return -1;
    }
    return e;
}

void EnemiesTab::Populate() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return;
    }
    effect_->clear();
    enemies_->clear();
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        for (QComboBox* combo : levels_[group]) {
            combo->clear();
            for (const std::string& label : *kGroups[group].labels) {
                combo->addItem(QString::fromStdString(label));
            }
        }
    }
    for (std::uint32_t e = 0; e < kEnemyCount; ++e) {
        enemies_->addItem(QString::fromStdString(EnemyListName(e)));
    }
    enemies_->setCurrentIndex(0);
    for (std::uint32_t effect = 0; effect < kStatusEffectNameCount; ++effect) {
        effect_->addItem(QString::fromStdString(StatusEffectNameTable[effect]), effect);
    }
    effect_->setCurrentIndex(0);
    OnEnemySelChange();
}

void EnemiesTab::OnEnemySelChange() {
    const int e = ChosenEnemy();
    if (e < 0) {
        return;
    }
    index_->setText(QString::number(e));
    const auto bytes = ReadEnemyRecord(*currentProject, static_cast<std::uint32_t>(e));
    if (bytes) {
        WriteRecord(UnpackEnemyRecord(*bytes));
    } else {
        ClearRecord();
    }
}

void EnemiesTab::OnSave() {
    const int e = ChosenEnemy();
    if (e < 0) {
        return;
    }
    if (!ReadEnemyRecord(*currentProject, static_cast<std::uint32_t>(e))) {
        prompts_.ShowMessage(kOutsideMessage, "Error");
        return;
    }
    FieldReader reader;
    EnemyRecord record = ReadRecord(reader);
    if (!reader.Ok()) {
        prompts_.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    if (!SaveEnemyRecord(*currentProject, static_cast<std::uint32_t>(e), record)) {
        prompts_.ShowMessage(kOutsideMessage, "Error");
        return;
    }
    // The page shows what was stored, clamps and effective values included.
    OnEnemySelChange();
}

void EnemiesTab::SetNumber(Text text, std::uint32_t value) {
    texts_[text]->setText(QString::number(value));
}

std::uint32_t EnemiesTab::Number(FieldReader& reader, Text text, std::uint32_t maximum,
                                 bool clamped) const {
    const std::string typed = texts_[text]->text().toStdString();
    // Two edits are captioned "Luck:"; the second is told by the attack it stands beside.
    const std::string field = text == kLuck2 ? "Luck: (Attack 2)" : kTexts[text].caption;
    if (clamped) {
        return reader.ReadUnclamped(typed, field, maximum, FieldReader::Negative::Refused);
    }
    return static_cast<std::uint32_t>(reader.Read(typed, field, 0, maximum));
}

EnemyRecord EnemiesTab::ReadRecord(FieldReader& reader) const {
    EnemyRecord record;
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
            // No selection counts as the first entry.
            record.levels[group][kind] =
                static_cast<std::uint32_t>(std::max(levels_[group][kind]->currentIndex(), 0));
        }
        record.groupFlags[group] = groupFlags_[group]->isChecked();
    }
    // Experience, gems and the chance clamp larger numbers; every other field refuses them.
    record.level = Number(reader, kLevel, 0xFF);
    record.health = Number(reader, kHealth, 0xFFFF);
    record.experience = Number(reader, kExperience, kEnemyMaxCount, true);
    record.gems = Number(reader, kGems, kEnemyMaxCount, true);
    record.chance = Number(reader, kChance, 100, true);
    record.attack = Number(reader, kAttack, 0xFFFF);
    record.luck = Number(reader, kLuck, 0xFF);
    record.defense = Number(reader, kDefense, 0xFFFF);
    record.attack2 = Number(reader, kAttack2, 0x07FF);
    record.luck2 = Number(reader, kLuck2, 0xFF);
    record.unknown = Number(reader, kUnknown, 0xFF);
    record.effect = effect_->currentIndex() < 0 ? 0 : effect_->currentData().toUInt();
    for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
        record.attack2Elements[kind] = elements_[kind]->isChecked();
    }
    return record;
}

void EnemiesTab::WriteRecord(const EnemyRecord& record) {
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
            levels_[group][kind]->setCurrentIndex(static_cast<int>(record.levels[group][kind]));
        }
        groupFlags_[group]->setChecked(record.groupFlags[group]);
    }
    SetNumber(kLevel, record.level);
    SetNumber(kHealth, record.health);
    SetNumber(kExperience, record.experience);
    SetNumber(kGems, record.gems);
    SetNumber(kChance, record.chance);
    SetNumber(kAttack, record.attack);
    SetNumber(kLuck, record.luck);
    SetNumber(kDefense, record.defense);
    SetNumber(kEffectiveDefense, EffectiveDefense(record));
    SetNumber(kAttack2, record.attack2);
    SetNumber(kLuck2, record.luck2);
    SetNumber(kUnknown, record.unknown);
    SetNumber(kEffectiveAttack, EffectiveAttack(record));
    // An effect number without a name gets an entry of its own while it is shown.
    while (effect_->count() > static_cast<int>(kStatusEffectNameCount)) {
        effect_->removeItem(effect_->count() - 1);
    }
    if (record.effect >= kStatusEffectNameCount) {
        effect_->addItem(QString::fromStdString(StatusEffectLabel(record.effect)), record.effect);
    }
    effect_->setCurrentIndex(effect_->findData(record.effect));
    for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
        elements_[kind]->setChecked(record.attack2Elements[kind]);
    }
}

void EnemiesTab::ClearRecord() {
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        for (QComboBox* combo : levels_[group]) {
            combo->setCurrentIndex(-1);
        }
        groupFlags_[group]->setChecked(false);
    }
    for (QLineEdit* edit : texts_) {
        edit->clear();
    }
    effect_->setCurrentIndex(-1);
    for (QCheckBox* box : elements_) {
        box->setChecked(false);
    }
}

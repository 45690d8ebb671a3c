#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

#include "editors/EnemyRecord.h"

class FieldReader;
class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The "Enemies" page: choose an enemy by name, see its record with the derived effective
// values, change it and save it back in place.
class EnemiesTab : public QWidget {
    Q_OBJECT
public:
    explicit EnemiesTab(Prompts& prompts, QWidget* parent = nullptr);

    // After File > New or File > Open: fills every list and shows enemy 0.
    void Populate();
    // Shows the record of the enemy chosen in the "ID:" list.
    void OnEnemySelChange();
    // Writes the shown values into the chosen enemy's record.
    void OnSave();

private:
    // The edits of the page, in the order of the fields they show.
    enum Text {
        kLevel,
        kHealth,
        kExperience,
        kGems,
        kChance,
        kAttack,
        kLuck,
        kDefense,
        kEffectiveDefense,
        kAttack2,
        kLuck2,
        kUnknown,
        kEffectiveAttack,
        kTextCount
    };

    void BuildControls();
    // The chosen enemy while a project image exists, else -1.
    int ChosenEnemy() const;
    // The typed record; a refused field is kept in `reader`.
    EnemyRecord ReadRecord(FieldReader& reader) const;
    void WriteRecord(const EnemyRecord& record);
    // A record that cannot be found shows nothing.
    void ClearRecord();
    void SetNumber(Text text, std::uint32_t value);
    // The number of an edit whose field holds 0 to `maximum`; a `clamped` field takes larger
    // numbers too and gives them as typed, for the record stores a new one as `maximum` and
    // keeps a stored one above it that was left as shown.
    std::uint32_t Number(FieldReader& reader, Text text, std::uint32_t maximum,
                         bool clamped = false) const;

    Prompts& prompts_;
    QComboBox* enemies_ = nullptr;
    QLineEdit* index_ = nullptr;
    std::array<std::array<QComboBox*, kLevelKindCount>, kLevelGroupCount> levels_{};
    std::array<QCheckBox*, kLevelGroupCount> groupFlags_{};
    std::array<QLineEdit*, kTextCount> texts_{};
    std::array<QCheckBox*, kLevelKindCount> elements_{};
    QComboBox* effect_ = nullptr;
    QPushButton* save_ = nullptr;
};

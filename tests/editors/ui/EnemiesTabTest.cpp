#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "editors/EnemyRecord.h"
#include "editors/ui/EnemiesTab.h"
#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"

namespace {

// Enemy 0: health 0x1234, XP 1234, 250 gems at 50 %, attack 100, defense 120, effect "Poison",
// Light resistance "-75% Damage", Fire as the second attack's element.
EnemyRecordBytes FirstEnemy(std::uint8_t level) {
    return {0x00, 0x0A, 0,   0, 0,   0, 0, 0,    level, 0x34, 0x12, 0x34, 0x0C,
            0x50, 0x12, 100, 0, 120, 0, 0, 0x00, 0x10,  0,    0x80, 0};
}

// An effect without a name, XP 1611 and gems 1615 (above 1599) in digits that are not decimal,
// level bits without presence bits and bits that no control shows.
constexpr EnemyRecordBytes kFifthEnemy = {0x03, 0x00, 0xFF, 0xFF, 0x0A, 0x54, 0x00, 0x04, 0x07,
                                          0x00, 0x01, 0xAB, 0x3F, 0xAF, 0x9F, 0x00, 0x00, 0x00,
                                          0x00, 0x00, 0x01, 0x70, 0x00, 0x07, 0x00};

SyntheticImage EnemyImage(std::uint8_t firstLevel) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    image.PutEnemyRecord(0, 0x8000, FirstEnemy(firstLevel));
    image.PutEnemyRecord(5, 0x8100, kFifthEnemy);
    return image;
}

class EnemiesTabPage : public PageWindow {
protected:
    QLineEdit* Edit(const char* name) { return NamedChild<QLineEdit>(*page, name); }
    QComboBox* Combo(const char* name) { return NamedChild<QComboBox>(*page, name); }
    QCheckBox* Box(const char* name) { return NamedChild<QCheckBox>(*page, name); }
    void Choose(int enemy) {
        Combo("enemies")->setCurrentIndex(enemy);
        emit Combo("enemies")->activated(enemy);
    }
    void Save() { NamedChild<QAbstractButton>(*page, "save")->click(); }

    EnemiesTab* page = window.EnemiesPage();
};

}  // namespace

TEST_F(EnemiesTabPage, NewShowsEnemyZeroAndASecondNewShowsTheNewImage) {
    NewProject(EnemyImage(20));
    ASSERT_EQ(Combo("enemies")->count(), 99);
    QStringList texts;
    for (const char* name : {"index", "level", "health", "experience", "gems", "chance", "attack",
                             "defense", "effectiveDefense", "effectiveAttack"}) {
        texts << Edit(name)->text();
    }
    EXPECT_EQ(texts,
              (QStringList{"0", "20", "4660", "1234", "250", "50", "100", "120", "310", "337"}));
    EXPECT_EQ(Combo("attack2Effect")->currentText(), "Poison");
    EXPECT_EQ(Combo("elementalResistance0")->currentText(), "-75% Damage");
    EXPECT_TRUE(Box("attack2Fire")->isChecked());

    Choose(5);
    NewProject(EnemyImage(40));
    EXPECT_EQ(Combo("enemies")->count(), 99);
    EXPECT_EQ(Combo("attack2Effect")->count(), 14);
    EXPECT_EQ(Combo("elementalWeakness4")->count(), 4);
    EXPECT_EQ(Edit("effectiveDefense")->text(), "510");
}

TEST_F(EnemiesTabPage, ChooseEditSaveWritesTheRecordAndShowsTheClamp) {
    NewProject(EnemyImage(20));
    Choose(5);
    EXPECT_EQ(Combo("attack2Effect")->currentText(), "Unknown (14)");
    EXPECT_EQ(Edit("gems")->text(), "1615");
    EXPECT_EQ(Combo("elementalResistance4")->currentText(), "Normal");
    Save();
    EXPECT_EQ(ReadEnemyRecord(*currentProject, 5), kFifthEnemy);

    Edit("experience")->setText("2000");
    Edit("level")->setText("0x10");
    Edit("luck2")->setText("7");
    Combo("physicalResistance4")->setCurrentIndex(2);
    Combo("attack2Effect")->setCurrentIndex(11);  // "Burn"
    Box("attack2Ice")->setChecked(true);
    Box("physicalWeaknessFlag")->setChecked(false);
    Save();
    EXPECT_EQ(Edit("experience")->text(), "1599");
    EXPECT_EQ(Edit("level")->text(), "16");
    EnemyRecordBytes expected = kFifthEnemy;
    expected[2] = 0xFE;  // Rushing: presence and first level bit, no second
    expected[7] = 0x00;
    expected[8] = 0x10;
    expected[11] = 0x99;
    expected[12] = 0x0F;
    expected[21] = 0x58;
    expected[23] = 0x47;
    expected[24] = 7;
    EXPECT_EQ(ReadEnemyRecord(*currentProject, 5), expected);
    EXPECT_TRUE(prompts.messages.empty());

    Choose(0);
    Choose(5);
    EXPECT_EQ(Combo("attack2Effect")->count(), 14);
    EXPECT_EQ(Combo("attack2Effect")->currentText(), "Burn");
    EXPECT_EQ(Combo("physicalResistance4")->currentText(), "-75%  Damage");
}

TEST_F(EnemiesTabPage, EveryNumberFieldRefusesWhatItCannotStoreAndSaveShowsTheRecord) {
    NewProject(EnemyImage(20));
    const std::vector<std::uint8_t> image = currentProject->romImage;
    struct Case {
        const char* edit;
        const char* text;
        const char* refusal;  // a clamping field says that it clamps
    };
    for (const Case& c :
         {Case{"level", "256", "Level: must be a number from 0 to 255"},
          {"health", "abc", "Health: must be a number"},
          {"experience", "-1",
           "XP: must be a whole number from 0; values above 1599 are stored as 1599. \"-1\" is "
           "not one."},
          {"gems", "", "Gems: must be a whole number from 0; values above 1599"},
          {"attack2", "2048", "Attack 2: must be a number"},
          {"luck2", "x", "Luck: (Attack 2) must be a number"}}) {
        const QString shown = Edit(c.edit)->text();
        Edit(c.edit)->setText(c.text);
        Save();
        EXPECT_EQ(prompts.LastMessage().rfind(c.refusal, 0), 0u)
            << c.edit << ": " << prompts.LastMessage();
        EXPECT_EQ(currentProject->romImage, image) << c.edit;
        Edit(c.edit)->setText(shown);
    }

    Edit("gems")->setText("99999");
    Edit("chance")->setText("7");
    Edit("attack")->setText("0x10");
    Save();
    QStringList texts;
    for (const char* name : {"gems", "chance", "attack", "effectiveAttack"}) {
        texts << Edit(name)->text();
    }
    EXPECT_EQ(texts, (QStringList{"1599", "12", "16", "54"}));
}

TEST_F(EnemiesTabPage, ARecordOutsideTheImageShowsNothingAndIsNotSaved) {
    NewProject(EnemyImage(20));
    currentProject->SetTable(RegionTable::EnemyDataBank, currentProject->romSize - 0x10);
    Choose(0);
    EXPECT_EQ(Edit("index")->text(), "0");
    EXPECT_EQ(Edit("effectiveAttack")->text(), "");
    EXPECT_EQ(Combo("elementalResistance0")->currentIndex(), -1);
    EXPECT_FALSE(Box("attack2Fire")->isChecked());

    const std::vector<std::uint8_t> before = currentProject->romImage;
    Edit("level")->setText("3");
    Save();
    EXPECT_EQ(currentProject->romImage, before);
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"The record of this enemy lies outside the ROM image."});
}

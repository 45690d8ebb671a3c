#include <string>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "editors/ui/ItemsAttributeTab.h"
#include "editors/ui/ItemsTab.h"
#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"

namespace {

using Region = SyntheticImage::Region;

// Names and descriptions carry a tag, so that the lists of two images tell apart. Items 1 to
// 10 share their name pointers with the rings in the release's tables.
SyntheticImage ItemsImage(const std::string& tag, std::uint32_t size = SyntheticImage::k4MB,
                          Region region = Region::German) {
    SyntheticImage image(size, region);
    const auto text = [&](RegionTable table, std::uint32_t index, std::uint16_t pointer,
                          const std::string& name) {
        image.PutItemText(table, index, pointer, SyntheticImage::WesternText(tag + name));
    };
    // Every other pointer is 0 and names an empty text.
    image.PutBytes(image.Wrap(image.Table(RegionTable::ItemTextBank)),
                   SyntheticImage::WesternText(""));
    text(RegionTable::ItemNamePointerTable, 0, 0x100, "Sword");
    text(RegionTable::ItemDescriptionPointerTable, 0, 0x120, "A plain blade");
    text(RegionTable::ItemDescriptionPointerTable, 195, 0x140, "Last words");
    text(RegionTable::ArmorNamePointerTable, 0, 0x160, "Cloth");
    text(RegionTable::WeaponNamePointerTable, 0, 0x180, "Stick");
    text(RegionTable::RingNamePointerTable, 9, 0x1A0, "Last Ring");

    const auto record = [&](RegionTable table, std::uint32_t index,
                            std::array<std::uint8_t, 4> bytes) {
        image.PutBytes(image.Table(table) + 4 * index, bytes);
    };
    record(RegionTable::ArmorDataTable, 0, {0x2A, 0x00, 0x00, 0x00});
    // Light's 75% bit without its presence bit, bit 10, status bits 0-4 set.
    record(RegionTable::ArmorDataTable, 3, {0x05, 0x0C, 0x00, 0x06});
    image.Put16(image.Table(RegionTable::ArmorStatusImmunityTable) + 2 * 3, 0x003F);
    record(RegionTable::WeaponDataTable, 2, {0x10, 0x00, 0x07, 0x0F});
    record(RegionTable::RingDataTable, 9, {0x2C, 0x01, 0xAB, 0x47});  // attack 300: above 255
    return image;
}

class ItemsTabPage : public PageWindow {
protected:
    QWidget* Page(const char* name) { return NamedChild<QWidget>(*window.ItemsPage(), name); }
    QComboBox* Names(const char* page) { return NamedChild<QComboBox>(*Page(page), "names"); }
    QLineEdit* Edit(const char* page, const char* name) {
        return NamedChild<QLineEdit>(*Page(page), name);
    }
    QCheckBox* Box(const char* page, const char* name) {
        return NamedChild<QCheckBox>(*Page(page), name);
    }
    QString Description() {
        return NamedChild<QPlainTextEdit>(*Page("ItemsItemsTab"), "description")->toPlainText();
    }
    void Choose(const char* page, int index) {
        Names(page)->setCurrentIndex(index);
        emit Names(page)->activated(index);
    }
    void Click(const char* page, const char* button) {
        NamedChild<QAbstractButton>(*Page(page), button)->click();
    }
    std::uint32_t Table(RegionTable table) { return currentProject->Table(table); }
};

}  // namespace

TEST_F(ItemsTabPage, NewShowsItemZeroAndEverySecondNewRefillsTheLists) {
    NewProject(ItemsImage("A "));
    auto* tabs = NamedChild<QTabWidget>(*window.ItemsPage(), "itemsTabs");
    EXPECT_EQ(tabs->currentWidget(), Page("ItemsItemsTab"));
    for (const char* hidden : {"ItemsArmorTab", "ItemsWeaponsTab", "ItemsRingsTab"}) {
        EXPECT_FALSE(Page(hidden)->isVisibleTo(tabs)) << hidden;
    }
    EXPECT_EQ(Names("ItemsItemsTab")->currentText(), "A Sword");
    EXPECT_EQ(Description(), "A A plain blade");
    Choose("ItemsItemsTab", 195);
    EXPECT_EQ(Description(), "A Last words");
    EXPECT_EQ(Names("ItemsWeaponsTab")->currentText(), "A Stick");
    EXPECT_EQ(Names("ItemsRingsTab")->itemText(9), "A Last Ring");
    EXPECT_EQ(Edit("ItemsAttributeTab", "change0")->text(), "");

    Choose("ItemsArmorTab", 3);
    NewProject(ItemsImage("B "));
    const std::pair<const char*, int> counts[] = {{"ItemsItemsTab", 196},
                                                  {"ItemsArmorTab", 32},
                                                  {"ItemsWeaponsTab", 32},
                                                  {"ItemsRingsTab", 10}};
    for (const auto& [page, count] : counts) {
        EXPECT_EQ(Names(page)->count(), count) << page;
        EXPECT_EQ(Names(page)->currentIndex(), 0) << page;
    }
    EXPECT_EQ(Names("ItemsItemsTab")->itemText(1), "");
    EXPECT_EQ(Description(), "B A plain blade");
    EXPECT_EQ(Names("ItemsArmorTab")->currentText(), "B Cloth");
    EXPECT_EQ(Edit("ItemsArmorTab", "defense")->text(), "42");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ItemsTabPage, TablesOutsideTheImageLeaveTheirListsEmptyAndSaySoOnce) {
    NewProject(ItemsImage("A "));
    NewProject(SyntheticImage(SyntheticImage::k1MB, Region::German));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"These lists stay empty, their tables lie "
                                                         "outside the ROM image: Armor, Weapons, "
                                                         "Rings, Items."});
    for (const char* page :
         {"ItemsItemsTab", "ItemsArmorTab", "ItemsWeaponsTab", "ItemsRingsTab"}) {
        EXPECT_EQ(Names(page)->count(), 0) << page;
    }
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(Edit("ItemsArmorTab", "defense")->text(), "");
    EXPECT_EQ(Edit("ItemsWeaponsTab", "attack")->text(), "");
    EXPECT_EQ(Edit("ItemsRingsTab", "attack")->text(), "");
    const std::vector<std::uint8_t> before = currentProject->romImage;
    Click("ItemsArmorTab", "save");
    Click("ItemsWeaponsTab", "save");
    Click("ItemsRingsTab", "save");
    EXPECT_EQ(currentProject->romImage, before);

    // The one release of 1 MB keeps its tables inside (its texts are Japanese).
    NewProject(ItemsImage("M ", SyntheticImage::k1MB, Region::ReleaseM));
    EXPECT_EQ(Names("ItemsRingsTab")->count(), 10);
    EXPECT_EQ(Names("ItemsItemsTab")->count(), 196);
    EXPECT_NE(Description(), "");
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(ItemsTabPage, EachEditorSavesExactlyItsOwnBytes) {
    NewProject(ItemsImage(""));
    std::vector<std::uint8_t> expected = currentProject->romImage;
    // Unchanged records keep every bit, also those no control shows.
    for (const auto& [page, index] :
         {std::pair{"ItemsArmorTab", 3}, {"ItemsWeaponsTab", 2}, {"ItemsRingsTab", 9}}) {
        Choose(page, index);
        Click(page, "save");
        ASSERT_EQ(currentProject->romImage, expected) << page;
    }

    Choose("ItemsArmorTab", 3);
    Edit("ItemsArmorTab", "defense")->setText("5000");
    Edit("ItemsArmorTab", "statChangeId")->setText("-1");
    Box("ItemsArmorTab", "resist50Earth")->setChecked(true);
    Box("ItemsArmorTab", "immuneThunder")->setChecked(true);
    Box("ItemsArmorTab", "status0")->setChecked(false);
    Click("ItemsArmorTab", "save");
    const std::uint32_t armor = Table(RegionTable::ArmorDataTable) + 4 * 3;
    expected[armor] = 0xFF;
    expected[armor + 1] = 0xFF;
    expected[armor + 2] = 0x40;
    expected[armor + 3] = 0x36;
    expected[Table(RegionTable::ArmorStatusImmunityTable) + 2 * 3] = 0x1F;
    EXPECT_EQ(currentProject->romImage, expected);
    EXPECT_EQ(Edit("ItemsArmorTab", "defense")->text(), "1023");
    EXPECT_EQ(Edit("ItemsArmorTab", "statChangeId")->text(), "63");
    EXPECT_FALSE(Box("ItemsArmorTab", "immuneEarth")->isChecked());
    EXPECT_TRUE(Box("ItemsArmorTab", "immuneThunder")->isChecked());

    Choose("ItemsWeaponsTab", 2);
    Edit("ItemsWeaponsTab", "attack")->setText("700");
    Edit("ItemsWeaponsTab", "statChangeId")->setText("0x3F");
    Edit("ItemsWeaponsTab", "unknown")->setText("300");
    Box("ItemsWeaponsTab", "elementIce")->setChecked(true);
    Click("ItemsWeaponsTab", "save");
    std::uint32_t weapon = Table(RegionTable::WeaponDataTable) + 4 * 2;
    for (const std::uint8_t b : {0xBC, 0xFE, 0xFF, 0x4F}) {
        expected[weapon++] = b;
    }
    EXPECT_EQ(currentProject->romImage, expected);

    Choose("ItemsRingsTab", 9);
    Edit("ItemsRingsTab", "attack")->setText("301");
    Box("ItemsRingsTab", "elementFire")->setChecked(true);
    Click("ItemsRingsTab", "save");
    const std::uint32_t ring = Table(RegionTable::RingDataTable) + 4 * 9;
    expected[ring] = 0xFF;
    expected[ring + 1] = 0x00;
    expected[ring + 3] = 0xC7;
    EXPECT_EQ(currentProject->romImage, expected);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ItemsTabPage, StatChangesSaveOnlyAfterALoadOfTheSameProject) {
    NewProject(ItemsImage(""));
    auto* page = static_cast<ItemsAttributeTab*>(Page("ItemsAttributeTab"));
    const std::uint32_t table = Table(RegionTable::StatChangeTable);
    currentProject->Write8(table + 1, 0xFB);
    std::vector<std::uint8_t> expected = currentProject->romImage;
    page->OnSave();
    EXPECT_EQ(currentProject->romImage, expected);

    EXPECT_EQ(page->findChildren<QLineEdit*>().size(),
              qsizetype{kStatChangeTableSize});  // one box each
    // A caption over each of the four columns of boxes, and the ids 32 to 50 before the rows.
    const auto* grid = page->findChild<QGridLayout*>();
    const auto labelAt = [grid](int row, int column) {
        const QLayoutItem* item = grid->itemAtPosition(row, column);
        const auto* label = item != nullptr ? qobject_cast<QLabel*>(item->widget()) : nullptr;
        return label != nullptr ? label->text() : "";
    };
    QStringList captions;
    for (int column = 1; column <= 4; ++column) {
        captions << labelAt(0, column);
    }
    EXPECT_EQ(captions, (QStringList{"Health", "Strength", "Defense", "Luck"}));
    const int rows = static_cast<int>(kStatChangeRowCount);
    EXPECT_EQ(labelAt(1, 0) + labelAt(rows, 0) + labelAt(rows + 1, 0), "3250");
    Click("ItemsAttributeTab", "load");
    EXPECT_EQ(Edit("ItemsAttributeTab", "change1")->text(), "-5");
    EXPECT_EQ(Edit("ItemsAttributeTab", "change75")->text(), "0");
    Edit("ItemsAttributeTab", "change0")->setText("-128");
    Edit("ItemsAttributeTab", "change75")->setText("0x7F");
    Click("ItemsAttributeTab", "save");
    expected[table] = 0x80;
    expected[table + 75] = 0x7F;
    EXPECT_EQ(currentProject->romImage, expected);
    EXPECT_EQ(Edit("ItemsAttributeTab", "change75")->text(), "127");

    // The grid shows nothing of the first image's table; the new image keeps its own.
    NewProject(ItemsImage(""));
    expected = currentProject->romImage;
    EXPECT_EQ(Edit("ItemsAttributeTab", "change0")->text(), "");
    EXPECT_FALSE(NamedChild<QAbstractButton>(*page, "save")->isEnabled());
    page->OnSave();
    EXPECT_EQ(currentProject->romImage, expected);
    Click("ItemsAttributeTab", "load");
    EXPECT_EQ(Edit("ItemsAttributeTab", "change0")->text(), "0");

    // The table must end inside the image.
    currentProject->SetTable(RegionTable::StatChangeTable, currentProject->romSize - 76);
    Click("ItemsAttributeTab", "load");
    currentProject->SetTable(RegionTable::StatChangeTable, currentProject->romSize - 75);
    Click("ItemsAttributeTab", "load");
    page->OnSave();
    EXPECT_EQ(currentProject->romImage, expected);
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"The stat-change table lies outside the ROM image.",
                                        "The stat-change table lies outside the ROM image."}));
}

TEST_F(ItemsTabPage, EveryNumberFieldRefusesTextAndSaveShowsWhatWasStored) {
    NewProject(ItemsImage(""));
    Click("ItemsAttributeTab", "load");
    const std::vector<std::uint8_t> image = currentProject->romImage;
    struct Case {
        const char* page;
        const char* edit;
        const char* text;
        const char* refusal;  // a clamping field says that it clamps
    };
    for (const Case& c :
         {Case{"ItemsArmorTab", "defense", "abc",
               "Defense: must be a whole number; values above 1023, and negative ones, are "
               "stored as 1023. \"abc\" is not one."},
          {"ItemsWeaponsTab", "attack", "1.5", "Attack: must be a whole number; values above 1023"},
          {"ItemsRingsTab", "attack", "", "Attack: must be a whole number; values above 255,"},
          {"ItemsAttributeTab", "change5", "128",
           "33 Strength: must be a number from -128 to 127"}}) {
        const QString shown = Edit(c.page, c.edit)->text();
        Edit(c.page, c.edit)->setText(c.text);
        Click(c.page, "save");
        EXPECT_EQ(prompts.LastMessage().rfind(c.refusal, 0), 0u)
            << c.edit << ": " << prompts.LastMessage();
        EXPECT_EQ(currentProject->romImage, image) << c.page << " " << c.edit;
        Edit(c.page, c.edit)->setText(shown);
    }

    // Values above a field's top are clamped, and the page shows the stored value.
    Edit("ItemsWeaponsTab", "attack")->setText("-1");
    Edit("ItemsWeaponsTab", "statChangeId")->setText("0x3F");
    Edit("ItemsWeaponsTab", "unknown")->setText("999");
    Click("ItemsWeaponsTab", "save");
    Edit("ItemsRingsTab", "attack")->setText("300");
    Click("ItemsRingsTab", "save");
    QStringList shown;
    for (const auto& [page, edit] : {std::pair{"ItemsWeaponsTab", "attack"},
                                     {"ItemsWeaponsTab", "statChangeId"},
                                     {"ItemsWeaponsTab", "unknown"},
                                     {"ItemsRingsTab", "attack"}}) {
        shown << Edit(page, edit)->text();
    }
    EXPECT_EQ(shown, (QStringList{"1023", "63", "255", "255"}));
}

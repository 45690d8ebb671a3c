#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <array>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "maps/ObjectEditModel.h"
#include "maps/ShopList.h"
#include "maps/ui/ChestEditFloat.h"
#include "maps/ui/ExitEditFloat.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/ObjectEditFloat.h"
#include "maps/ui/ShopEditFloat.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/ui/PictureView.h"
#include "project/ChestRecord.h"
#include "project/ProjectContext.h"
#include "tests/editors/ui/PageWindow.h"
#include "tests/maps/WorldMapProject.h"
#include "tests/maps/ui/MapPageFixture.h"
#include "tests/support/NamedChild.h"
#include "tests/support/TestPointer.h"

namespace {

class FloatingEditorWindows : public PageWindow {
protected:
    static constexpr const char* kActions[] = {"toolsExitEditor", "toolsChestEditor",
                                               "toolsObjectEditor", "toolsShopEditor"};
    // The open editors, in the order of kActions.
    std::array<QWidget*, 4> Editors() {
        return {window.ExitEditor(), window.ChestEditor(), window.ObjectEditor(),
                window.ShopEditor()};
    }
    void OpenAllEditors() {
        for (const char* action : kActions) {
            window.Action(action)->trigger();
        }
    }
    static QString Field(QWidget* editor, const char* name) {
        return NamedChild<QLineEdit>(*editor, name)->text();
    }
    static bool Enabled(QWidget* editor, const char* name) {
        return NamedChild<QWidget>(*editor, name)->isEnabled();
    }
    // Opens the four editors and fills them from map 0x0A's cell (4, 2), where an exit, a
    // chest, a shopkeeper with two items and an object stand.
    MapTab* FillAllFromTheMapsPage() {
        MapPageProject data;
        using Bank = SyntheticImage::ObjectBank;
        data.image.PutObjectList(
            MapPageProject::kMapId, Bank::A, 0x9000,
            ObjectListBytes().Head(0x0200).Object(1, 4, 3, 0x80, 0x0C8000, 0x0C9000).End());
        data.image.PutBytes(0x0C8000, std::vector<std::uint8_t>{0, 0x01, 0x80});  // interaction
        data.image.PutBytes(0x0C9000, std::vector<std::uint8_t>{0, 0, 0, 0x04, 0x2A});  // enemy
        data.image.PutChestList(MapPageProject::kMapId, 0x4000,
                                std::vector<ChestRecord>{{0, 4, 2, 0, 0, 0x8005, 0x0301}});
        data.image.PutShops(
            std::vector<ShopRecord>{{0, MapPageProject::kMapId, 0, 0xD000, 3, 1, 4}});
        data.image.PutShopItems(0xD000,
                                std::vector<ShopItem>{{0, 7, 0x0150, 0}, {0, 8, 0x12AB, 0}});
        NewProject(data.image);
        OpenAllEditors();
        MapTab* page = window.MapsPage();
        NamedChild<QLineEdit>(*page, "mapId")->setText("0x0A");
        NamedChild<QAbstractButton>(*page, "load")->click();
        auto* view = NamedChild<PictureView>(*page, "mapView");
        pointer.Press(view, {4 * 16 + 3, 2 * 16 + 9}, Qt::RightButton);  // the eyedropper only
        EXPECT_FALSE(Enabled(window.ExitEditor(), "save"));
        pointer.Press(view, {4 * 16 + 3, 2 * 16 + 9}, Qt::RightButton, Qt::ControlModifier);
        return page;
    }
    static void Type(QWidget* editor, const char* name, const char* text) {
        NamedChild<QLineEdit>(*editor, name)->setText(text);
    }
    static void Save(QWidget* editor) { NamedChild<QAbstractButton>(*editor, "save")->click(); }
    // Runs the deletions of closed editors.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TestPointer pointer;
};

}  // namespace

TEST_F(FloatingEditorWindows, ToolsOpensOneEditorOfEachKindAndANewOneAfterItCloses) {
    for (int kind = 0; kind < 4; ++kind) {
        EXPECT_EQ(Editors()[kind], nullptr);
        window.Action(kActions[kind])->trigger();  // no project needed
        QWidget* first = Editors()[kind];
        ASSERT_NE(first, nullptr);
        // A window of its own, modeless, owned by the main window so that it stays above it.
        EXPECT_TRUE(first->isVisible() && first->isWindow() && !first->isModal());
        EXPECT_EQ(first->parentWidget(), &window);
        window.Action(kActions[kind])->trigger();
        EXPECT_EQ(Editors()[kind], first);
        int open = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            open += top->objectName() == first->objectName() ? 1 : 0;
        }
        EXPECT_EQ(open, 1);
        NamedChild<QAbstractButton>(*first, "close")->click();
        Settle();
        EXPECT_EQ(Editors()[kind], nullptr);
        window.Action(kActions[kind])->trigger();
        EXPECT_NE(Editors()[kind], nullptr);
    }
}

TEST_F(FloatingEditorWindows, WithNoRoomBesideTheWindowTheyCascadeInsideTheScreen) {
    window.show();
    OpenAllEditors();
    const QRect screen = window.screen()->availableGeometry();
    const auto editors = Editors();
    for (std::size_t e = 0; e < editors.size(); ++e) {
        const QRect r = editors[e]->frameGeometry();
        EXPECT_TRUE(screen.contains(r)) << e;
        // Each one opened later lies lower than the earlier ones, their top edges in sight.
        for (std::size_t earlier = 0; earlier < e; ++earlier) {
            EXPECT_GT(r.top(), editors[earlier]->frameGeometry().top()) << e << " " << earlier;
        }
    }
}

TEST_F(FloatingEditorWindows, CtrlRightClickOnTheMapsPageFillsAllFourAndTheirButtonsWrite) {
    MapTab* page = FillAllFromTheMapsPage();

    QWidget* chest = window.ChestEditor();
    EXPECT_EQ(Field(chest, "item"), "5");
    EXPECT_EQ(Field(chest, "chestId"), "769");
    QWidget* shop = window.ShopEditor();
    EXPECT_EQ(Field(shop, "shopId"), "0");
    EXPECT_EQ(Field(shop, "price"), "150");
    const auto* greeting = NamedChild<QComboBox>(*shop, "greeting");
    EXPECT_EQ(greeting->currentText(), "4");
    EXPECT_EQ(greeting->count(), 9);  // "0" to "8"
    QWidget* object = window.ObjectEditor();
    EXPECT_EQ(Field(object, "posY"), "3");
    EXPECT_EQ(Field(object, "enemyId"), "42");
    std::set<std::pair<int, int>> places;  // each flag box has a place of its own
    for (int box = 0; box < 16; ++box) {
        const auto* check =
            NamedChild<QCheckBox>(*object, qPrintable(QString("interactionFlag%1").arg(box)));
        EXPECT_EQ(check->isChecked(), box == 0 || box == 15) << box;
        places.insert({check->x(), check->y()});
    }
    EXPECT_EQ(places.size(), 16u);
    QWidget* exit = window.ExitEditor();
    EXPECT_EQ(Field(exit, "srcMapId"), "0x00A");
    EXPECT_EQ(page->Model().state.exitIndex, 0u);
    for (QWidget* editor : {chest, shop, object, exit}) {
        EXPECT_TRUE(Enabled(editor, "save")) << editor->objectName().toStdString();
    }
    EXPECT_TRUE(Enabled(object, "add"));  // it says why it cannot add on this image

    NamedChild<QLineEdit>(*chest, "posY")->setText("3");
    NamedChild<QLineEdit>(*chest, "item")->setText("9");
    NamedChild<QAbstractButton>(*chest, "save")->click();
    const std::uint32_t chestAt = currentProject->Table(RegionTable::ChestDataBank) + 0x4000;
    EXPECT_EQ(currentProject->Read8(chestAt + 1), 3);
    EXPECT_EQ(currentProject->Read16(chestAt + 3), 0x8009);
    NamedChild<QLineEdit>(*shop, "eventFlag")->setText("0x0042");
    NamedChild<QComboBox>(*shop, "greeting")->setCurrentIndex(6);
    NamedChild<QAbstractButton>(*shop, "save")->click();
    const std::uint32_t shopAt = currentProject->Table(RegionTable::ShopTable);
    EXPECT_EQ(currentProject->Read16(shopAt + 2), 0x42);
    EXPECT_EQ(currentProject->Read8(shopAt + 8), 6);
    // Add files the exit under the map typed, not the one it was picked from.
    constexpr std::uint32_t kOtherMap = MapPageProject::kMapId + 1;
    const std::size_t otherExits = currentProject->exitLists[kOtherMap].size();
    Type(exit, "srcMapId", "0x00B");
    NamedChild<QAbstractButton>(*exit, "add")->click();
    EXPECT_EQ(currentProject->exitLists[kOtherMap].size(), otherExits + 1) << prompts.LastMessage();
    NamedChild<QAbstractButton>(*exit, "delete")->click();
    EXPECT_TRUE(currentProject->exitLists[MapPageProject::kMapId].empty());
    EXPECT_FALSE(Enabled(exit, "save") || Enabled(exit, "add") || Enabled(exit, "delete"));

    // Another project: the picks of the old one no longer count, nor are they shown.
    NewProject(MapPageProject().image);
    EXPECT_FALSE(Enabled(chest, "save") || Enabled(shop, "save") || Enabled(object, "save"));
    EXPECT_EQ(Field(chest, "item") + Field(shop, "price") + Field(object, "posY") +
                  Field(exit, "srcMapId"),
              "");
    EXPECT_FALSE(NamedChild<QCheckBox>(*object, "interactionFlag0")->isChecked());
    // The chest has no event flag: its box takes no typing.
    EXPECT_TRUE(NamedChild<QLineEdit>(*chest, "eventFlag")->isReadOnly());
}

TEST_F(FloatingEditorWindows, SaveWritesEveryTypedFieldOfEachEditor) {
    MapTab* page = FillAllFromTheMapsPage();
    QWidget* chest = window.ChestEditor();
    QWidget* shop = window.ShopEditor();
    QWidget* object = window.ObjectEditor();
    QWidget* exit = window.ExitEditor();
    NamedChild<QComboBox>(*shop, "slots")->setCurrentIndex(1);
    NamedChild<QComboBox>(*shop, "greeting")->setCurrentIndex(6);
    NamedChild<QCheckBox>(*shop, "unique")->setChecked(true);
    // Names and texts in turn; each editor saves what was typed into it.
    const auto typeAndSave = [](QWidget* editor, std::initializer_list<const char*> fields) {
        for (auto f = fields.begin(); f != fields.end(); f += 2) {
            Type(editor, f[0], f[1]);
        }
        Save(editor);
    };
    typeAndSave(exit, {"posX", "5", "posY", "6", "sizeX", "7", "sizeY", "8", "dstMapId", "0x00B",
                       "transEffect", "3", "direction", "0x04", "dstX", "300", "dstY", "400"});
    typeAndSave(chest, {"posX", "6", "posY", "3", "item", "9"});
    typeAndSave(shop,
                {"eventFlag", "0x0042", "posX", "9", "posY", "10", "itemId", "11", "price", "77"});
    typeAndSave(object, {"script", "0xC3A2F1", "spriteLayout", "0xC9A008", "posX", "12", "posY",
                         "13", "flag", "0x40"});
    EXPECT_TRUE(prompts.messages.empty()) << prompts.LastMessage();

    EXPECT_EQ(currentProject->exitLists[MapPageProject::kMapId][0],
              (ExitRecord{5, 6, 7, 8, 0x00B, 3, 4, 300, 400}));
    const ChestRecord c = ReadChestList(*currentProject, MapPageProject::kMapId)[0];
    EXPECT_EQ((std::array<int, 3>{c.x, c.y, c.itemWord}), (std::array<int, 3>{6, 3, 0x8009}));
    const ShopRecord s = ReadShops(*currentProject)[0];
    EXPECT_EQ((std::array<int, 4>{s.eventFlag, s.x, s.y, s.greeting}),
              (std::array<int, 4>{0x42, 9, 10, 6}));
    const ShopItem item = ReadShopItems(*currentProject, 0xD000)[1];
    EXPECT_EQ((std::array<int, 3>{item.itemId, item.price, item.unique}),
              (std::array<int, 3>{11, 0x0077, 1}));
    const auto o = FindObjectAt(*currentProject, MapPageProject::kMapId, 12, 13);
    ASSERT_TRUE(o);
    EXPECT_EQ((std::array<std::uint32_t, 5>{o->x, o->y, o->flags, o->script, o->layout}),
              (std::array<std::uint32_t, 5>{12, 13, 0x40, 0xC3A2F1, 0xC9A008}));

    // An exit with conditional destinations: the one shown takes the typed event and flag.
    currentProject->exitLists[MapPageProject::kMapId][0].dstMapId = 0xF000;
    currentProject->Write16(0x1F000, 0x8000 | 0x11 << 3);
    pointer.Press(NamedChild<PictureView>(*page, "mapView"), {5 * 16 + 3, 6 * 16 + 9},
                  Qt::RightButton, Qt::ControlModifier);
    typeAndSave(exit, {"event", "0x45", "flag", "0x04"});
    EXPECT_EQ(currentProject->Read16(0x1F000), 0x8000 | 0x45 << 3 | 2) << prompts.LastMessage();
}

TEST_F(FloatingEditorWindows, SaveRefusesAFieldItCannotStoreAndThenShowsWhatWasStored) {
    FillAllFromTheMapsPage();
    QWidget* chest = window.ChestEditor();
    QWidget* shop = window.ShopEditor();
    QWidget* object = window.ObjectEditor();
    QWidget* exit = window.ExitEditor();
    const std::vector<std::uint8_t> image = currentProject->romImage;
    const auto exits = currentProject->exitLists;
    struct Case {
        QWidget* editor;
        const char* name;
        const char* text;
        const char* refusal;  // boxes that show hexadecimal tell their range so
    };
    for (const Case& c :
         {Case{chest, "item", "32768", "Item: must be a number from 0 to 32767"},
          {chest, "posX", "abc", "PosX: must be a number"},
          {shop, "posX", "-1", "Pos X: must be a number"},
          {shop, "itemId", "300", "Item ID: must be a number"},
          {shop, "price", "12345", "Price: must be a number"},
          {shop, "eventFlag", "", "Event Flag: must be a number from 0x0000 to 0xFFFF"},
          {object, "posY", "3x", "PosY: must be a number"},
          {object, "script", "z", "Script offset: must be a number from 0x000000 to 0xFFFFFF"},
          {exit, "sizeX", "256", "SizeX: must be a number"},
          {exit, "dstMapId", "0x8000", "DstMapID: must be a number from 0x0000 to 0x7FFF"},
          {exit, "direction", "0x", "Direction: must be a number from 0x00 to 0xFF"}}) {
        const QString shown = Field(c.editor, c.name);
        Type(c.editor, c.name, c.text);
        Save(c.editor);
        EXPECT_EQ(prompts.LastMessage().rfind(c.refusal, 0), 0u)
            << c.name << ": " << prompts.LastMessage();
        EXPECT_EQ(currentProject->romImage, image) << c.name;
        EXPECT_EQ(currentProject->exitLists, exits) << c.name;
        Type(c.editor, c.name, qPrintable(shown));
    }

    // An unchanged price word is written as it was read, whatever its digits.
    NamedChild<QComboBox>(*shop, "slots")->setCurrentIndex(1);
    EXPECT_EQ(Field(shop, "price"), "12ab");
    Save(shop);
    EXPECT_EQ(currentProject->romImage, image);

    Type(chest, "item", "0x10");
    Type(shop, "posX", "0x05");
    Type(shop, "price", "0x4D2");
    Type(object, "script", "0xc3a2f1");
    Type(exit, "sizeX", "0x02");
    for (QWidget* editor : {chest, shop, object, exit}) {
        Save(editor);
    }
    EXPECT_EQ(Field(chest, "item"), "16");
    EXPECT_EQ(Field(shop, "posX"), "5");
    EXPECT_EQ(Field(shop, "price"), "1234");
    EXPECT_EQ(Field(object, "script"), "0xC3A2F1");
    EXPECT_EQ(Field(exit, "sizeX"), "2");
    EXPECT_EQ(currentProject->exitLists[MapPageProject::kMapId][0].sizeX, 2);
}

TEST_F(FloatingEditorWindows, CtrlRightClickOnTheWorldMapsPageFillsTheObjectAndExitEditors) {
    WorldMapProject data;
    data.image.PutObjectList(2, SyntheticImage::ObjectBank::A, 0x9000,
                             ObjectListBytes().Head(0).Object(0, 9, 10, 0, 0x0C8000, 0).End());
    data.image.PutChestList(2, 0x4000, std::vector<ChestRecord>{{0, 9, 9, 0, 0, 1, 1}});
    NewProject(data.image);
    OpenAllEditors();
    WorldMapTab* page = window.WorldMapsPage();
    page->OnLoad();
    pointer.Press(NamedChild<PictureView>(*page, "mapView"), {9 * 16 + 2, 9 * 16 + 2},
                  Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(Field(window.ExitEditor(), "srcMapId"), "0x002");
    EXPECT_EQ(Field(window.ObjectEditor(), "posY"), "10");
    EXPECT_EQ(Field(window.ChestEditor(), "posX"), "");
    EXPECT_FALSE(Enabled(window.ChestEditor(), "save"));
}

TEST_F(FloatingEditorWindows, ClosingTheMainWindowEndsTheProgramWithAllFourOpen) {
    window.show();
    OpenAllEditors();
    QTimer::singleShot(0, &window, &QWidget::close);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    Settle();
    EXPECT_EQ(Editors(), (std::array<QWidget*, 4>{}));
}

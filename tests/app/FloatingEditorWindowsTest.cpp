#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <array>

#include <gtest/gtest.h>

#include "maps/ui/ChestEditFloat.h"
#include "maps/ui/ExitEditFloat.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/ObjectEditFloat.h"
#include "maps/ui/ShopEditFloat.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/ui/PictureView.h"
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

TEST_F(FloatingEditorWindows, CtrlRightClickOnTheMapsPageFillsAllFourAndTheirButtonsWrite) {
    MapPageProject data;
    using Bank = SyntheticImage::ObjectBank;
    // On map 0x0A's exit cell (4, 2): a chest, a shopkeeper and an object as well.
    data.image.PutObjectList(
        MapPageProject::kMapId, Bank::A, 0x9000,
        ObjectListBytes().Head(0x0200).Object(1, 4, 3, 0x80, 0x0C8000, 0).End());
    data.image.PutBytes(0x0C8000, std::vector<std::uint8_t>{0, 0x01, 0x80});  // interaction
    data.image.PutChestList(MapPageProject::kMapId, 0x4000,
                            std::vector<ChestRecord>{{0, 4, 2, 0, 0, 0x8005, 0x0301}});
    data.image.PutShops(std::vector<ShopRecord>{{0, MapPageProject::kMapId, 0, 0xD000, 3, 1, 4}});
    data.image.PutShopItems(0xD000, std::vector<ShopItem>{{0, 7, 0x0150, 0}});
    NewProject(data.image);
    OpenAllEditors();
    MapTab* page = window.MapsPage();
    NamedChild<QLineEdit>(*page, "mapId")->setText("0x0A");
    NamedChild<QAbstractButton>(*page, "load")->click();
    auto* view = NamedChild<PictureView>(*page, "mapView");
    pointer.Press(view, {4 * 16 + 3, 2 * 16 + 9}, Qt::RightButton);  // the eyedropper only
    EXPECT_FALSE(Enabled(window.ExitEditor(), "save"));
    pointer.Press(view, {4 * 16 + 3, 2 * 16 + 9}, Qt::RightButton, Qt::ControlModifier);

    QWidget* chest = window.ChestEditor();
    EXPECT_EQ(Field(chest, "item"), "5");
    EXPECT_EQ(Field(chest, "chestId"), "769");
    QWidget* shop = window.ShopEditor();
    EXPECT_EQ(Field(shop, "shopId"), "0");
    EXPECT_EQ(Field(shop, "price"), "150");
    EXPECT_EQ(NamedChild<QComboBox>(*shop, "greeting")->currentText(), "4");
    QWidget* object = window.ObjectEditor();
    EXPECT_EQ(Field(object, "posY"), "3");
    for (int box = 0; box < 16; ++box) {
        const auto* check =
            NamedChild<QCheckBox>(*object, qPrintable(QString("interactionFlag%1").arg(box)));
        EXPECT_EQ(check->isChecked(), box == 0 || box == 15) << box;
    }
    QWidget* exit = window.ExitEditor();
    EXPECT_EQ(Field(exit, "srcMapId"), "0x00A");
    EXPECT_EQ(page->Model().state.exitIndex, 0u);
    for (QWidget* editor : {chest, shop, object, exit}) {
        EXPECT_TRUE(Enabled(editor, "save")) << editor->objectName().toStdString();
    }

    NamedChild<QLineEdit>(*chest, "posY")->setText("3");
    NamedChild<QLineEdit>(*chest, "item")->setText("9");
    NamedChild<QAbstractButton>(*chest, "save")->click();
    const std::uint32_t chestAt = data.image.Table(RegionTable::ChestDataBank) + 0x4000;
    EXPECT_EQ(currentProject->Read8(chestAt + 1), 3);
    EXPECT_EQ(currentProject->Read16(chestAt + 3), 0x8009);
    NamedChild<QLineEdit>(*shop, "eventFlag")->setText("0x0042");
    NamedChild<QComboBox>(*shop, "greeting")->setCurrentIndex(6);
    NamedChild<QAbstractButton>(*shop, "save")->click();
    const std::uint32_t shopAt = data.image.Table(RegionTable::ShopTable);
    EXPECT_EQ(currentProject->Read16(shopAt + 2), 0x42);
    EXPECT_EQ(currentProject->Read8(shopAt + 8), 6);
    NamedChild<QAbstractButton>(*exit, "delete")->click();
    EXPECT_TRUE(currentProject->exitLists[MapPageProject::kMapId].empty());
    EXPECT_FALSE(Enabled(exit, "save") || Enabled(exit, "add") || Enabled(exit, "delete"));

    // Another project: the picks of the old one no longer count, nor are they shown.
    NewProject(data.image);
    EXPECT_FALSE(Enabled(chest, "save") || Enabled(shop, "save") || Enabled(object, "save"));
    EXPECT_EQ(Field(chest, "item") + Field(shop, "price") + Field(object, "posY") +
                  Field(exit, "srcMapId"),
              "");
    EXPECT_FALSE(NamedChild<QCheckBox>(*object, "interactionFlag0")->isChecked());
    // The chest has no event flag: its box takes no typing.
    EXPECT_TRUE(NamedChild<QLineEdit>(*chest, "eventFlag")->isReadOnly());
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

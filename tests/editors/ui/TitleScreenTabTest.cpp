#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "editors/TitleScreen.h"
#include "editors/ui/TitleScreenTab.h"
#include "platform/ui/PictureView.h"
#include "tests/editors/TitleScreenProject.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

// The drawing and the edits are the core's tests; here the controls, the pictures on screen and
// the messages.
TEST(TitleScreenTab, LoadsChoosesAPieceAndEditsItThroughTheControls) {
    const TitleScreenProject data;
    ReplaceCurrentProject(data.MakeProject());
    ScriptedPrompts prompts;
    TitleScreenTab page(prompts);
    page.resize(700, 500);
    page.show();
    TestPointer pointer;
    auto* layouts = NamedChild<QComboBox>(page, "layouts");
    auto* tiles = NamedChild<QListWidget>(page, "tiles");
    auto* save = NamedChild<QAbstractButton>(page, "save");
    ASSERT_EQ(layouts->count(), 3);
    EXPECT_EQ(layouts->currentText(), "Title");
    EXPECT_FALSE(layouts->isEnabled());
    EXPECT_FALSE(save->isEnabled());

    NamedChild<QAbstractButton>(page, "load")->click();
    EXPECT_TRUE(layouts->isEnabled());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(tiles->count(), 5);
    auto* screenView = NamedChild<PictureView>(page, "screenView");
    const Canvas expected = data.ExpectedScreen();
    EXPECT_EQ(screenView->grab().toImage().pixel(30, 40), expected.At(30, 40));

    layouts->setCurrentIndex(2);
    emit layouts->activated(2);
    ASSERT_EQ(tiles->count(), 1);
    EXPECT_EQ(tiles->item(0)->text(), "Tile 0");
    tiles->setCurrentRow(0);  // a 32 x 32 piece
    EXPECT_TRUE(NamedChild<QRadioButton>(page, "large")->isChecked());
    EXPECT_FALSE(NamedChild<QRadioButton>(page, "small")->isChecked());

    NamedChild<QRadioButton>(page, "small")->click();
    pointer.Press(NamedChild<PictureView>(page, "tileSetView"), {45, 70});
    EXPECT_EQ(ReadTitlePiece(*currentProject, 2, 0)->tile, 0x85);
    pointer.Press(screenView, {100, 200}, Qt::RightButton);
    pointer.Press(screenView, {100, 200});
    EXPECT_EQ(ReadTitlePiece(*currentProject, 2, 0)->x, 80);
    EXPECT_EQ(ReadTitlePiece(*currentProject, 2, 0)->y, 8);
    EXPECT_EQ(tiles->currentRow(), 0);

    const ScratchDataFolder folder;
    save->click();
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{"Failed to open a file", "Failed to open a file"}));
    DestroyCurrentProject();
}

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

// The drawing, the edits and the import are the core's tests; here the controls, the pictures
// on screen and the messages.
TEST(TitleScreenTab, LoadsChoosesAPieceAndEditsItThroughTheControls) {
    const TitleScreenProject data;
    ReplaceCurrentProject(data.MakeProject());
    ScriptedPrompts prompts;
    TitleScreenTab page(prompts);
    page.show();
    TestPointer pointer;
    auto* layouts = NamedChild<QComboBox>(page, "layouts");
    auto* tiles = NamedChild<QListWidget>(page, "tiles");
    auto* save = NamedChild<QAbstractButton>(page, "save");
    auto* screenView = NamedChild<PictureView>(page, "screenView");
    auto* large = NamedChild<QRadioButton>(page, "large");
    EXPECT_FALSE(layouts->isEnabled() || save->isEnabled());

    NamedChild<QAbstractButton>(page, "load")->click();
    EXPECT_TRUE(layouts->isEnabled() && save->isEnabled());
    EXPECT_EQ(tiles->count(), 5);
    EXPECT_EQ(screenView->grab().toImage().pixel(30, 40), data.ExpectedScreen().At(30, 40));
    pointer.Press(screenView, {30, 40});  // no tile line chosen
    EXPECT_EQ(currentProject->romImage, data.image.Bytes());

    for (int line : {1, 2}) {  // "Start Text", then "License"
        layouts->setCurrentIndex(line);
        emit layouts->activated(line);
        EXPECT_EQ(tiles->count(), 3 - line);
    }
    ASSERT_EQ(tiles->count(), 1);
    tiles->setCurrentRow(0);  // 32 x 32 from tile row 14, column 2: greener there only
    EXPECT_TRUE(large->isChecked());
    const Canvas plain = TitleScreenProject::ExpectedTileSet();
    const auto green = [&](int x, int y) {
        return (page.Model().tileSet.At(x, y) >> 8 & 0xFF) - (plain.At(x, y) >> 8 & 0xFF);
    };
    EXPECT_EQ((std::array{green(16, 112), green(47, 127), green(48, 112), green(16, 111)}),
              (std::array<std::uint32_t, 4>{2, 2, 0, 0}));

    NamedChild<QRadioButton>(page, "small")->click();
    pointer.Press(NamedChild<PictureView>(page, "tileSetView"), {45, 70});
    pointer.Press(screenView, {100, 200}, Qt::RightButton);
    pointer.Press(screenView, {100, 200});
    const auto piece = ReadTitlePiece(*currentProject, 2, 0);
    EXPECT_EQ((std::array{piece->size, piece->x, piece->y, piece->tile}),
              (std::array<std::uint8_t, 4>{2, 80, 8, 0x85}));

    // Each missing file is named, with the folder it was looked for in.
    const std::string folder = ScratchTitleFolder().string();
    save->click();
    EXPECT_EQ(
        prompts.messages,
        (std::vector<std::string>{
            "Failed to open a file\n\".pal\" was looked for in the data folder \"" + folder + "\".",
            "Failed to open a file\n\".spr\" was looked for in the data folder \"" + folder +
                "\"."}));
    DestroyCurrentProject();
}

TEST(TitleScreenTab, AnImageWithoutTitleDataSaysSo) {
    ReplaceCurrentProject(TitleScreenProject().MakeProject());
    // The strip's block says its raw size is 0: no block.
    currentProject->Write16(currentProject->Table(RegionTable::TitleScreenCompressedTable) + 1, 0);
    ScriptedPrompts prompts;
    TitleScreenTab page(prompts);
    NamedChild<QAbstractButton>(page, "load")->click();
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"This ROM image holds no title-screen data where its tables "
                                       "point (strip); those parts are not drawn."});
    DestroyCurrentProject();
}

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "editors/ui/SpritesTab.h"
#include "platform/ui/PictureView.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestPointer.h"

TEST(SpritesTab, ChosenFramesShowAsTheDecoderDrawsThemAndAnimate) {
    OpenSpriteProject();
    ScriptedPrompts prompts;
    SpritesTab page(prompts);
    page.show();
    const auto shows = [&](const char* view, const Canvas& expected) {
        const Canvas* shown = NamedChild<PictureView>(page, view)->GetCanvas();
        return shown != nullptr && SamePicture(*shown, expected);
    };
    auto* info = NamedChild<QLineEdit>(page, "spriteInfoOffset");
    auto* animations = NamedChild<QListWidget>(page, "animations");
    auto* frames = NamedChild<QListWidget>(page, "frames");
    EXPECT_EQ(info->text(), "0x83EF91");  // the model's text reaches the edit
    info->setText("0x100000");
    NamedChild<QPushButton>(page, "load")->click();
    EXPECT_EQ(animations->count(), 3);
    EXPECT_EQ(frames->count(), 2);
    EXPECT_EQ(animations->currentRow(), -1);

    animations->setCurrentRow(1);
    EXPECT_EQ(frames->count(), 3);
    EXPECT_EQ(frames->currentRow(), 0);
    EXPECT_TRUE(shows("spriteView", DecodedFrame(1, 0)));
    frames->setCurrentRow(2);
    EXPECT_TRUE(shows("spriteView", DecodedFrame(1, 2)));
    Canvas scratch;
    const auto sheet = SpriteDescriptor()
                           .Load(*currentProject, kSpriteInfo)
                           .RenderFrame(*currentProject, 0, 0, 0, 0, scratch);
    EXPECT_TRUE(shows("sheetView", sheet.sheet.value()));

    // The timer steps through the frames, after the last the first.
    auto* timer = NamedChild<QTimer>(page, "animationTimer");
    NamedChild<QCheckBox>(page, "animate")->click();
    EXPECT_TRUE(timer->isActive());
    page.OnAnimationStep();
    EXPECT_EQ(frames->currentRow(), 0);
    EXPECT_TRUE(shows("spriteView", DecodedFrame(1, 0)));
    EXPECT_TRUE(timer->isActive());
    // An address gone outside the image is told once and ends the animation.
    info->setText("0x3FFFFF");
    page.OnAnimationStep();
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(NamedChild<QCheckBox>(page, "animate")->isChecked());
    EXPECT_FALSE(timer->isActive());
    DestroyCurrentProject();
}

TEST(SpritesTab, TheTileControlsAndTheGraphicsAddressAct) {
    OpenSpriteProject();
    ScriptedPrompts prompts;
    SpritesTab page(prompts);
    page.show();
    NamedChild<QLineEdit>(page, "spriteInfoOffset")->setText("0x100000");
    NamedChild<QPushButton>(page, "load")->click();
    // "Animate" right after "Load" plays animation 0 from its first frame.
    page.OnAnimationStep();
    EXPECT_EQ(NamedChild<QListWidget>(page, "animations")->currentRow(), 0);
    EXPECT_EQ(NamedChild<QListWidget>(page, "frames")->currentRow(), 0);

    // A click on the sheet shows the tile's place in "X:" and "Y:" and the tile itself; the
    // boxes choose it the other way round.
    auto* tileX = NamedChild<QSpinBox>(page, "tileX");
    auto* tileY = NamedChild<QSpinBox>(page, "tileY");
    TestPointer pointer;
    pointer.Press(NamedChild<PictureView>(page, "sheetView"), {8 * 5 + 2, 8 + 3});
    EXPECT_EQ(std::pair(tileX->value(), tileY->value()), std::pair(5, 1));
    const Canvas& sheet = page.Model().sheetView;
    const auto tileShows = [&](int x, int y) {
        const Canvas* shown = NamedChild<PictureView>(page, "tileView")->GetCanvas();
        return shown != nullptr && SamePicture(*shown, Canvas(64, 64, sheet.At(8 * x, 8 * y)));
    };
    EXPECT_TRUE(tileShows(5, 1));
    tileX->setValue(3);
    EXPECT_TRUE(tileShows(3, 1));
    EXPECT_NE(sheet.At(8 * 3, 8), sheet.At(8 * 5, 8));

    // Enter in "SpriteTilesOffset:" draws with the graphics found there.
    auto* tiles = NamedChild<QLineEdit>(page, "spriteTilesOffset");
    tiles->setText("0x3FFFFF");
    QTest::keyClick(tiles, Qt::Key_Return);
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"The tile block at 0x3FFFFF does not fit: its 3 bytes "
                                       "run past the end of the ROM image."});
    DestroyCurrentProject();
}

TEST(SpritesTab, AnImageWithoutTheSpriteSaysSo) {
    OpenSpriteProject();
    ScriptedPrompts prompts;
    SpritesTab page(prompts);
    NamedChild<QPushButton>(page, "load")->click();  // 0x83EF91: zeros in this image
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"This ROM image holds no sprite at 0x83EF91: the "
                                       "animation block that its record names does not decode "
                                       "or is empty."});
    EXPECT_FALSE(page.Model().descriptor.has_value());
    DestroyCurrentProject();
}

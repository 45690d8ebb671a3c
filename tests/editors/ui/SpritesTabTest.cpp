#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "editors/ui/SpritesTab.h"
#include "platform/ui/PictureView.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"

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

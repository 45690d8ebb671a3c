#include <algorithm>

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

namespace {

bool SamePicture(const Canvas* shown, const Canvas& expected) {
    return shown != nullptr && shown->Width() == expected.Width() &&
           shown->Height() == expected.Height() &&
           std::equal(expected.Pixels(), expected.Pixels() + expected.Width() * expected.Height(),
                      shown->Pixels());
}

class SpritesTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.Open();
        page.show();
    }
    void TearDown() override { DestroyCurrentProject(); }

    template <typename T>
    T* Child(const char* name) {
        return NamedChild<T>(page, name);
    }
    const Canvas* Shown(const char* view) { return Child<PictureView>(view)->GetCanvas(); }

    SpritePageProject data;
    ScriptedPrompts prompts;
    SpritesTab page{prompts};
};

}  // namespace

TEST_F(SpritesTabTest, ChosenFramesShowAsTheDecoderDrawsThem) {
    EXPECT_EQ(Child<QLineEdit>("spriteInfoOffset")->text(), "0x83EF91");
    Child<QLineEdit>("spriteInfoOffset")->setText("0x100000");
    Child<QPushButton>("load")->click();
    auto* animations = Child<QListWidget>("animations");
    auto* frames = Child<QListWidget>("frames");
    EXPECT_EQ(animations->count(), 3);
    EXPECT_EQ(frames->count(), 2);
    EXPECT_EQ(animations->currentRow(), -1);

    animations->setCurrentRow(1);
    EXPECT_EQ(frames->count(), 3);
    EXPECT_EQ(frames->currentRow(), 0);
    EXPECT_TRUE(SamePicture(Shown("spriteView"), SpritePageProject::Expected(1, 0)));
    frames->setCurrentRow(2);
    EXPECT_TRUE(SamePicture(Shown("spriteView"), SpritePageProject::Expected(1, 2)));
    EXPECT_FALSE(SamePicture(Shown("spriteView"), SpritePageProject::Expected(1, 0)));

    SpriteDescriptor sprite;
    Canvas scratch(8, 8);
    const auto drawn = sprite.Load(*currentProject, SpritePageProject::kInfo)
                           .RenderFrame(*currentProject, 0, 0, 0, 0, scratch);
    ASSERT_TRUE(drawn.sheet.has_value());
    EXPECT_TRUE(SamePicture(Shown("sheetView"), *drawn.sheet));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SpritesTabTest, AnimateStepsThroughTheFramesUntilADrawFails) {
    Child<QLineEdit>("spriteInfoOffset")->setText("0x100000");
    Child<QPushButton>("load")->click();
    Child<QListWidget>("animations")->setCurrentRow(1);
    auto* timer = Child<QTimer>("animationTimer");
    auto* animate = Child<QCheckBox>("animate");
    animate->click();
    EXPECT_TRUE(timer->isActive());
    for (int step = 1; step <= 3; ++step) {
        page.OnAnimationStep();
        EXPECT_EQ(Child<QListWidget>("frames")->currentRow(), step % 3);
    }
    EXPECT_TRUE(SamePicture(Shown("spriteView"), SpritePageProject::Expected(1, 0)));
    EXPECT_TRUE(timer->isActive());

    // An address that went outside the image is told once and ends the animation.
    Child<QLineEdit>("spriteInfoOffset")->setText("0x3FFFFF");
    page.OnAnimationStep();
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(animate->isChecked());
    EXPECT_FALSE(timer->isActive());
}

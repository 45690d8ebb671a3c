#include <algorithm>

#include <gtest/gtest.h>

#include "editors/SpritesPageModel.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

bool AllBackground(const Canvas& view) {
    return std::all_of(view.Pixels(), view.Pixels() + view.Width() * view.Height(),
                       [](std::uint32_t p) { return p == kSpriteViewBackground; });
}

class SpritesPageModelTest : public ::testing::Test {
protected:
    void SetUp() override { data.Open(); }
    void TearDown() override { DestroyCurrentProject(); }

    SpritePageProject data;
    SpritesPageModel model;
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(SpritesPageModelTest, AddressesOutsideTheImageAreToldAndDrawNothing) {
    // A record reaching past the end, and one whose animation data starts past it.
    data.image.PutSpriteInfo(0x200000, 0x3FFFFE, 0, 0);
    DestroyCurrentProject();
    data.Open();
    for (const char* text : {"0x3FFFF0", "0x200000"}) {
        model.infoText = text;
        model.Load(currentProject, prompts);
        EXPECT_EQ(prompts.messages.size(), 1u) << text;
        EXPECT_TRUE(model.animationLines.empty() && model.frameLines.empty());
        EXPECT_FALSE(model.descriptor.has_value());
        prompts.messages.clear();
    }
    EXPECT_EQ(prompts.LastMessage(), "");

    // A frame drawn after the address text changed, and with tiles outside the image.
    model.infoText = "0x100000";
    model.Load(currentProject, prompts);
    model.animationLine = 0;
    model.frameLine = 0;
    for (auto [info, tiles] : {std::pair{"0x3FFFF0", "0"}, std::pair{"0x100000", "0x3FFFFF"}}) {
        model.infoText = info;
        model.tilesText = tiles;
        model.spriteView.Fill(0);
        EXPECT_FALSE(model.DrawFrame(currentProject, prompts));
        EXPECT_EQ(prompts.messages.size(), 1u) << info << tiles;
        EXPECT_TRUE(AllBackground(model.spriteView));
        prompts.messages.clear();
    }
    model.tilesText = "0x130000";
    EXPECT_TRUE(model.DrawFrame(currentProject, prompts));
    EXPECT_FALSE(AllBackground(model.spriteView));
}

TEST_F(SpritesPageModelTest, FramesFollowTheAnimationAndWrapWhenAnimated) {
    model.infoText = "0x100000";
    model.Load(currentProject, prompts);
    ASSERT_EQ(model.animationLines.size(), 3u);
    EXPECT_EQ(model.animationLines[2], "Animation 2");
    EXPECT_EQ(model.frameLines.size(), 2u);
    // Nothing chosen: a step does nothing.
    EXPECT_TRUE(model.NextFrame(currentProject, prompts));
    EXPECT_EQ(model.frameLine, -1);

    model.animationLine = 1;
    model.frameLine = 1;
    model.AnimationSelChange(currentProject, prompts);
    EXPECT_EQ(model.frameLines.size(), 3u);
    EXPECT_EQ(model.frameLine, 0);
    model.frameLine = 2;
    model.NextFrame(currentProject, prompts);
    EXPECT_EQ(model.frameLine, 0);
    // The chosen line stays while the rebuilt list still has it.
    model.frameLine = 2;
    model.animationLine = 2;
    model.FrameSelChange(currentProject, prompts);
    EXPECT_EQ(model.frameLines, std::vector<std::string>{"Frame 0"});
    EXPECT_EQ(model.frameLine, -1);
    EXPECT_TRUE(AllBackground(model.spriteView));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SpritesPageModelTest, SelectedTileIsTheSheetsSquareMagnified) {
    model.infoText = "0x100000";
    model.Load(currentProject, prompts);
    model.animationLine = 0;
    model.frameLine = 0;
    model.DrawFrame(currentProject, prompts);
    ASSERT_EQ(model.sheetView.Height(), 8);  // one tile row
    model.SheetClick(8 * 5 + 3, 9);
    EXPECT_EQ(model.tileX, 5);
    EXPECT_EQ(model.tileY, 0);
    model.SelectTile(20, 7);
    EXPECT_EQ(model.tileX, 15);
    model.SelectTile(4, -1);
    const std::uint32_t colour = model.sheetView.At(8 * 4, 0);
    EXPECT_NE(colour, 0u);
    EXPECT_TRUE(std::all_of(model.tileView.Pixels(), model.tileView.Pixels() + 64 * 64,
                            [&](std::uint32_t p) { return p == colour; }));
}

#include <gtest/gtest.h>

#include "editors/SpritesPageModel.h"
#include "tests/editors/SpritePageProject.h"
#include "tests/support/ScriptedPrompts.h"

TEST(SpritesPage, OutsideAddressesAreToldAndDrawNothing) {
    OpenSpriteProject();
    // A record reaching past the end of the image, and one whose animation data starts there.
    currentProject->Write24(0x200000, 0x3FFFFE);
    SpritesPageModel model;
    ScriptedPrompts prompts;
    for (const char* text : {"0x100000", "0x3FFFF0", "0x200000", "0x100000"}) {
        model.infoText = text;
        model.Load(currentProject, prompts);
        EXPECT_EQ(model.animationLines.empty(), text != std::string("0x100000")) << text;
        EXPECT_EQ(model.descriptor.has_value(), !model.animationLines.empty());
        EXPECT_EQ(model.frameLines.empty(), model.animationLines.empty()) << text;
    }
    EXPECT_EQ(prompts.messages.size(), 2u);
    model.infoText = "sprite";
    model.Load(currentProject, prompts);
    EXPECT_EQ(prompts.LastMessage(),
              "SpriteInfoOffset: must be a number from 0x000000 to 0xFFFFFF; \"sprite\" is not.");
    EXPECT_TRUE(model.animationLines.empty());
    prompts.messages.pop_back();

    // Drawing after the texts changed: outside the image, then the sheet read from elsewhere.
    const Canvas blank(256, 256, kSpriteViewBackground);
    model.animationLine = 0;
    model.frameLine = 0;
    for (auto [info, tiles] : {std::pair{"0x3FFFF0", "0"}, std::pair{"0x100000", "0x3FFFFF"}}) {
        model.infoText = info;
        model.tilesText = tiles;
        model.spriteView.Fill(0);
        EXPECT_FALSE(model.DrawFrame(currentProject, prompts));
        EXPECT_TRUE(SamePicture(model.spriteView, blank));
    }
    EXPECT_EQ(prompts.messages.size(), 4u);
    // Texts that hold no address are refused, naming the box.
    model.tilesText = "0x13000G";
    EXPECT_FALSE(model.DrawFrame(currentProject, prompts));
    EXPECT_EQ(
        prompts.LastMessage(),
        "SpriteTilesOffset: must be a number from 0x000000 to 0xFFFFFF; \"0x13000G\" is not.");
    model.tilesText = "0x130000";
    EXPECT_TRUE(model.DrawFrame(currentProject, prompts));
    EXPECT_TRUE(SamePicture(model.spriteView, DecodedFrame(0, 0)));
    // A frame line that the newly listed frames lack is dropped, and nothing is drawn.
    model.frameLine = 2;
    model.animationLine = 2;
    EXPECT_TRUE(model.FrameSelChange(currentProject, prompts));
    EXPECT_EQ(std::pair(model.frameLines.size(), model.frameLine), std::pair(size_t{1}, -1));
    EXPECT_TRUE(SamePicture(model.spriteView, blank));
    model.animationLine = 0;  // the first line lists its own frames too
    EXPECT_TRUE(model.FrameSelChange(currentProject, prompts));
    EXPECT_EQ(model.frameLines.size(), 2u);

    // The selected tile: the sheet's square, magnified.
    model.SheetClick(8 * 20 + 3, 8 * 3);  // kept within the sheet's 16 x 2 tiles
    EXPECT_EQ(std::pair(model.tileX, model.tileY), std::pair(15, 1));
    model.SelectTile(4, 1);
    EXPECT_TRUE(SamePicture(model.tileView, Canvas(64, 64, model.sheetView.At(8 * 4, 8))));
    DestroyCurrentProject();
}

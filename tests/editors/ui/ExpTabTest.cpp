#include <QTreeWidget>

#include "editors/LevelRecord.h"
#include "editors/ui/ExpTab.h"
#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"

using ExpTabPage = PageWindow;

TEST_F(ExpTabPage, FiftyLevelsTopToBottomAfterEveryNew) {
    auto* list = NamedChild<QTreeWidget>(*window.ExpPage(), "list");
    for (std::uint32_t base : {0x123450u, 0xABC000u}) {
        SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
        for (std::uint32_t level = 1; level <= kLevelCount; ++level) {
            image.PutLevelRecord(level, PackLevelRecord({base + level, 100 + level, 200 + level,
                                                         300 + level, 400 + level}));
        }
        NewProject(image);
        ASSERT_EQ(list->topLevelItemCount(), 50);
        for (std::uint32_t level : {1u, 50u}) {
            QStringList texts;
            for (int column = 0; column < 6; ++column) {
                texts << list->topLevelItem(level - 1)->text(column);
            }
            // Luck stands before Defense.
            EXPECT_EQ(texts,
                      (QStringList{QString::number(level), QString::number(base + level, 16),
                                   QString::number(100 + level), QString::number(200 + level),
                                   QString::number(400 + level), QString::number(300 + level)}));
        }
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(ExpTab, WithoutAnImageSaysSo) {
    ScriptedPrompts prompts;
    ExpTab page(prompts);
    page.LoadTable();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Please load a ROM first"});
}

#include <QPushButton>
#include <QTabWidget>

#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"
#include "tests/tools/PatchFiles.h"
#include "tools/ui/PractTab.h"

using PractTabPage = PageWindow;

TEST_F(PractTabPage, KeptByTheWindowButNeverShown) {
    PractTab* page = window.PractPage();
    ASSERT_NE(page, nullptr);
    window.show();
    EXPECT_EQ(window.TabStrip()->indexOf(page), -1);
    EXPECT_FALSE(page->isVisible());
}

TEST_F(PractTabPage, ButtonsPatchTheCurrentProject) {
    PractTab& page = *window.PractPage();
    auto* patch = NamedChild<QPushButton>(page, "patch");
    auto* ccPatch = NamedChild<QPushButton>(page, "ccPatch");
    patch->click();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Please load a ROM first"});

    const auto files = WritePatchFiles(PracticePatchHooks());
    ReplaceCurrentProject(PatternProject(SyntheticImage::k4MB, SyntheticImage::Region::German));
    patch->click();
    EXPECT_EQ(currentProject->Read24(0x787D5), 0xE1F300u);
    EXPECT_EQ(currentProject->Read16(0x8CE8A), 0xCF00);
    EXPECT_EQ(prompts.messages.size(), 1u);

    const auto before = currentProject->romImage;
    ccPatch->click();  // the CC files are not there
    EXPECT_EQ(prompts.messages.size(), 6u);
    EXPECT_TRUE(currentProject->romImage == before);
    WritePatchFiles(CcPatchHooks());
    ccPatch->click();
    EXPECT_EQ(currentProject->Read24(0x49579), 0xE1FF00u);
    EXPECT_EQ(prompts.messages.size(), 6u);

    page.show();
    NamedChild<QPushButton>(page, "cancel")->click();
    EXPECT_FALSE(page.isVisible());
}

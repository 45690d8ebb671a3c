#include <QPushButton>
#include <QTabWidget>

#include "tests/editors/ui/PageWindow.h"
#include "tests/support/NamedChild.h"
#include "tests/tools/PatchFiles.h"
#include "tools/ui/PractTab.h"

using PractTabPage = PageWindow;

TEST_F(PractTabPage, KeptHiddenByTheWindowAndItsButtonsPatch) {
    window.show();
    PractTab& page = *window.PractPage();
    EXPECT_EQ(window.TabStrip()->indexOf(&page), -1);
    EXPECT_FALSE(page.isVisible());

    auto* patch = NamedChild<QPushButton>(page, "patch");
    auto* ccPatch = NamedChild<QPushButton>(page, "ccPatch");
    patch->click();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Please load a ROM first"});
    WritePatchFiles(PracticePatchHooks());
    ReplaceCurrentProject(PatternProject(SyntheticImage::k4MB, SyntheticImage::Region::German));
    ccPatch->click();  // the CC files are not there yet
    EXPECT_EQ(prompts.messages.size(), 6u);
    patch->click();
    WritePatchFiles(CcPatchHooks());
    ccPatch->click();
    EXPECT_EQ(currentProject->Read24(0x787D5), 0xE1F300u);
    EXPECT_EQ(currentProject->Read24(0x49579), 0xE1FF00u);
    EXPECT_EQ(prompts.messages.size(), 6u);
}

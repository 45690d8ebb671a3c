#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptCompiler.h"
#include "scripts/ui/ScriptEditorTab.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ImageAt(std::uint32_t offset, std::size_t length) {
    const auto start = currentProject->romImage.begin() + offset;
    return Bytes(start, start + static_cast<std::ptrdiff_t>(length));
}

}  // namespace

TEST(ScriptEditorTab, CompilesWhatIsTypedAtTheOffset) {
    const SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = image.Size();
    project->regionIndex = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
    ReplaceCurrentProject(std::move(project));

    ScriptedPrompts prompts;
    ScriptEditorTab page(prompts);
    auto* script = NamedChild<QPlainTextEdit>(page, "script");
    auto* offset = NamedChild<QLineEdit>(page, "scriptOffset");
    auto* compile = NamedChild<QPushButton>(page, "compile");
    EXPECT_EQ(offset->text(), "0x1086E2");

    // Enter inside the script box starts a new line and compiles nothing.
    QTest::keyClicks(script, "Delay(30)");
    QTest::keyClick(script, Qt::Key_Return);
    QTest::keyClicks(script, "Print16(\"Hi\")");
    EXPECT_EQ(script->toPlainText(), "Delay(30)\nPrint16(\"Hi\")");
    EXPECT_TRUE(currentProject->romImage == image.Bytes());
    // Enter on the Compile button compiles.
    QTest::keyClick(compile, Qt::Key_Return);
    const Bytes code = {0x02, 0xC1, 0x1E, 0x00, 0x02, 0x1B, 0xEB, 0x86,
                        0x6B, 0xC4, 0x01, 0xDA, 0x28, 0x49, 0xD3};
    EXPECT_EQ(ImageAt(image.Wrap(0x1086E2), code.size()), code);

    // Without "0x" the offset is decimal.
    offset->setText(" 1086 ");
    NamedChild<QCheckBox>(page, "header")->setChecked(true);
    NamedChild<QCheckBox>(page, "noRtl")->setChecked(true);
    script->setPlainText("WaitMessage");
    compile->click();
    EXPECT_EQ(ImageAt(1086, 8), (Bytes{0x00, 0x00, 0x51, 0x00, 0x00, 0x02, 0x1F, 0x00}));
    EXPECT_TRUE(prompts.messages.empty());

    // An offset that is no game address is refused: nothing is written, not even the dump.
    const Bytes dump = *ReadWholeFile("script.bin");
    const Bytes romBefore = currentProject->romImage;
    for (const char* typed : {"", "abc", "0x", "1086E2", "-1", "0x1000000"}) {
        offset->setText(typed);
        compile->click();
        EXPECT_EQ(prompts.LastMessage(),
                  "Script offset must be a number from 0x000000 to 0xFFFFFF; \"" +
                      std::string(typed) + "\" is not.");
        EXPECT_EQ(offset->text(), typed);
    }
    EXPECT_TRUE(currentProject->romImage == romBefore);
    EXPECT_EQ(ReadWholeFile("script.bin"), dump);

    // A dump that cannot be written is reported; the script is in the image.
    std::filesystem::remove("script.bin");
    std::filesystem::create_directory("script.bin");
    offset->setText("0x1086E2");
    compile->click();
    std::filesystem::remove("script.bin");
    EXPECT_EQ(prompts.LastMessage(), kScriptDumpNotWritten);
    EXPECT_EQ(ImageAt(image.Wrap(0x1086E2), 7), (Bytes{0x00, 0x00, 0x51, 0x00, 0x00, 0x02, 0x1F}));
    prompts.messages.clear();

    const Bytes before = currentProject->romImage;
    script->setPlainText("Delay(1)\nDelay(1, 2)");
    compile->click();
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"Error: Line 2 Delay takes 1 argument, not 2!\n"});
    EXPECT_TRUE(currentProject->romImage == before);
    DestroyCurrentProject();
}

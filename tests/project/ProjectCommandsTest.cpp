#include <gtest/gtest.h>

#include "platform/Files.h"
#include "project/ProjectCommands.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

constexpr char kSizeMessage[] =
    "ROM has an incorrect size.\nOnly 4MB, 6MB with or without header are supported.";

class ProjectCommands : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    // Makes a project through File > New from a synthetic image file.
    void NewFrom(const SyntheticImage& image, bool copierHeader = false) {
        image.WriteFile("start.smc", copierHeader);
        prompts.fileAnswers.push_back("start.smc");
        ASSERT_TRUE(NewProjectCommand(prompts));
        ASSERT_NE(currentProject, nullptr);
    }

    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(ProjectCommands, NewDropsTheCopierHeaderAndSaysWhatItCouldNotDo) {
    SyntheticImage image(SyntheticImage::k6MB, Region::Japanese);
    image.Put8(0, 0x5A);
    // An object list without an end keeps the lists where the ROM has them.
    image.PutObjectList(6, SyntheticImage::ObjectBank::A, 0xFFF0,
                        ObjectListBytes().Head(0).Raw({0xF1, 0xF2}));
    NewFrom(image, true);
    EXPECT_EQ(currentProject->romSize, 0x600000u);
    EXPECT_EQ(currentProject->Read8(0), 0x5A);
    EXPECT_EQ(currentProject->regionIndex, 0u);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_NE(prompts.LastMessage().find("has no end"), std::string::npos);
}

TEST_F(ProjectCommands, RefusedImagesKeepTheOpenProject) {
    NewFrom(SyntheticImage(SyntheticImage::k4MB, Region::German));
    ProjectContext* open = currentProject;

    ASSERT_TRUE(WriteWholeFile("odd.smc", std::vector<std::uint8_t>(0x100200, 0)));
    SyntheticImage(SyntheticImage::k4MB, Region::Unknown).WriteFile("unknown.smc");
    const std::pair<const char*, const char*> cases[] = {
        {"odd.smc", kSizeMessage},
        {"missing.smc", "Could not open file."},
        {"unknown.smc",
         "This ROM is not supported or invalid.\nOnly the German, Spanish, Japanese and UK "
         "version are supported."}};
    for (const auto& [file, message] : cases) {
        prompts.yesNoAnswers.push_back(true);
        prompts.fileAnswers.push_back(file);
        EXPECT_FALSE(NewProjectCommand(prompts));
        EXPECT_EQ(prompts.LastMessage(), message);
        EXPECT_EQ(currentProject, open);
    }

    // "No" at the question, or Cancel in the dialog, change nothing.
    prompts.yesNoAnswers.push_back(false);
    EXPECT_FALSE(NewProjectCommand(prompts));
    EXPECT_EQ(prompts.questions.back(), "Create new project?");
    prompts.yesNoAnswers.push_back(true);
    EXPECT_FALSE(NewProjectCommand(prompts));
    EXPECT_EQ(currentProject, open);
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST_F(ProjectCommands, SaveAsAppendsTheExtensionUnlessThePathHasIt) {
    EXPECT_EQ(WithProjectExtension("proj"), "proj.qmp");
    EXPECT_EQ(WithProjectExtension("proj.QMP"), "proj.QMP");
    EXPECT_EQ(WithProjectExtension("UPPER.Qmp.bak"), "UPPER.Qmp.bak");
    EXPECT_EQ(WithProjectExtension("x.qmp.bak"), "x.qmp.bak");

    NewFrom(SyntheticImage(SyntheticImage::k1MB, Region::ReleaseM));
    prompts.fileAnswers.push_back("proj");
    SaveProjectAsCommand(prompts);
    EXPECT_EQ(FileSize("proj.qmp"), kProjectHeaderSize + 0x100000u);
}

TEST_F(ProjectCommands, OpenReplacesTheProjectOnlyOnSuccess) {
    NewFrom(SyntheticImage(SyntheticImage::k4MB, Region::UK));
    ASSERT_TRUE(SaveProject(*currentProject, "good.qmp", prompts));
    currentProject->Write8(0x100, 0x99);
    ProjectContext* open = currentProject;

    // A failed open keeps the project that was open, and no ".qmp" is appended.
    ASSERT_TRUE(WriteWholeFile("notes", std::vector<std::uint8_t>(40, 'x')));
    prompts.yesNoAnswers.push_back(true);
    prompts.fileAnswers.push_back("notes");
    EXPECT_FALSE(OpenProjectCommand(prompts));
    EXPECT_EQ(prompts.LastMessage(), "This isn't a Quenmark project file.");
    EXPECT_EQ(prompts.questions.back(), "Open project?");
    EXPECT_EQ(currentProject, open);
    EXPECT_EQ(currentProject->Read8(0x100), 0x99);

    prompts.yesNoAnswers.push_back(true);
    prompts.fileAnswers.push_back("good.qmp");
    EXPECT_TRUE(OpenProjectCommand(prompts));
    EXPECT_NE(currentProject, nullptr);
    EXPECT_EQ(currentProject->Read8(0x100), 0);
    EXPECT_EQ(currentProject->regionIndex, 2u);
}

TEST_F(ProjectCommands, RomSaveAsWritesTheBareImage) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    image.Put24(0x3FFFFD, 0xABCDEF);
    NewFrom(image, true);
    prompts.fileAnswers.push_back("out.smc");
    SaveRomAsCommand(prompts);
    EXPECT_EQ(ReadWholeFile("out.smc"), image.Bytes());

    prompts.fileAnswers.push_back("no/such/dir/out.smc");
    SaveRomAsCommand(prompts);
    EXPECT_EQ(prompts.LastMessage(), "Could not save ROM.");
}

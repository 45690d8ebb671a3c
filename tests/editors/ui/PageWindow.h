#pragma once

#include <filesystem>

#include <gtest/gtest.h>

#include "app/ui/CQuenmarkDlg.h"
#include "project/ProjectContext.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

// The main window, with File > New answered by a synthetic image.
class PageWindow : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void NewProject(const SyntheticImage& image) {
        image.WriteFile("pages.smc");
        if (currentProject != nullptr) {
            prompts.yesNoAnswers.push_back(true);
        }
        prompts.fileAnswers.push_back(std::filesystem::path("pages.smc"));
        window.Action("fileNew")->trigger();
        ASSERT_NE(currentProject, nullptr);
    }

    ScriptedPrompts prompts;
    CQuenmarkDlg window{prompts};
};

#pragma once

#include "platform/Prompts.h"

// Prompts that answer nothing: messages are dropped, questions answered "No", dialogs cancelled.
class NullPrompts : public Prompts {
public:
    void ShowMessage(const std::string&, const std::string& = {}) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string&,
                                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string&,
                                                        const std::string&) override {
        return std::nullopt;
    }
    bool OpenUrl(const std::string&) override { return true; }
};

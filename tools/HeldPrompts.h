#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Prompts.h"

// Prompts for an operation that may still be undone as a whole: its messages wait until Release
// shows them, in order, through the prompts it wraps; a refused operation drops them and says
// only why it was refused. Questions, file choices and links go straight through.
class HeldPrompts : public Prompts {
public:
    explicit HeldPrompts(Prompts& shown) : shown_(shown) {}

    void ShowMessage(const std::string& text, const std::string& caption = {}) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                        const std::string& filter) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::string& filter) override;
    bool OpenUrl(const std::string& url) override;

    void Release();

private:
    Prompts& shown_;
    std::vector<std::pair<std::string, std::string>> held_;
};

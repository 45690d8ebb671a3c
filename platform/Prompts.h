#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The one door to the person: messages, questions, file choices and web links.
// The application answers through Qt dialogs; tests answer from a script.
// Texts are UTF-8.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A plain message with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption = {}) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // Filters use the classic "Label|*.a;*.b|Label|*.*|" form.
    virtual std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                                const std::string& filter) = 0;
    // Asks before overwriting an existing file.
    virtual std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                                const std::string& filter) = 0;
    // False when no browser could be started for it.
    virtual bool OpenUrl(const std::string& url) = 0;
};

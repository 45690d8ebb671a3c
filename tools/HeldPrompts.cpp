#include "tools/HeldPrompts.h"

void HeldPrompts::ShowMessage(const std::string& text, const std::string& caption) {
    held_.emplace_back(text, caption);
}

bool HeldPrompts::AskYesNo(const std::string& text, const std::string& caption) {
    return shown_.AskYesNo(text, caption);
}

std::optional<std::filesystem::path> HeldPrompts::ChooseOpenFile(const std::string& title,
                                                                 const std::string& filter) {
    return shown_.ChooseOpenFile(title, filter);
}

std::optional<std::filesystem::path> HeldPrompts::ChooseSaveFile(const std::string& title,
                                                                 const std::string& filter) {
    return shown_.ChooseSaveFile(title, filter);
}

bool HeldPrompts::OpenUrl(const std::string& url) {
    return shown_.OpenUrl(url);
}

void HeldPrompts::Release() {
    for (const auto& [text, caption] : held_) {
        shown_.ShowMessage(text, caption);
    }
    held_.clear();
}

#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompts.h"

// Prompts that answer from queues and record everything they were asked. An empty queue
// answers "No" and "Cancel".
class ScriptedPrompts : public Prompts {
public:
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::filesystem::path>> fileAnswers;

    std::vector<std::string> messages;
    std::vector<std::string> captions;      // of the messages, in the same order
    std::vector<std::string> questions;     // captions of the Yes/No questions
    std::vector<std::string> dialogTitles;  // titles of the file dialogs
    std::vector<std::string> dialogFilters;
    std::vector<std::string> openedUrls;

    void ShowMessage(const std::string& text, const std::string& caption = {}) override {
        messages.push_back(text);
        captions.push_back(caption);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(caption);
        return Pop(yesNoAnswers, false);
    }
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                        const std::string& filter) override {
        dialogTitles.push_back(title);
        dialogFilters.push_back(filter);
        return Pop(fileAnswers, std::optional<std::filesystem::path>{});
    }
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::string& filter) override {
        return ChooseOpenFile(title, filter);
    }
    // Whether a browser opens the links; false plays a system without one.
    bool browserOpens = true;
    bool OpenUrl(const std::string& url) override {
        openedUrls.push_back(url);
        return browserOpens;
    }

    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }

private:
    template <typename T>
    static T Pop(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

#pragma once

#include <QString>

#include "platform/Prompts.h"

class QWidget;

// Prompts through Qt's message boxes, file dialogs and the desktop's browser.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(const std::string& text, const std::string& caption = {}) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                        const std::string& filter) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::string& filter) override;
    bool OpenUrl(const std::string& url) override;

private:
    QWidget* owner_;
};

// "Label (*.a;*.b)|*.a;*.b|All Files (*.*)|*.*|" as a Qt name filter list.
QString ToQtFileFilter(const std::string& filter);

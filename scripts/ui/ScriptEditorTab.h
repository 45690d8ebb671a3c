#pragma once

#include <string>

#include <QWidget>

class Prompts;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Script Editor" page: script commands typed into a text box are compiled into the image
// at the game address given beside it.
class ScriptEditorTab : public QWidget {
    Q_OBJECT
public:
    explicit ScriptEditorTab(Prompts& prompts, QWidget* parent = nullptr);

    // The "Compile" button.
    void OnCompile();

private:
    void ReadControls();
    void WriteControls();

    Prompts& prompts_;
    std::string scriptText_;
    std::string scriptOffset_ = "0x1086E2";
    bool header_ = false;
    bool noRtl_ = false;

    QPlainTextEdit* script_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QCheckBox* headerBox_ = nullptr;
    QCheckBox* noRtlBox_ = nullptr;
    QPushButton* compile_ = nullptr;
};

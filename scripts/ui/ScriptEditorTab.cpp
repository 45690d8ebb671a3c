#include "scripts/ui/ScriptEditorTab.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Prompts.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptCompiler.h"

ScriptEditorTab::ScriptEditorTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("ScriptEditorTab");

    script_ = new QPlainTextEdit;
    script_->setObjectName("script");
    script_->setLineWrapMode(QPlainTextEdit::NoWrap);
    script_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    script_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Monospace");
    font.setStyleHint(QFont::Monospace);
    script_->setFont(font);

    offset_ = new QLineEdit;
    offset_->setObjectName("scriptOffset");
    offset_->setMaximumWidth(110);
    headerBox_ = new QCheckBox("Header");
    headerBox_->setObjectName("header");
    noRtlBox_ = new QCheckBox("No RTL");
    noRtlBox_->setObjectName("noRtl");
    compile_ = new QPushButton("Compile");
    compile_->setObjectName("compile");
    compile_->setDefault(true);

    auto* side = new QGridLayout;
    side->addWidget(new QLabel("Script offset:"), 0, 0);
    side->addWidget(offset_, 0, 1);
    side->addWidget(headerBox_, 1, 1);
    side->addWidget(noRtlBox_, 2, 1);
    side->setRowStretch(3, 1);
    side->addWidget(compile_, 4, 1, Qt::AlignRight);
    auto* page = new QHBoxLayout(this);
    page->addWidget(script_, 1);
    page->addLayout(side);

    // Enter in the offset box does not compile; only the button does.
    connect(compile_, &QPushButton::clicked, this, &ScriptEditorTab::OnCompile);
    WriteControls();
}

void ScriptEditorTab::ReadControls() {
    scriptText_ = script_->toPlainText().toStdString();
    scriptOffset_ = offset_->text().toStdString();
    header_ = headerBox_->isChecked();
    noRtl_ = noRtlBox_->isChecked();
}

void ScriptEditorTab::WriteControls() {
    const QString text = QString::fromStdString(scriptText_);
    if (script_->toPlainText() != text) {
        script_->setPlainText(text);
    }
    offset_->setText(QString::fromStdString(scriptOffset_));
    headerBox_->setChecked(header_);
    noRtlBox_->setChecked(noRtl_);
}

void ScriptEditorTab::OnCompile() {
    ReadControls();
    if (currentProject != nullptr && currentProject->HasImage()) {
        // An offset that cannot be read is refused: read as 0, the script would land over the
        // start of the image.
        FieldReader reader;
        const auto address = static_cast<std::uint32_t>(
            reader.Read(scriptOffset_, "Script offset", 0, 0xFFFFFF, NumberBase::Hexadecimal));
        if (!reader.Ok()) {
            prompts_.ShowMessage(reader.Error());
        } else if (const ScriptCompileResult result =
                       CompileScript(*currentProject, scriptText_, address, noRtl_, header_);
                   !result.message.empty()) {
            prompts_.ShowMessage(result.message);
        }
    }
    WriteControls();
}

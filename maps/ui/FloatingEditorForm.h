#pragma once

#include <string>
#include <vector>

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

// Building blocks of the floating editors' windows.

// A modeless window of its own that is deleted when it closes. Given an owner, it stays above
// the owner's window (so a click on the map does not hide it) and closes with it.
inline void MakeFloatingWindow(QDialog* window, const char* objectName, const char* title) {
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
}

// A caption and its edit field in a row of the grid, starting at `column`.
inline QLineEdit* AddField(QGridLayout* grid, int row, int column, const char* caption,
                           const char* objectName, bool readOnly = false) {
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setReadOnly(readOnly);
    grid->addWidget(new QLabel(caption), row, column);
    grid->addWidget(edit, row, column + 1);
    return edit;
}

inline QPushButton* MakeButton(const char* text, const char* objectName, bool enabled = true) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    return button;
}

inline std::string FieldOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

inline void ShowField(QLineEdit* edit, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (edit->text() != value) {
        edit->setText(value);
    }
}

// The entries and the selection of a combo box, set without reporting a selection change.
inline void ShowEntries(QComboBox* combo, const std::vector<std::string>& entries, int index) {
    const QSignalBlocker quiet(combo);
    QStringList texts;
    for (const std::string& entry : entries) {
        texts << QString::fromStdString(entry);
    }
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    if (shown != texts) {
        combo->clear();
        combo->addItems(texts);
    }
    combo->setCurrentIndex(index);
}

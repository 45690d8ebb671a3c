#include "platform/ui/QtPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace {

QString Caption(const std::string& caption) {
    return caption.empty() ? QApplication::applicationName() : QString::fromStdString(caption);
}

std::optional<std::filesystem::path> ToPath(const QString& chosen) {
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

}  // namespace

QString ToQtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const qsizetype paren = label.indexOf('(');
        if (paren >= 0) {
            label = label.left(paren).trimmed();
        }
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (patterns == "*.*") {
            patterns = "*";
        }
        filters << QString("%1 (%2)").arg(label, patterns);
    }
    return filters.join(";;");
}

void QtPrompts::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox::information(owner_, Caption(caption), QString::fromStdString(text));
}

bool QtPrompts::AskYesNo(const std::string& text, const std::string& caption) {
    return QMessageBox::question(owner_, Caption(caption), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::filesystem::path> QtPrompts::ChooseOpenFile(const std::string& title,
                                                               const std::string& filter) {
    return ToPath(QFileDialog::getOpenFileName(owner_, QString::fromStdString(title), QString(),
                                               ToQtFileFilter(filter)));
}

std::optional<std::filesystem::path> QtPrompts::ChooseSaveFile(const std::string& title,
                                                               const std::string& filter) {
    return ToPath(QFileDialog::getSaveFileName(owner_, QString::fromStdString(title), QString(),
                                               ToQtFileFilter(filter)));
}

bool QtPrompts::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

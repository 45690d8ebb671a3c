#pragma once

#include <string>

#include <QDialog>

class Prompts;

// Opens a web address in the browser; says so when no browser could be opened.
void OpenWebAddress(Prompts& prompts, const std::string& url);

// The About box: icon, version, the maker's notice and a link to the web site.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(Prompts& prompts, QWidget* parent = nullptr);

private:
    void OnLinkClick(const QString& link);

    Prompts& prompts_;
};

#pragma once

#include <QDialog>

class Prompts;

// The About box: icon, version, the maker's notice and a link to the web site.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(Prompts& prompts, QWidget* parent = nullptr);

private:
    void OnLinkClick(const QString& link);

    Prompts& prompts_;
};

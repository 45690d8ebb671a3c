#include "app/ui/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/AppInfo.h"
#include "platform/Prompts.h"

CAboutDlg::CAboutDlg(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setWindowTitle("About Quenmark");
    setObjectName("CAboutDlg");

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/quenmark.png"));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel("Quenmark Version 3.2 beta", this);
    auto* notice = new QLabel(
        "An editor for the maps, scripts, texts and data of Terranigma.\n"
        "Use it only with a ROM image that you dumped yourself.",
        this);
    auto* link = new QLabel(
        QString("<a href=\"%1\">%1</a>").arg(QString::fromStdString(std::string(kWebSiteUrl))),
        this);
    link->setObjectName("link");
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &CAboutDlg::OnLinkClick);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(version);
    text->addWidget(notice);
    text->addWidget(link);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void OpenWebAddress(Prompts& prompts, const std::string& url) {
    if (!prompts.OpenUrl(url)) {
        prompts.ShowMessage("No web browser could be opened for " + url + ".");
    }
}

void CAboutDlg::OnLinkClick(const QString& link) {
    OpenWebAddress(prompts_, link.toStdString());
}

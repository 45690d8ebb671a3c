#include <QApplication>

#include "app/ui/CQuenmarkDlg.h"
#include "platform/ui/QtPrompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quenmark");
    Q_INIT_RESOURCE(quenmark);

    QtPrompts prompts;
    CQuenmarkDlg window(prompts);
    prompts.SetOwner(&window);
    window.show();
    return QApplication::exec();
}

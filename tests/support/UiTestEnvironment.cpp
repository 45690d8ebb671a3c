#include <QApplication>

#include "tests/support/TestEnvironment.h"

void InitTestEnvironment(int& argc, char** argv) {
    // The widgets run without a display, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication app(argc, argv);
    Q_INIT_RESOURCE(quenmark);
}

#include <memory>

#include <QApplication>

#include "tests/support/TestEnvironment.h"

namespace {
std::unique_ptr<QApplication> application;
}  // namespace

void InitTestEnvironment(int& argc, char** argv) {
    // The widgets run without a display, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    application = std::make_unique<QApplication>(argc, argv);
    Q_INIT_RESOURCE(quenmark);
}

// The application object ends with the test run, before the process's static objects: input
// devices that Qt makes on demand are its children and reach into those statics as they go.
void FinishTestEnvironment() {
    application.reset();
}

#include <memory>

#include <QApplication>

#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"

namespace {

// The application object ends with the test run, before the process's static objects: input
// devices that Qt makes on demand are its children and reach into those statics as they go.
class ApplicationEnvironment : public ::testing::Environment {
public:
    ApplicationEnvironment(int& argc, char** argv)
        : app_(std::make_unique<QApplication>(argc, argv)) {}
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace

void InitTestEnvironment(int& argc, char** argv) {
    // The widgets run without a display, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment(argc, argv));
    Q_INIT_RESOURCE(quenmark);
}

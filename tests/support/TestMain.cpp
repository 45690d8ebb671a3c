#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/Trace.h"
#include "tests/support/TestEnvironment.h"

// Every test process works in a scratch folder of its own, since the editor writes its dump
// files into the working folder and CTest runs tests side by side. Trace lines are silenced
// unless QUENMARK_TRACE is set.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    SetTraceEnabled(std::getenv("QUENMARK_TRACE") != nullptr);

    namespace fs = std::filesystem;
    const fs::path scratch = fs::current_path() / ("scratch-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    fs::current_path(scratch);
    InitTestEnvironment(argc, argv);

    const int result = RUN_ALL_TESTS();
    FinishTestEnvironment();
    fs::current_path(scratch.parent_path());
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}

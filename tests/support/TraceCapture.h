#pragma once

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/Trace.h"

// Runs `action` with trace lines on and returns what it printed on standard output.
template <typename Action>
std::string CaptureTrace(Action&& action) {
    SetTraceEnabled(true);
    testing::internal::CaptureStdout();
    action();
    std::string printed = testing::internal::GetCapturedStdout();
    SetTraceEnabled(std::getenv("QUENMARK_TRACE") != nullptr);
    return printed;
}

#include "platform/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<bool> traceEnabled{true};
}

void Trace(const char* format, ...) {
    if (!traceEnabled.load(std::memory_order_relaxed)) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void SetTraceEnabled(bool enabled) {
    traceEnabled.store(enabled, std::memory_order_relaxed);
}

#pragma once

// Diagnostic trace lines on standard output, printf-style. Tests silence them.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void SetTraceEnabled(bool enabled);

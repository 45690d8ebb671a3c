#pragma once

#include <string>

// A printf-style text as a string, of whatever length it comes to.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

#pragma once

#include <string>
#include <string_view>

// A printf-style text as a string, of whatever length it comes to.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The text between double quotes.
std::string QuotedText(std::string_view text);

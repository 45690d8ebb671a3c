#include "project/NumberText.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::int32_t ParseNumberText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    const bool hex =
        text.find("0x") != std::string_view::npos || text.find("0X") != std::string_view::npos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (hex) {
        if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
            i += 2;
        }
        std::uint32_t value = 0;
        for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
            value = value * 16 + static_cast<std::uint32_t>(HexDigit(text[i]));
        }
        // A minus negates the unsigned value, as the C library's conversion does.
        return static_cast<std::int32_t>(negative ? 0u - value : value);
    }

    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMax + 1) {
            value = kMax + 1;  // keep going over the digits, the result saturates
        }
    }
    value = negative ? -value : value;
    if (value > kMax) {
        return static_cast<std::int32_t>(kMax);
    }
    if (value < kMin) {
        return static_cast<std::int32_t>(kMin);
    }
    return static_cast<std::int32_t>(value);
}

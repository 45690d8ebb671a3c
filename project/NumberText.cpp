#include "project/NumberText.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

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

std::optional<std::int64_t> ReadNumberText(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    std::string_view run = text.substr(begin, end - begin);
    bool negative = false;
    if (!run.empty() && (run[0] == '+' || run[0] == '-')) {
        negative = run[0] == '-';
        run.remove_prefix(1);
    }
    int base = 10;
    if (run.size() >= 2 && run[0] == '0' && (run[1] == 'x' || run[1] == 'X')) {
        base = 16;
        run.remove_prefix(2);
    }
    if (run.empty()) {
        return std::nullopt;
    }
    // Gathered as a negative number so that the int64 minimum is readable too.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (char c : run) {
        const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0 || value < (kMin + digit) / base) {
            return std::nullopt;
        }
        value = value * base - digit;
    }
    if (!negative) {
        if (value == kMin) {
            return std::nullopt;
        }
        value = -value;
    }
    return value;
}

std::string HexRangeText(std::uint32_t minimum, std::uint32_t maximum, int leastDigits) {
    int digits = std::max(leastDigits, 2);
    while (digits < 8 && (maximum >> (4 * digits)) != 0) {
        digits += 2;
    }
    char text[40];
    std::snprintf(text, sizeof text, "0x%0*X to 0x%0*X", digits, minimum, digits, maximum);
    return text;
}

void FieldReader::Refuse(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message);
    }
}

std::int64_t FieldReader::Read(std::string_view text, std::string_view field, std::int64_t minimum,
                               std::int64_t maximum, NumberBase base) {
    const std::optional<std::int64_t> value = ReadNumberText(text);
    if (value && *value >= minimum && *value <= maximum) {
        return *value;
    }
    const bool hex = base == NumberBase::Hexadecimal && minimum >= 0 &&
                     maximum <= std::numeric_limits<std::uint32_t>::max();
    const std::string range =
        hex ? HexRangeText(static_cast<std::uint32_t>(minimum), static_cast<std::uint32_t>(maximum))
            : std::to_string(minimum) + " to " + std::to_string(maximum);
    Refuse(std::string(field) + " must be a number from " + range + "; \"" + std::string(text) +
           "\" is not.");
    return minimum;
}

std::int64_t FieldReader::ReadOptional(std::string_view text, std::string_view field,
                                       std::int64_t minimum, std::int64_t maximum,
                                       NumberBase base) {
    if (std::all_of(text.begin(), text.end(), IsBlank)) {
        return 0;
    }
    return Read(text, field, minimum, maximum, base);
}

std::uint32_t FieldReader::ReadUnclamped(std::string_view text, std::string_view field,
                                         std::uint32_t maximum, Negative negative) {
    const std::optional<std::int64_t> value = ReadNumberText(text);
    const bool largest = negative == Negative::Largest;
    if (!value || (*value < 0 && !largest)) {
        const std::string most = std::to_string(maximum);
        Refuse(std::string(field) + " must be a whole number" + (largest ? "" : " from 0") +
               "; values above " + most + (largest ? ", and negative ones," : "") +
               " are stored as " + most + ". \"" + std::string(text) + "\" is not one.");
        return 0;
    }
    if (*value < 0) {
        return maximum;
    }
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(*value, std::numeric_limits<std::uint32_t>::max()));
}

std::string RefusedFieldMessage(const FieldReader& reader) {
    return reader.Error() + "\nNothing was saved.";
}

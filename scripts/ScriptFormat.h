#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// The printf-style item and log texts of the disassembler, filled without printf: the texts are
// table data, their placeholders (%u, %d, %X with zero fill and width, %s, %S) take the values
// the caller hands out one by one, and a walk writes tens of thousands of them.
struct FormatArg {
    FormatArg(std::uint32_t v = 0) : value(v) {}  // NOLINT: values convert as printf's do
    FormatArg(std::uint32_t v, std::string_view t) : value(v), text(t) {}

    std::uint32_t value;
    std::string_view text;
};

inline void AppendHex(std::string& out, std::uint32_t value, int width) {
    char digits[16];
    int at = 16;
    do {
        digits[--at] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (at > 16 - width && at > 0) {
        digits[--at] = '0';
    }
    out.append(digits + at, static_cast<std::size_t>(16 - at));
}

inline void AppendDecimal(std::string& out, std::int64_t value) {
    if (value < 0) {
        out += '-';
        value = -value;
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) {
        out += digits[--count];
    }
}

// Appends `format` to `out`; argFor(index, width) gives the value of the index-th placeholder,
// whose printed width (2, 4, 6 for %02X, %04X, %06X; 0 otherwise) some callers choose by.
template <typename ArgFor>
void AppendFormat(std::string& out, std::string_view format, ArgFor&& argFor) {
    int index = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            const std::size_t next = std::min(format.find('%', i + 1), format.size());
            out.append(format.substr(i, next - i));
            i = next - 1;
            continue;
        }
        int width = 0;
        std::size_t j = i + 1;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9') {
            width = width * 10 + (format[j] - '0');
            ++j;
        }
        if (j >= format.size()) {
            out.append(format.substr(i));
            return;
        }
        switch (format[j]) {
            case 'X':
                AppendHex(out, argFor(index++, width).value, width);
                break;
            case 'u':
                AppendDecimal(out, argFor(index++, 0).value);
                break;
            case 'd':
                AppendDecimal(out, static_cast<std::int32_t>(argFor(index++, 0).value));
                break;
            case 's':
            case 'S':
                out.append(argFor(index++, 0).text);
                break;
            default:
                out.append(format.substr(i, j + 1 - i));
                break;
        }
        i = j;
    }
}

// The common case: the values in order.
inline void AppendFormat(std::string& out, std::string_view format,
                         std::initializer_list<FormatArg> args) {
    AppendFormat(out, format, [&](int index, int) {
        return index < static_cast<int>(args.size()) ? args.begin()[index] : FormatArg{};
    });
}

#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

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

// Writes `value` in decimal at `out` (at most 20 characters) and returns the end.
inline char* WriteDecimal(char* out, std::int64_t value) {
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0 - magnitude;
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}

inline void AppendDecimal(std::string& out, std::int64_t value) {
    char text[20];
    out.append(text, WriteDecimal(text, value));
}

// Splits `format` into literal runs and placeholders, in order: literal(text) for text that is
// copied as it stands (unknown conversions included), placeholder(conversion, width) for %X,
// %u, %d, %s and %S with their printed width (2, 4, 6 for %02X, %04X, %06X; 0 otherwise).
template <typename Literal, typename Placeholder>
void ParseFormat(std::string_view format, Literal&& literal, Placeholder&& placeholder) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            const std::size_t next = std::min(format.find('%', i + 1), format.size());
            literal(format.substr(i, next - i));
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
            literal(format.substr(i));
            return;
        }
        switch (format[j]) {
            case 'X':
            case 'u':
            case 'd':
            case 's':
            case 'S':
                placeholder(format[j], width);
                break;
            default:
                literal(format.substr(i, j + 1 - i));
                break;
        }
        i = j;
    }
}

inline void AppendConversion(std::string& out, char conversion, int width, const FormatArg& arg) {
    switch (conversion) {
        case 'X':
            AppendHex(out, arg.value, width);
            break;
        case 'u':
            AppendDecimal(out, arg.value);
            break;
        case 'd':
            AppendDecimal(out, static_cast<std::int32_t>(arg.value));
            break;
        default:
            out.append(arg.text);
            break;
    }
}

// Appends `format` to `out`; argFor(index, width) gives the value of the index-th placeholder,
// whose printed width (2, 4, 6 for %02X, %04X, %06X; 0 otherwise) some callers choose by.
template <typename ArgFor>
void AppendFormat(std::string& out, std::string_view format, ArgFor&& argFor) {
    int index = 0;
    ParseFormat(
        format, [&](std::string_view text) { out.append(text); },
        [&](char conversion, int width) {
            AppendConversion(out, conversion, width, argFor(index++, width));
        });
}

// Writes a value as AppendHex, AppendDecimal or the text do, into room that the caller made.
inline char* WriteConversion(char* out, char conversion, int width, const FormatArg& arg) {
    switch (conversion) {
        case 'X': {
            std::uint32_t value = arg.value;
            int digits = 1;
            for (std::uint32_t rest = value >> 4; rest != 0; rest >>= 4) {
                ++digits;
            }
            const int count = std::max(digits, std::min(width, 16));
            for (int i = count - 1; i >= 0; --i) {
                out[i] = "0123456789ABCDEF"[value & 0xF];
                value >>= 4;
            }
            return out + count;
        }
        case 'u':
        case 'd': {
            return WriteDecimal(out, conversion == 'u' ? static_cast<std::int64_t>(arg.value)
                                                       : static_cast<std::int32_t>(arg.value));
        }
        default:
            return std::copy(arg.text.begin(), arg.text.end(), out);
    }
}

// A format parsed once, for the texts that a walk fills thousands of times: filling it copies
// its literal runs and writes its values without looking at the format again, and makes room
// in the output once.
class CompiledFormat {
public:
    explicit CompiledFormat(std::string format) : format_(std::move(format)) {
        const std::size_t length = format_.size();
        // Blocks of kBlock bytes are copied at once: the format and the room made in the
        // output have that much slack behind them.
        format_.append(kBlock, '\0');
        ParseFormat(
            std::string_view(format_).substr(0, length),
            [&](std::string_view text) {
                // Literal runs lie back to back in the format: one piece holds them all.
                if (pieces_.empty() || pieces_.back().conversion != 0) {
                    pieces_.push_back({Offset(text), 0, 0, 0});
                }
                pieces_.back().literalLength += static_cast<std::uint16_t>(text.size());
                longest_ += text.size();
            },
            [&](char conversion, int width) {
                if (pieces_.empty() || pieces_.back().conversion != 0) {
                    pieces_.push_back({0, 0, 0, 0});
                }
                pieces_.back().conversion = conversion;
                pieces_.back().width = static_cast<std::uint8_t>(std::min(width, 16));
                if (conversion == 's' || conversion == 'S') {
                    hasText_ = true;
                } else {
                    longest_ += std::max(width, 16);  // wider than any 32-bit value is printed
                }
            });
    }

    // Appends the text; argFor(index, width) gives the value of the index-th placeholder.
    template <typename ArgFor>
    void AppendTo(std::string& out, ArgFor&& argFor) const {
        std::size_t room = longest_ + kBlock;
        if (hasText_) {
            int index = 0;
            for (const Piece& piece : pieces_) {
                if (piece.conversion == 's' || piece.conversion == 'S') {
                    room += argFor(index, piece.width).text.size();
                }
                index += piece.conversion != 0 ? 1 : 0;
            }
        }
        const std::size_t start = out.size();
        out.resize(start + room);
        char* const begin = out.data();
        char* at = begin + start;
        int index = 0;
        for (const Piece& piece : pieces_) {
            // Whole blocks, a fixed size the compiler copies inline; the bytes copied past the
            // literal are overwritten or cut off.
            const char* literal = format_.data() + piece.literalStart;
            for (std::size_t done = 0; done < piece.literalLength; done += kBlock) {
                std::memcpy(at + done, literal + done, kBlock);
            }
            at += piece.literalLength;
            if (piece.conversion != 0) {
                at = WriteConversion(at, piece.conversion, piece.width,
                                     argFor(index++, piece.width));
            }
        }
        out.resize(static_cast<std::size_t>(at - begin));
    }

    // The same with args[i] for the i-th placeholder; placeholders beyond `count` show 0 or
    // nothing.
    void AppendTo(std::string& out, const FormatArg* args, int count) const {
        AppendTo(out, [&](int index, int) { return index < count ? args[index] : FormatArg{}; });
    }
    void AppendTo(std::string& out, std::initializer_list<FormatArg> args) const {
        AppendTo(out, args.begin(), static_cast<int>(args.size()));
    }

private:
    // A literal run, then the placeholder after it (conversion 0: none, the format ends).
    struct Piece {
        std::uint16_t literalStart;
        std::uint16_t literalLength;
        char conversion;
        std::uint8_t width;
    };

    std::uint16_t Offset(std::string_view text) const {
        return static_cast<std::uint16_t>(text.data() - format_.data());
    }

    static constexpr std::size_t kBlock = 16;

    std::string format_;
    std::vector<Piece> pieces_;
    std::size_t longest_ = 0;  // the longest text without the placeholders' texts
    bool hasText_ = false;
};

// The common case: the values in order.
inline void AppendFormat(std::string& out, std::string_view format,
                         std::initializer_list<FormatArg> args) {
    AppendFormat(out, format, [&](int index, int) {
        return index < static_cast<int>(args.size()) ? args.begin()[index] : FormatArg{};
    });
}

#include "scripts/GameTextEncoder.h"

#include <algorithm>
#include <optional>

#include "scripts/TextDecoder.h"

namespace {

constexpr std::uint8_t kLineBreak = 0xCF;
constexpr std::uint8_t kWait = 0xD5;
constexpr std::uint8_t kShiftOn = 0xD0;
constexpr std::uint8_t kShiftOff = 0xD1;
constexpr std::uint8_t kEnd = 0xD3;
constexpr std::uint8_t kEndFramed = 0xD4;
// Frame on, automatic frame.
constexpr std::uint8_t kHead[] = {0xC4, 0x01, 0xDA};
// A Japanese text opening with "!": frame off, a window of its own, sound off, speed 5.
constexpr std::uint8_t kFramedHead[] = {0xC4, 0x00, 0xC2, 0x0A, 0x08, 0x0B,
                                        0x0C, 0xC7, 0xFF, 0xC8, 0x05};

// Collects the characters left out, each once.
class Dropped {
public:
    explicit Dropped(std::string* out) : out_(out) {
        if (out_ != nullptr) {
            out_->clear();
        }
    }
    void Add(std::string_view character) {
        if (out_ == nullptr) {
            return;
        }
        if (std::find(seen_.begin(), seen_.end(), character) == seen_.end()) {
            seen_.emplace_back(character);
            out_->append(character);
        }
    }

private:
    std::string* out_;
    std::vector<std::string> seen_;
};

// The character at `at` (a byte and the UTF-8 continuation bytes after it) reported as left
// out; returns where the next one starts.
std::size_t Drop(std::string_view text, std::size_t at, std::string_view prefix, Dropped& dropped) {
    std::size_t next = at + 1;
    while (next < text.size() && (static_cast<std::uint8_t>(text[next]) & 0xC0) == 0x80) {
        ++next;
    }
    std::string character(prefix);
    character += text.substr(at, next - at);
    dropped.Add(character);
    return next;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The byte of a "{XX}" glyph form at `at`, as the decoder writes it.
std::optional<std::uint8_t> GlyphForm(std::string_view text, std::size_t at) {
    if (text.size() - at < 4 || text[at] != '{' || text[at + 3] != '}') {
        return std::nullopt;
    }
    const int high = HexDigit(text[at + 1]);
    const int low = HexDigit(text[at + 2]);
    if (high < 0 || low < 0 || !IsWesternGlyphByte(static_cast<std::uint8_t>(high * 16 + low))) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(high * 16 + low);
}

// The western byte of a plain character, 0 when the font has none for it.
std::uint8_t WesternByte(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return static_cast<std::uint8_t>(c - 0x20);
    }
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c + 0x33);
    }
    switch (c) {
        case ' ':
            return 0x20;
        case '!':
            return 0x6D;
        case ',':
            return 0x6E;
        case '.':
            return 0x7F;
        case '?':
            return 0x60;
        default:
            return 0;
    }
}

// A character of the Japanese fonts: its byte and whether it is in the shifted font.
struct JapaneseByte {
    std::uint8_t byte = 0;
    bool shifted = false;
};

std::optional<JapaneseByte> JapaneseCharacter(char c) {
    if (c >= 'A' && c <= 'Z') {
        return JapaneseByte{static_cast<std::uint8_t>(c - 0x20), false};
    }
    if (c >= 'a' && c <= 'z') {
        return JapaneseByte{static_cast<std::uint8_t>(c - 0x40), true};
    }
    if (c >= '0' && c <= '9') {
        return JapaneseByte{static_cast<std::uint8_t>(c + 0x43), false};
    }
    switch (c) {
        case ' ':
            return JapaneseByte{0x20, false};
        case '!':
            return JapaneseByte{0x7D, false};
        case '?':
            return JapaneseByte{0x0F, false};
        case '.':
            return JapaneseByte{0x7E, true};
        default:
            return std::nullopt;
    }
}

// Walks the text, handing escapes and characters to the path's writer. `write` gets a
// character and returns false when it cannot write it; `escape` gets the byte of "\n" or "\w".
template <typename Write, typename Escape>
void Walk(std::string_view text, Dropped& dropped, Write&& write, Escape&& escape) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\\') {
            if (i + 1 == text.size()) {
                dropped.Add("\\");
                return;
            }
            const char next = text[i + 1];
            if (next == 'n' || next == 'w') {
                escape(next == 'n' ? kLineBreak : kWait);
                i += 2;
            } else {
                i = Drop(text, i + 1, "\\", dropped);
            }
        } else if (write(text, i)) {
            ++i;
        } else {
            i = Drop(text, i, "", dropped);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeGameText(std::string_view text, std::uint32_t regionIndex,
                                         std::string* unencodable) {
    Dropped dropped(unencodable);
    std::vector<std::uint8_t> out;
    out.reserve(2 * text.size() + sizeof kFramedHead + 2);

    if (regionIndex != 0 && regionIndex != 5) {
        out.assign(std::begin(kHead), std::end(kHead));
        Walk(
            text, dropped,
            [&](std::string_view t, std::size_t& at) {
                if (const auto glyph = GlyphForm(t, at)) {
                    out.push_back(*glyph);
                    at += 3;
                    return true;
                }
                const std::uint8_t byte = WesternByte(t[at]);
                if (byte != 0) {
                    out.push_back(byte);
                }
                return byte != 0;
            },
            [&](std::uint8_t code) { out.push_back(code); });
        out.push_back(kEnd);
        return out;
    }

    std::uint8_t end = kEnd;
    if (!text.empty() && text.front() == '!') {
        out.assign(std::begin(kFramedHead), std::end(kFramedHead));
        text.remove_prefix(1);
        end = kEndFramed;
    } else {
        out.assign(std::begin(kHead), std::end(kHead));
    }
    bool shifted = false;
    Walk(
        text, dropped,
        [&](std::string_view t, std::size_t& at) {
            const auto character = JapaneseCharacter(t[at]);
            if (!character) {
                return false;
            }
            if (character->shifted != shifted) {
                out.push_back(character->shifted ? kShiftOn : kShiftOff);
                shifted = character->shifted;
            }
            out.push_back(character->byte);
            return true;
        },
        [&](std::uint8_t code) {
            // Inside a shifted run every byte but 0xD1 reads as a character of the shifted
            // font, so the run is closed before a line break or wait.
            if (shifted) {
                out.push_back(kShiftOff);
                shifted = false;
            }
            out.push_back(code);
        });
    if (shifted) {
        out.push_back(kShiftOff);
    }
    out.push_back(end);
    return out;
}

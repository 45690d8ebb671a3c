#include "scripts/TextDecoder.h"

#include <algorithm>
#include <cstdio>

#include "platform/Trace.h"
#include "project/ByteAccess.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextTables.h"

namespace {

// Bytes of a frame definition after its control byte: position and size of the window.
constexpr std::uint32_t kFrameOperandBytes = 4;

bool IsJapaneseRegion(std::uint32_t region) {
    return region == 0 || region == 5;
}

using WesternFont = std::array<char16_t, 128>;

// The common font, then the fonts of region indexes 3 and 6 with their accents in place.
constexpr std::array<WesternFont, 3> MakeWesternFonts() {
    std::array<WesternFont, 3> fonts{kWesternCharTable, kWesternCharTable, kWesternCharTable};
    for (const WesternAccent& accent : kWesternAccents) {
        fonts[1][accent.byte] = accent.region3;
        fonts[2][accent.byte] = accent.region6;
    }
    return fonts;
}
constexpr std::array<WesternFont, 3> kWesternFonts = MakeWesternFonts();

const WesternFont& WesternTable(std::uint32_t region) {
    switch (region) {
        case 3:
            return kWesternFonts[1];
        case 6:
            return kWesternFonts[2];
        default:
            return kWesternFonts[0];
    }
}

bool IsGlyphUnit(char16_t unit) {
    return unit >= 0x80 && unit < 0xA0;
}

char16_t Kanji(std::uint8_t first, std::uint8_t second) {
    return JapaneseWideCharTable[((first << 8) | second) & 0x3FF];
}

}  // namespace

bool IsWesternGlyphByte(std::uint8_t byte) {
    return byte < 0x80 && IsGlyphUnit(kWesternCharTable[byte]);
}

TextDecoder::TextDecoder(const ProjectContext& project) : project_(project) {
    units_.reserve(kMaxUnits);
}

const std::u16string& TextDecoder::DecodeAt(std::uint32_t address, bool quiet) {
    quiet_ = quiet;
    cursor_ = project_.WrapRomOffset(address);
    units_.clear();
    levelUnits_ = 0;
    depth_ = 0;
    budget_ = kMaxScannedBytes;
    while (DecodeElement()) {
    }
    return units_;
}

bool TextDecoder::ReadByte(std::uint8_t& value) {
    if (cursor_ >= project_.romImage.size() || budget_ == 0) {
        return false;
    }
    --budget_;
    value = project_.romImage[cursor_++];
    return true;
}

bool TextDecoder::ReadWord(std::uint16_t& value) {
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    if (!ReadByte(low) || !ReadByte(high)) {
        return false;
    }
    value = static_cast<std::uint16_t>(low | high << 8);
    return true;
}

void TextDecoder::Append(char16_t unit) {
    if (Full()) {
        return;
    }
    ++levelUnits_;
    if (units_.size() < kMaxUnits) {
        units_.push_back(unit);
    }
}

void TextDecoder::AppendAscii(std::string_view text) {
    for (const char c : text) {
        Append(static_cast<char16_t>(c));
    }
}

bool TextDecoder::DecodeElement() {
    std::uint8_t byte = 0;
    if (Full() || !ReadByte(byte)) {
        return false;
    }
    const std::uint32_t region = project_.regionIndex;
    if (IsJapaneseRegion(region)) {
        if (byte == 0xD0) {
            return DecodeShiftedRun();
        }
        if (byte < 0x80) {
            Append(JapaneseCharTable[byte]);
            return true;
        }
        if (byte < 0x84) {
            std::uint8_t second = 0;
            if (!ReadByte(second)) {
                return false;
            }
            Append(Kanji(byte, second));
            return true;
        }
    } else if (byte < 0x80) {
        const char16_t unit = WesternTable(region)[byte];
        if (IsGlyphUnit(unit)) {
            char form[8];
            std::snprintf(form, sizeof form, "{%02X}", byte);
            AppendAscii(form);
        } else {
            Append(unit);
        }
        return true;
    }
    return DecodeControl(byte);
}

bool TextDecoder::DecodeShiftedRun() {
    std::uint8_t c = 0;
    while (ReadByte(c)) {
        if (c == 0xD1) {
            return true;
        }
        if (c >= 0x80 && c < 0x84) {
            std::uint8_t second = 0;
            if (!ReadByte(second)) {
                return false;
            }
            Append(Kanji(c, second));
        } else {
            Append(JapaneseShiftCharTable[c]);
        }
        if (Full()) {
            return false;
        }
    }
    return false;
}

bool TextDecoder::DecodeControl(std::uint8_t byte) {
    const std::uint32_t code = byte & 0x3F;
    std::uint8_t operand = 0;
    std::uint16_t word = 0;
    char text[24];
    switch (code) {
        case 0x00:
            Trace("<TextFrameReset>\n");
            return true;
        case 0x01:
            Trace("<TextFrame:auto>\n");
            return true;
        case 0x02:
            for (std::uint32_t i = 0; i < kFrameOperandBytes; ++i) {
                if (!ReadByte(operand)) {
                    return false;
                }
            }
            return true;
        case 0x04:
            if (!ReadByte(operand)) {
                return false;
            }
            Trace("<TextFrame:%s>\n", operand != 0 ? "On" : "Off");
            return true;
        case 0x05:
        case 0x09:
            return ReadByte(operand);
        case 0x06:
            if (!ReadByte(operand)) {
                return false;
            }
            if (operand == 0) {
                Trace("<TextColor:White>\n");
            } else if (operand == 4) {
                Trace("<TextColor:Yellow>\n");
            } else {
                Trace("<TextColor:%02X>\n", operand);
            }
            return true;
        case 0x07:
            if (!ReadByte(operand)) {
                return false;
            }
            Trace("<TextSound:%s>\n", operand < 255 ? "On" : "Off");
            return true;
        case 0x08:
            if (!ReadByte(operand)) {
                return false;
            }
            Trace("<TextSpeed:%u>\n", static_cast<unsigned>(operand));
            return true;
        case 0x0A:
            return ReadByte(operand) && ReadWord(word);
        case 0x0B:
            return ReadWord(word);
        case 0x0C:
            if (!ReadByte(operand) || !ReadWord(word)) {
                return false;
            }
            Insert(static_cast<std::uint32_t>(operand) << 16 | word);
            return true;
        case 0x0D:
            if (!ReadWord(word)) {
                return false;
            }
            std::snprintf(text, sizeof text, "[7E%04X]", word);
            AppendAscii(text);
            return true;
        case 0x0E: {
            std::uint16_t second = 0;
            if (!ReadWord(word) || !ReadWord(second)) {
                return false;
            }
            std::snprintf(text, sizeof text, "[7E%04X,7E%04X]", word, second);
            AppendAscii(text);
            return true;
        }
        case 0x0F:
            Append(u' ');
            return true;
        case 0x10:
        case 0x11:
        case 0x1A:
        case 0x1C:
            return true;
        case 0x12:
            if (!ReadByte(operand)) {
                return false;
            }
            std::snprintf(text, sizeof text, "[%u]", static_cast<unsigned>(operand));
            AppendAscii(text);
            return true;
        case 0x13:
        case 0x14:
        case 0x17:
            if (!quiet_) {
                Trace("<end>\n");
                Trace("------------------------------------\n");
            }
            return false;
        case 0x15:
            Trace("<wait>\n");
            return true;
        case 0x25:
        case 0x26:
            if (!ReadByte(operand)) {
                return false;
            }
            InsertFromList(operand, code == 0x26);
            return true;
        default:
            Trace("<%02X,%02X>", code * 2, byte);
            return true;
    }
}

void TextDecoder::InsertFromList(std::uint8_t index, bool listB) {
    const std::uint32_t table =
        project_.Table(listB ? RegionTable::TextInsertTableB : RegionTable::TextInsertTableA);
    if (table == 0) {
        return;  // this release has no such list
    }
    const std::uint32_t entry = table + 2 * index;
    if (!InRange(project_.romImage.size(), entry, 2)) {
        return;  // the image ends before the entry: there is no text to insert
    }
    const std::uint32_t bank =
        project_.Table(listB ? RegionTable::TextInsertBankB : RegionTable::TextInsertBankA);
    Insert(project_.Read16(entry) + bank);
}

void TextDecoder::Insert(std::uint32_t address) {
    if (depth_ >= kMaxNesting) {
        return;
    }
    const std::uint32_t resume = cursor_;
    const bool quiet = quiet_;
    const std::size_t outerUnits = levelUnits_;
    cursor_ = project_.WrapRomOffset(address);
    quiet_ = true;
    levelUnits_ = 0;
    ++depth_;
    while (DecodeElement()) {
    }
    --depth_;
    levelUnits_ = std::min(outerUnits + levelUnits_, kMaxUnits);
    quiet_ = quiet;
    cursor_ = resume;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

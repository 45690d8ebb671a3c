#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class ProjectContext;

// Turns the game's message text at an address into UTF-16. The character set follows the
// project's region index: 0 and 5 take the Japanese path, every other index the western one.
// Window control codes are traced, run-time values become bracketed placeholders, and codes
// that insert another text decode that text in turn. Every read is bounded by the image.
class TextDecoder {
public:
    // A text holds at most this many units; a longer one is cut there.
    static constexpr std::size_t kMaxUnits = 2047;
    // Inserted texts may insert texts themselves, this many levels deep; a deeper insert adds
    // nothing, so a text that inserts itself cannot recurse without end.
    static constexpr std::uint32_t kMaxNesting = 4;
    // One decode, inserted texts included, reads at most this many bytes of the image.
    static constexpr std::uint32_t kMaxScannedBytes = 0x10000;

    explicit TextDecoder(const ProjectContext& project);

    // Decodes the text at a game address or image offset (the address rule applies). The
    // result stays valid until the next DecodeAt on this decoder. A quiet decode prints no
    // end-of-text trace lines.
    const std::u16string& DecodeAt(std::uint32_t address, bool quiet = false);

    // The image offset just past the last byte the last decode read.
    std::uint32_t Cursor() const { return cursor_; }

private:
    bool ReadByte(std::uint8_t& value);
    bool ReadWord(std::uint16_t& value);
    void Append(char16_t unit);
    void AppendAscii(std::string_view text);
    // The text being decoded, an inserted one included, has reached its own capacity.
    bool Full() const { return levelUnits_ >= kMaxUnits; }
    // Decodes one element (a character, a shifted run or a control code); false once the text
    // ends: at an end code, at the capacity, at the image end or past the scan limit.
    bool DecodeElement();
    bool DecodeShiftedRun();
    bool DecodeControl(std::uint8_t byte);
    // Decodes the text at `address` quietly and appends it; the cursor comes back after. The
    // inserted text is decoded as a decoder of its own would decode it, up to its own capacity
    // and with all its trace lines, even when the text it goes into is already full.
    void Insert(std::uint32_t address);
    void InsertFromList(std::uint8_t index, bool listB);

    const ProjectContext& project_;
    std::uint32_t cursor_ = 0;
    std::u16string units_;
    // Units of the text at the current insert level (the outer text at level 0), counted up
    // to the capacity whether or not they still fit into `units_`.
    std::size_t levelUnits_ = 0;
    bool quiet_ = false;
    std::uint32_t depth_ = 0;
    std::uint32_t budget_ = 0;
};

// UTF-16 (as the decoder returns it) to UTF-8, for trees, logs and Qt's fromUtf8.
std::string Utf16ToUtf8(std::u16string_view text);

// A western text byte that the font draws as a glyph of its own, without a letter in Unicode,
// is shown as "{XX}" with the byte in upper-case hexadecimal; the encoder reads the form back.
bool IsWesternGlyphByte(std::uint8_t byte);

#pragma once

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
    explicit TextDecoder(const ProjectContext& project);

    // Decodes the text at a game address or image offset (the address rule applies). The
    // result stays valid until the next DecodeAt on this decoder. A quiet decode prints no
    // end-of-text trace lines.
    const std::u16string& DecodeAt(std::uint32_t address, bool quiet = false);

    // The image offset just past the last byte the last decode read.
    std::uint32_t Cursor() const { return cursor_; }

private:
    const ProjectContext& project_;
    std::uint32_t cursor_ = 0;
    std::u16string units_;
};

// UTF-16 (as the decoder returns it) to UTF-8, for trees, logs and Qt's fromUtf8.
std::string Utf16ToUtf8(std::u16string_view text);

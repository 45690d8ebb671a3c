#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Turns a short plain message (8-bit text with the escapes "\n" and "\w") into the game's text
// bytes for a region index: the head of control bytes, the characters and the end code.
// Characters the region's character set cannot write are left out of the bytes and, when
// `unencodable` is given, collected there so the caller can tell the person.
// `unencodable` receives each such character once (UTF-8, in order of first appearance; an
// unknown escape as its two characters), and is empty when everything was written.
std::vector<std::uint8_t> EncodeGameText(std::string_view text, std::uint32_t regionIndex,
                                         std::string* unencodable = nullptr);

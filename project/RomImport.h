#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class ProjectContext;

// The size of the copier header that a ROM file of this size carries (0 or 512), or nothing
// when the editor does not accept files of this size.
std::optional<std::uint32_t> CopierHeaderSize(std::uint64_t fileSize);

// The region index of an image (without copier header) from its internal header:
// 0 to 6 for the known releases, 7 when it is not recognised.
std::uint32_t DetectRegion(std::span<const std::uint8_t> image);

// Makes a freshly constructed project from an image without copier header and builds its exit
// and object lists; a 6 MB image gets its object lists moved to banks 0x50/0x51 and the bank
// bytes that send the game there. Returns the region index; 7 means the image was not
// recognised and nothing but the copy was done. When the lists could not be moved, `notice`
// receives the message that tells the person so.
std::uint32_t ImportRom(ProjectContext& project, std::span<const std::uint8_t> image,
                        std::string* notice = nullptr);

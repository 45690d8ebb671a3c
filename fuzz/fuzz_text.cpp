// Decoding game text at an arbitrary offset of a fuzzed image, in every region's character
// set, and encoding arbitrary text.
//
// Input: the text's address (u24), the number n of UTF-16 units to encode (u8), n
// little-endian units, then an image description. Every decoded text that the encoder can
// write completely must decode back to itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "project/ProjectContext.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/TextDecoder.h"

namespace {

constexpr std::size_t kPrefix = 4;
constexpr std::uint32_t kRegionIndexes = 8;

// Decodes encoded bytes on their own, as a one-text image.
std::u16string DecodeEncoded(const std::vector<std::uint8_t>& bytes, std::uint32_t region) {
    static ProjectContext scratch;
    scratch.romImage = bytes;
    scratch.romSize = static_cast<std::uint32_t>(bytes.size());
    scratch.regionIndex = region;
    TextDecoder decoder(scratch);
    return decoder.DecodeAt(0, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size < kPrefix) {
        return 0;
    }
    const std::uint32_t address =
        data[0] | data[1] << 8 | static_cast<std::uint32_t>(data[2]) << 16;
    const std::size_t units = data[3];
    if (size < kPrefix + 2 * units) {
        return 0;
    }
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i) {
        text += static_cast<char16_t>(data[kPrefix + 2 * i] | data[kPrefix + 2 * i + 1] << 8);
    }
    const std::string utf8 = Utf16ToUtf8(text);
    std::string missing;
    for (std::uint32_t region = 0; region < kRegionIndexes; ++region) {
        const auto bytes = EncodeGameText(utf8, region, &missing);
        if (bytes.size() < 4 || bytes.size() > 2 * utf8.size() + 14) {
            __builtin_trap();
        }
    }

    const std::size_t skip = kPrefix + 2 * units;
    std::vector<std::uint8_t>* image = pool.Build({data + skip, size - skip});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    TextDecoder decoder(project);
    for (std::uint32_t region = 0; region < kRegionIndexes; ++region) {
        project.regionIndex = region;
        const std::u16string& decoded = decoder.DecodeAt(address, region % 2 == 0);
        if (decoded.size() > TextDecoder::kMaxUnits) {
            __builtin_trap();
        }
        const bool japanese = region == 0 || region == 5;
        const auto bytes = EncodeGameText(Utf16ToUtf8(decoded), region, &missing);
        if (!japanese && missing.empty() && DecodeEncoded(bytes, region) != decoded) {
            __builtin_trap();
        }
    }
    return 0;
}

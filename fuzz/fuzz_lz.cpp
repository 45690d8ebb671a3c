// Decoding an arbitrary LZ block (head byte, raw size, stream). A block that decodes is
// encoded again: that stream must decode to the same bytes and, for short data, be the one
// that trying every source position gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "fuzz/LzReference.h"
#include "project/LzCodec.h"

namespace {

// Longer data takes the exhaustive encoder too long for a fuzz run.
constexpr std::size_t kReferenceLimit = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t rawSize = 0;
    std::uint32_t length = 0;
    const auto raw = UncompressDataAt({data, size}, 0, rawSize, &length);
    if (!raw) {
        return 0;
    }
    // The stream read lies inside the input, behind the three head bytes.
    if (rawSize > raw->size() || std::size_t{length} + 3 > size) {
        std::abort();
    }
    std::uint32_t encodedLength = 0;
    const auto stream = CompressData(*raw, &encodedLength);
    if (!stream) {
        return 0;  // a stream of 0x10000 bytes or more cannot be written
    }
    std::vector<std::uint8_t> block{0x00, static_cast<std::uint8_t>(raw->size()),
                                    static_cast<std::uint8_t>(raw->size() >> 8)};
    block.insert(block.end(), stream->begin(), stream->end());
    std::uint32_t again = 0;
    std::uint32_t decodedLength = 0;
    const auto back = UncompressDataAt(block, 0, again, &decodedLength);
    if (!back || *back != *raw || again != raw->size() || decodedLength != encodedLength ||
        encodedLength != stream->size()) {
        std::abort();
    }
    if (raw->size() <= kReferenceLimit && *stream != CompressDataExhaustive(*raw)) {
        std::abort();
    }
    return 0;
}

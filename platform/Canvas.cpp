#include "platform/Canvas.h"

#include <algorithm>

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

Canvas::Canvas(int width, int height, std::uint32_t fill) { Resize(width, height, fill); }

void Canvas::Resize(int width, int height, std::uint32_t fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, fill);
}

void Canvas::Fill(std::uint32_t argb) { std::fill(pixels_.begin(), pixels_.end(), argb); }

std::vector<std::uint8_t> Canvas::ToBmp() const {
    return EncodeBmp32(pixels_.data(), static_cast<std::uint32_t>(width_),
                       static_cast<std::uint32_t>(height_));
}

std::vector<std::uint8_t> EncodeBmp32(const std::uint32_t* pixels, std::uint32_t width,
                                      std::uint32_t height) {
    constexpr std::size_t kHeaderSize = 54;
    const std::size_t pixelBytes = std::size_t{4} * width * height;
    std::vector<std::uint8_t> out(kHeaderSize + pixelBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLe(out, 2, static_cast<std::uint32_t>(kHeaderSize + pixelBytes), 4);
    PutLe(out, 10, kHeaderSize, 4);
    PutLe(out, 14, 40, 4);
    PutLe(out, 18, width, 4);
    PutLe(out, 22, height, 4);
    PutLe(out, 26, 1, 2);
    PutLe(out, 28, 32, 2);
    PutLe(out, 34, static_cast<std::uint32_t>(pixelBytes), 4);
    // A positive height means the last row comes first in the file.
    std::size_t at = kHeaderSize;
    for (std::uint32_t row = height; row-- > 0;) {
        const std::uint32_t* src = pixels + static_cast<std::size_t>(row) * width;
        for (std::uint32_t x = 0; x < width; ++x, at += 4) {
            PutLe(out, at, src[x], 4);
        }
    }
    return out;
}

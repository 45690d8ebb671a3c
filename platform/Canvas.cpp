#include "platform/Canvas.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace {

// The part of a blit that lies inside both surfaces, in 64-bit arithmetic so that no argument
// can overflow; nothing when no pixel of it does.
struct ClippedBlit {
    int dx, dy, sx, sy, w, h;
};

std::optional<ClippedBlit> ClipBlit(int dstWidth, int dstHeight, const PixelSource& src,
                                    std::int64_t dx, std::int64_t dy, std::int64_t sx,
                                    std::int64_t sy, std::int64_t w, std::int64_t h) {
    if (src.Empty() || dstWidth <= 0 || dstHeight <= 0 || w <= 0 || h <= 0) {
        return std::nullopt;
    }
    const auto clipAxis = [](std::int64_t& d, std::int64_t& s, std::int64_t& n, std::int64_t dLimit,
                             std::int64_t sLimit) {
        if (s < 0) {
            d -= s;
            n += s;
            s = 0;
        }
        if (d < 0) {
            s -= d;
            n += d;
            d = 0;
        }
        n = std::min({n, sLimit - s, dLimit - d});
        return n > 0;
    };
    if (!clipAxis(dx, sx, w, dstWidth, src.width) || !clipAxis(dy, sy, h, dstHeight, src.height)) {
        return std::nullopt;
    }
    return ClippedBlit{static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(sx),
                       static_cast<int>(sy), static_cast<int>(w),  static_cast<int>(h)};
}

// Runs a row operation over the clipped part of a blit: op(source row, destination row, count).
template <typename RowOp>
void BlitRows(Canvas& dst, const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h,
              RowOp op) {
    const auto clip = ClipBlit(dst.Width(), dst.Height(), src, dx, dy, sx, sy, w, h);
    if (!clip) {
        return;
    }
    for (int y = 0; y < clip->h; ++y) {
        op(src.Row(clip->sy + y) + clip->sx, dst.Row(clip->dy + y) + clip->dx, clip->w);
    }
}

std::uint32_t BlendChannel(std::uint32_t s, std::uint32_t d, std::uint32_t alpha) {
    return (s * alpha + d * (255 - alpha) + 127) / 255;
}

void PutLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

Canvas::Canvas(int width, int height, std::uint32_t fill) {
    Resize(width, height, fill);
}

void Canvas::Resize(int width, int height, std::uint32_t fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, fill);
}

void Canvas::Fill(std::uint32_t argb) {
    std::fill(pixels_.begin(), pixels_.end(), argb);
}

void Canvas::Copy(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h) {
    BlitRows(*this, src, dx, dy, sx, sy, w, h,
             [](const std::uint32_t* in, std::uint32_t* out, int n) {
                 // memmove: a canvas may be copied onto itself.
                 std::memmove(out, in, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
             });
}

void Canvas::CopyKeyed(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h,
                       std::uint32_t key) {
    BlitRows(*this, src, dx, dy, sx, sy, w, h,
             [key](const std::uint32_t* in, std::uint32_t* out, int n) {
                 for (int x = 0; x < n; ++x) {
                     if (in[x] != key) {
                         out[x] = in[x];
                     }
                 }
             });
}

void Canvas::Blend(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h,
                   std::uint8_t alpha) {
    BlitRows(*this, src, dx, dy, sx, sy, w, h,
             [alpha](const std::uint32_t* in, std::uint32_t* out, int n) {
                 for (int x = 0; x < n; ++x) {
                     const std::uint32_t s = in[x] | 0xFF000000u;
                     std::uint32_t result = 0;
                     for (int shift = 0; shift < 32; shift += 8) {
                         result |=
                             BlendChannel((s >> shift) & 0xFF, (out[x] >> shift) & 0xFF, alpha)
                             << shift;
                     }
                     out[x] = result;
                 }
             });
}

void Canvas::StretchCopy(const PixelSource& src, int dx, int dy, int dw, int dh, int sx, int sy,
                         int sw, int sh, bool mirrorX, bool mirrorY,
                         std::optional<std::uint32_t> key) {
    if (src.Empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    // Destination pixel i of a row takes source pixel floor(i * sw / dw), counted from the
    // far edge when mirrored; source pixels outside the source surface are not drawn.
    const auto sourceIndex = [](std::int64_t i, std::int64_t n, std::int64_t d, bool mirror) {
        const std::int64_t k = i * n / d;
        return mirror ? n - 1 - k : k;
    };
    const int yFirst = std::max(0, -dy);
    const int yEnd = static_cast<int>(std::min<std::int64_t>(dh, std::int64_t{height_} - dy));
    const int xFirst = std::max(0, -dx);
    const int xEnd = static_cast<int>(std::min<std::int64_t>(dw, std::int64_t{width_} - dx));
    for (int y = yFirst; y < yEnd; ++y) {
        const std::int64_t v = sy + sourceIndex(y, sh, dh, mirrorY);
        if (v < 0 || v >= src.height) {
            continue;
        }
        const std::uint32_t* in = src.Row(static_cast<int>(v));
        std::uint32_t* out = Row(dy + y);
        for (int x = xFirst; x < xEnd; ++x) {
            const std::int64_t u = sx + sourceIndex(x, sw, dw, mirrorX);
            if (u < 0 || u >= src.width) {
                continue;
            }
            const std::uint32_t pixel = in[u];
            if (!key || pixel != *key) {
                out[dx + x] = pixel;
            }
        }
    }
}

void Canvas::FillRect(int x, int y, int w, int h, std::uint32_t argb) {
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + w, width_);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + h, height_);
    for (std::int64_t row = top; row < bottom; ++row) {
        std::uint32_t* out = Row(static_cast<int>(row));
        std::fill(out + left, out + std::max(left, right), argb);
    }
}

std::vector<std::uint8_t> Canvas::ToBmp() const {
    return EncodeBmp32(pixels_.data(), static_cast<std::uint32_t>(width_),
                       static_cast<std::uint32_t>(height_));
}

namespace {

constexpr std::size_t kBmpHeaderSize = 54;

std::vector<std::uint8_t> Bmp32Header(std::uint32_t width, std::uint32_t height) {
    const std::size_t pixelBytes = std::size_t{4} * width * height;
    std::vector<std::uint8_t> out(kBmpHeaderSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLe(out, 2, static_cast<std::uint32_t>(kBmpHeaderSize + pixelBytes), 4);
    PutLe(out, 10, kBmpHeaderSize, 4);
    PutLe(out, 14, 40, 4);
    PutLe(out, 18, width, 4);
    PutLe(out, 22, height, 4);
    PutLe(out, 26, 1, 2);
    PutLe(out, 28, 32, 2);
    PutLe(out, 34, static_cast<std::uint32_t>(pixelBytes), 4);
    return out;
}

// One row of pixels as little-endian bytes.
void PutRow(std::uint8_t* out, const std::uint32_t* row, std::uint32_t width) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, row, std::size_t{4} * width);
    } else {
        for (std::uint32_t x = 0; x < width; ++x) {
            for (int i = 0; i < 4; ++i) {
                out[4 * x + i] = static_cast<std::uint8_t>(row[x] >> (8 * i));
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp32(const std::uint32_t* pixels, std::uint32_t width,
                                      std::uint32_t height) {
    std::vector<std::uint8_t> out = Bmp32Header(width, height);
    out.resize(kBmpHeaderSize + std::size_t{4} * width * height);
    // A positive height means the last row comes first in the file.
    std::uint8_t* at = out.data() + kBmpHeaderSize;
    for (std::uint32_t row = height; row-- > 0; at += std::size_t{4} * width) {
        PutRow(at, pixels + static_cast<std::size_t>(row) * width, width);
    }
    return out;
}

bool WriteBmp32File(const std::filesystem::path& path, const std::uint32_t* pixels,
                    std::uint32_t width, std::uint32_t height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const auto header = Bmp32Header(width, height);
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    // Rows go out in chunks of about 1 MB: few system calls, little memory.
    const std::size_t rowBytes = std::size_t{4} * width;
    const std::size_t rowsPerChunk =
        std::max<std::size_t>(1, (std::size_t{1} << 20) / std::max<std::size_t>(rowBytes, 1));
    std::vector<std::uint8_t> chunk(rowsPerChunk * rowBytes);
    std::uint32_t row = height;
    while (ok && row > 0) {
        std::size_t used = 0;
        for (; row > 0 && used < chunk.size(); used += rowBytes) {
            --row;
            PutRow(chunk.data() + used, pixels + static_cast<std::size_t>(row) * width, width);
        }
        ok = std::fwrite(chunk.data(), 1, used, file) == used;
    }
    return (std::fclose(file) == 0) && ok;
}

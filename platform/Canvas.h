#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/PixelSource.h"

// A 32-bit ARGB pixel surface, rows from top to bottom (the layout of QImage::Format_ARGB32),
// so the UI shows it without copying. All rendering happens on canvases.
class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, std::uint32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }

    std::uint32_t* Pixels() { return pixels_.data(); }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Reads outside the surface give 0; writes outside it are dropped.
    std::uint32_t At(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0; }
    void Set(int x, int y, std::uint32_t argb) {
        if (Contains(x, y)) {
            Row(y)[x] = argb;
        }
    }

    void Resize(int width, int height, std::uint32_t fill = 0);
    void Fill(std::uint32_t argb);

    PixelSource Source() const { return {pixels_.data(), width_, height_}; }

    // Blits. Each takes the w x h block of the source at (sx, sy) to (dx, dy) here, clipped to
    // both surfaces, so no part of a blit ever reads or writes outside either of them.

    // Plain copy of every pixel, alpha included.
    void Copy(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h);
    // Copy that leaves out the source pixels whose whole ARGB value equals key.
    void CopyKeyed(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h,
                   std::uint32_t key);
    // Blends the source over this surface with one alpha for all pixels; the source's own
    // alpha bytes are not used. The result's alpha is that of the source, taken as opaque,
    // laid over the destination's.
    void Blend(const PixelSource& src, int dx, int dy, int sx, int sy, int w, int h,
               std::uint8_t alpha);
    // Scales the sw x sh block at (sx, sy) to dw x dh at (dx, dy), nearest pixel, mirrored left
    // to right and/or top to bottom when asked; with a key, source pixels equal to it are left
    // out.
    void StretchCopy(const PixelSource& src, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                     int sh, bool mirrorX, bool mirrorY,
                     std::optional<std::uint32_t> key = std::nullopt);
    // Fills the rectangle, clipped to the surface.
    void FillRect(int x, int y, int w, int h, std::uint32_t argb);

    // The picture as a 32-bit BMP file, bottom-up as the format wants it, so it shows upright.
    std::vector<std::uint8_t> ToBmp() const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// A 32-bit BMP of the given top-down pixels.
std::vector<std::uint8_t> EncodeBmp32(const std::uint32_t* pixels, std::uint32_t width,
                                      std::uint32_t height);
// The same BMP written straight into a diagnostic file, row by row, without building it in
// memory first. False when the file could not be written.
bool WriteBmp32File(const std::filesystem::path& path, const std::uint32_t* pixels,
                    std::uint32_t width, std::uint32_t height);

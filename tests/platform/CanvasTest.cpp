#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/Files.h"
#include "project/ByteAccess.h"

namespace {

// The colour ImageMagick reports for one pixel of an image file, as "#RRGGBB".
std::string MagickPixel(const std::string& file, int x, int y) {
    const std::string command = "/usr/bin/convert " + file + " -alpha off -format '%[hex:p{" +
                                std::to_string(x) + "," + std::to_string(y) + "}]' info:";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    char buffer[64] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    pclose(pipe);
    std::string out(buffer, n);
    return "#" + out.substr(0, 6);
}

}  // namespace

TEST(Canvas, BmpIsSeenUprightByImageMagick) {
    if (!std::filesystem::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    Canvas canvas(3, 2, 0xFF000000);
    canvas.Set(0, 0, 0xFFFF0000);
    canvas.Set(2, 0, 0xFF00FF00);
    canvas.Set(0, 1, 0xFF0000FF);
    const auto bmp = canvas.ToBmp();
    EXPECT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(GetU32(bmp, 2), 54u + 24u);  // the file's size and the pixels' size
    EXPECT_EQ(GetU32(bmp, 34), 24u);
    ASSERT_TRUE(WriteWholeFile("upright.bmp", bmp));
    EXPECT_EQ(MagickPixel("upright.bmp", 0, 0), "#FF0000");
    EXPECT_EQ(MagickPixel("upright.bmp", 2, 0), "#00FF00");
    EXPECT_EQ(MagickPixel("upright.bmp", 0, 1), "#0000FF");
    EXPECT_EQ(MagickPixel("upright.bmp", 1, 1), "#000000");
}

namespace {

// A canvas whose pixel (x, y) is 0x000000yx plus `base`, so every copied pixel tells where it
// came from.
Canvas Numbered(int w, int h, std::uint32_t base = 0xFF000000) {
    Canvas canvas(w, h);
    for (int i = 0; i < w * h; ++i) {
        canvas.Set(i % w, i / w, base | static_cast<std::uint32_t>((i / w) << 4 | (i % w)));
    }
    return canvas;
}

std::vector<std::uint32_t> All(const Canvas& canvas) {
    return {canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height()};
}

constexpr std::uint32_t kBase = 0xFF000000;
constexpr std::uint32_t k_ = 0x11111111;  // a pixel no blit reached

}  // namespace

TEST(CanvasBlit, CopyIsClippedToBothSurfaces) {
    const Canvas src = Numbered(3, 3);
    Canvas dst(3, 3, k_);
    // The block reaches past the source at the right and bottom, and starts left of and
    // above the destination.
    dst.Copy(src.Source(), -1, 1, 1, 0, 9, 9);
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{k_, k_, k_,            //
                                                    kBase | 0x02, k_, k_,  //
                                                    kBase | 0x12, k_, k_}));
    Canvas shifted(3, 3, k_);
    shifted.Copy(src.Source(), 0, 0, -1, -1, 2, 2);  // a negative source moves the target
    EXPECT_EQ(All(shifted), (std::vector<std::uint32_t>{k_, k_, k_, k_, kBase, k_, k_, k_, k_}));

    // Nothing: empty source, empty size, off either surface, sizes near the int limits.
    Canvas untouched(2, 2, k_);
    untouched.Copy(PixelSource{}, 0, 0, 0, 0, 2, 2);
    untouched.Copy(src.Source(), 0, 0, 0, 0, 0, 2);
    untouched.Copy(src.Source(), 2, 0, 0, 0, 2, 2);
    untouched.Copy(src.Source(), 0, 0, 3, 0, 2, 2);
    untouched.Copy(src.Source(), -2147483647, 0, 0, 0, 2147483647, 2);
    EXPECT_EQ(All(untouched), std::vector<std::uint32_t>(4, k_));
}

TEST(CanvasBlit, KeyedCopyLeavesOutOnlyTheExactKey) {
    Canvas src(3, 1);
    src.Set(1, 0, 0xFF000000);  // opaque black is a colour, not the key 0
    src.Set(2, 0, 0xFF123456);
    Canvas dst(4, 1, k_);
    dst.CopyKeyed(src.Source(), 1, 0, 0, 0, 3, 1, 0);
    EXPECT_EQ(All(dst), (std::vector<std::uint32_t>{k_, k_, 0xFF000000, 0xFF123456}));
}

TEST(CanvasBlit, BlendUsesOneAlphaAndIgnoresTheSourceAlpha) {
    Canvas src(3, 1);
    src.Set(0, 0, 0xFF00FF00);
    src.Set(1, 0, 0x00FF0000);  // alpha 0 in the source blends all the same
    src.Set(2, 0, 0xFFFFFFFF);
    Canvas dst(4, 1, 0xFF000000);
    dst.Set(2, 0, 0xFF808080);
    dst.Set(3, 0, 0);
    dst.Blend(src.Source(), 0, 0, 0, 0, 3, 1, 0x4B);
    dst.Blend(src.Source(), 3, 0, 2, 0, 9, 9, 0x80);
    // (s * a + d * (255 - a) + 127) / 255 per channel, alpha included: white over grey at
    // 0x4B gives 0xA5; over alpha 0 the result takes the blend's alpha.
    EXPECT_EQ(All(dst),
              (std::vector<std::uint32_t>{0xFF004B00, 0xFF4B0000, 0xFFA5A5A5, 0x80808080}));
}

TEST(CanvasBlit, StretchCopyScalesMirrorsAndKeys) {
    const Canvas src = Numbered(2, 2);
    Canvas doubled(4, 4);
    doubled.StretchCopy(src.Source(), 0, 0, 4, 4, 0, 0, 2, 2, true, false);
    EXPECT_EQ(All(doubled),
              (std::vector<std::uint32_t>{kBase | 0x01, kBase | 0x01, kBase, kBase,  //
                                          kBase | 0x01, kBase | 0x01, kBase, kBase,  //
                                          kBase | 0x11, kBase | 0x11, kBase | 0x10, kBase | 0x10,
                                          kBase | 0x11, kBase | 0x11, kBase | 0x10, kBase | 0x10}));
    // Halved upside down, one column off the left edge.
    const Canvas big = Numbered(4, 4);
    Canvas half(2, 2, k_);
    half.StretchCopy(big.Source(), -1, 0, 2, 2, 0, 0, 4, 4, false, true);
    EXPECT_EQ(All(half), (std::vector<std::uint32_t>{kBase | 0x32, k_, kBase | 0x12, k_}));
    // A block reaching past the source draws what exists; the key is left out.
    Canvas keyed(3, 1, k_);
    const Canvas source = Numbered(2, 1, 0x00FF0000);
    keyed.StretchCopy(source.Source(), 0, 0, 3, 1, 0, 0, 3, 1, false, false, 0x00FF0000);
    EXPECT_EQ(All(keyed), (std::vector<std::uint32_t>{k_, 0x00FF0001, k_}));
}

TEST(CanvasBlit, PixelsAndFilledRectanglesOutsideTheSurfaceAreDropped) {
    Canvas canvas(3, 2, 0);
    canvas.Set(3, 0, 0xFFFFFFFF);
    canvas.Set(-1, 0, 0xFFFFFFFF);
    canvas.FillRect(-1, 1, 3, 5, 0xFF0000FF);
    canvas.FillRect(5, 5, 2, 2, 0xFFFFFFFF);
    canvas.FillRect(0, 0, -2, 2, 0xFFFFFFFF);
    EXPECT_EQ(All(canvas), (std::vector<std::uint32_t>{0, 0, 0, 0xFF0000FF, 0xFF0000FF, 0}));
    EXPECT_EQ(canvas.At(3, 0), 0u);
    EXPECT_EQ(canvas.At(0, -1), 0u);
}

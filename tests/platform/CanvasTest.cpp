#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/Files.h"

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

TEST(Canvas, ReadsAndWritesOutsideTheSurfaceAreHarmless) {
    Canvas canvas(3, 2, 0xFF000000);
    canvas.Set(2, 1, 0xFF123456);
    canvas.Set(3, 0, 0xFFFFFFFF);
    canvas.Set(-1, 0, 0xFFFFFFFF);
    EXPECT_EQ(canvas.At(2, 1), 0xFF123456u);
    EXPECT_EQ(canvas.At(3, 0), 0u);
    EXPECT_EQ(canvas.At(0, -1), 0u);
    EXPECT_EQ(canvas.Row(1)[2], 0xFF123456u);
}

TEST(Canvas, BmpHeaderAndBottomUpRows) {
    Canvas canvas(2, 2);
    canvas.Set(0, 0, 0xFFFF0000);
    canvas.Set(1, 0, 0xFF00FF00);
    canvas.Set(0, 1, 0xFF0000FF);
    canvas.Set(1, 1, 0xFFFFFFFF);
    const auto bmp = canvas.ToBmp();
    ASSERT_EQ(bmp.size(), 54u + 16u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[2], 70);
    EXPECT_EQ(bmp[10], 54);
    EXPECT_EQ(bmp[14], 40);
    EXPECT_EQ(bmp[28], 32);
    // The file's first row is the picture's bottom row: blue, then white.
    EXPECT_EQ(bmp[54], 0xFF);  // blue channel of the blue pixel
    EXPECT_EQ(bmp[55], 0x00);
    EXPECT_EQ(bmp[56], 0x00);
}

TEST(Canvas, ImageMagickSeesTheBmpUpright) {
    if (!std::filesystem::exists("/usr/bin/convert")) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    Canvas canvas(3, 2, 0xFF000000);
    canvas.Set(0, 0, 0xFFFF0000);
    canvas.Set(2, 0, 0xFF00FF00);
    canvas.Set(0, 1, 0xFF0000FF);
    ASSERT_TRUE(WriteWholeFile("upright.bmp", canvas.ToBmp()));
    EXPECT_EQ(MagickPixel("upright.bmp", 0, 0), "#FF0000");
    EXPECT_EQ(MagickPixel("upright.bmp", 2, 0), "#00FF00");
    EXPECT_EQ(MagickPixel("upright.bmp", 0, 1), "#0000FF");
    EXPECT_EQ(MagickPixel("upright.bmp", 1, 1), "#000000");
}

namespace {

// A w x h canvas whose pixel (x, y) is 0xFF000000 | y << 8 | x, so every copied pixel tells
// where it came from.
Canvas Numbered(int w, int h) {
    Canvas canvas(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            canvas.Set(
                x, y,
                0xFF000000u | static_cast<std::uint32_t>(y) << 8 | static_cast<std::uint32_t>(x));
        }
    }
    return canvas;
}

std::uint32_t From(int x, int y) {
    return 0xFF000000u | static_cast<std::uint32_t>(y) << 8 | static_cast<std::uint32_t>(x);
}

}  // namespace

TEST(CanvasBlit, CopyIsClippedToBothSurfaces) {
    const Canvas src = Numbered(4, 4);
    Canvas dst(5, 5, 0x11111111);
    // Source block (2,2)-(3,3) is the only part inside the source; (4,y) and (x,4) are not.
    dst.Copy(src.Source(), 1, 1, 2, 2, 10, 10);
    EXPECT_EQ(dst.At(1, 1), From(2, 2));
    EXPECT_EQ(dst.At(2, 2), From(3, 3));
    EXPECT_EQ(dst.At(3, 3), 0x11111111u);
    EXPECT_EQ(dst.At(0, 0), 0x11111111u);

    // A negative destination cuts the source's left and top off.
    Canvas small(2, 2, 0x22222222);
    small.Copy(src.Source(), -1, -2, 0, 0, 4, 4);
    EXPECT_EQ(small.At(0, 0), From(1, 2));
    EXPECT_EQ(small.At(1, 1), From(2, 3));

    // A negative source position moves the destination the same way.
    Canvas shifted(4, 4, 0x33333333);
    shifted.Copy(src.Source(), 0, 0, -1, -1, 3, 3);
    EXPECT_EQ(shifted.At(0, 0), 0x33333333u);
    EXPECT_EQ(shifted.At(1, 1), From(0, 0));
    EXPECT_EQ(shifted.At(2, 2), From(1, 1));
    EXPECT_EQ(shifted.At(3, 3), 0x33333333u);

    // Nothing at all: empty source, zero or huge sizes, far away.
    Canvas untouched(2, 2, 0x44444444);
    untouched.Copy(PixelSource{}, 0, 0, 0, 0, 2, 2);
    untouched.Copy(src.Source(), 0, 0, 0, 0, 0, 2);
    untouched.Copy(src.Source(), 2, 0, 0, 0, 2, 2);
    untouched.Copy(src.Source(), 0, 0, 4, 0, 2, 2);
    untouched.Copy(src.Source(), -2147483647, 0, 0, 0, 2147483647, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(untouched.At(i % 2, i / 2), 0x44444444u);
    }
}

TEST(CanvasBlit, KeyedCopyLeavesOutOnlyTheExactKey) {
    Canvas src(3, 1);
    src.Set(0, 0, 0x00000000);  // the key
    src.Set(1, 0, 0xFF000000);  // opaque black is a colour, not the key
    src.Set(2, 0, 0xFF123456);
    Canvas dst(4, 1, 0xFFAAAAAA);
    dst.CopyKeyed(src.Source(), 1, 0, 0, 0, 3, 1, 0x00000000);
    EXPECT_EQ(dst.At(0, 0), 0xFFAAAAAAu);
    EXPECT_EQ(dst.At(1, 0), 0xFFAAAAAAu);
    EXPECT_EQ(dst.At(2, 0), 0xFF000000u);
    EXPECT_EQ(dst.At(3, 0), 0xFF123456u);
}

TEST(CanvasBlit, BlendUsesOneAlphaAndIgnoresTheSourceAlpha) {
    Canvas src(2, 1);
    src.Set(0, 0, 0xFF00FF00);
    src.Set(1, 0, 0x00FF0000);  // alpha 0 in the source still blends
    Canvas dst(2, 1, 0xFF000000);
    dst.Blend(src.Source(), 0, 0, 0, 0, 2, 1, 0x4B);
    // 255 * 0x4B / 255 = 0x4B in the source's channel, 0 elsewhere; the result stays opaque.
    EXPECT_EQ(dst.At(0, 0), 0xFF004B00u);
    EXPECT_EQ(dst.At(1, 0), 0xFF4B0000u);

    Canvas grey(1, 1, 0xFF808080);
    const Canvas white(1, 1, 0xFFFFFFFF);
    grey.Blend(white.Source(), 0, 0, 0, 0, 1, 1, 0x80);
    // (255 * 128 + 128 * 127 + 127) / 255 = 192 = 0xC0.
    EXPECT_EQ(grey.At(0, 0), 0xFFC0C0C0u);

    // Over a transparent destination the alpha becomes the blend's.
    Canvas clear(1, 1, 0);
    clear.Blend(white.Source(), 0, 0, 0, 0, 1, 1, 0x80);
    EXPECT_EQ(clear.At(0, 0), 0x80808080u);
    // Clipped like every blit.
    clear.Blend(white.Source(), 1, 0, 0, 0, 5, 5, 0xFF);
    EXPECT_EQ(clear.At(0, 0), 0x80808080u);
}

TEST(CanvasBlit, StretchCopyScalesAndMirrors) {
    const Canvas src = Numbered(2, 2);
    Canvas doubled(4, 4);
    doubled.StretchCopy(src.Source(), 0, 0, 4, 4, 0, 0, 2, 2, false, false);
    EXPECT_EQ(doubled.At(0, 0), From(0, 0));
    EXPECT_EQ(doubled.At(1, 1), From(0, 0));
    EXPECT_EQ(doubled.At(2, 1), From(1, 0));
    EXPECT_EQ(doubled.At(3, 3), From(1, 1));

    Canvas mirrored(2, 2);
    mirrored.StretchCopy(src.Source(), 0, 0, 2, 2, 0, 0, 2, 2, true, false);
    EXPECT_EQ(mirrored.At(0, 0), From(1, 0));
    EXPECT_EQ(mirrored.At(1, 0), From(0, 0));
    EXPECT_EQ(mirrored.At(0, 1), From(1, 1));
    mirrored.StretchCopy(src.Source(), 0, 0, 2, 2, 0, 0, 2, 2, true, true);
    EXPECT_EQ(mirrored.At(0, 0), From(1, 1));
    EXPECT_EQ(mirrored.At(1, 1), From(0, 0));

    // Halving takes every other pixel; a destination partly off the canvas is clipped.
    const Canvas big = Numbered(4, 4);
    Canvas half(2, 2, 0x55555555);
    half.StretchCopy(big.Source(), -1, 0, 2, 2, 0, 0, 4, 4, false, false);
    EXPECT_EQ(half.At(0, 0), From(2, 0));
    EXPECT_EQ(half.At(0, 1), From(2, 2));
    EXPECT_EQ(half.At(1, 0), 0x55555555u);

    // A source block reaching past the source draws only what exists; the key is left out.
    Canvas keyed(3, 1, 0x66666666);
    Canvas source(2, 1);
    source.Set(0, 0, 0x00FF00FF);
    source.Set(1, 0, 0xFF010203);
    keyed.StretchCopy(source.Source(), 0, 0, 3, 1, 0, 0, 3, 1, false, false, 0x00FF00FF);
    EXPECT_EQ(keyed.At(0, 0), 0x66666666u);
    EXPECT_EQ(keyed.At(1, 0), 0xFF010203u);
    EXPECT_EQ(keyed.At(2, 0), 0x66666666u);
}

TEST(CanvasBlit, FillRectIsClipped) {
    Canvas canvas(3, 3, 0);
    canvas.FillRect(-1, 1, 3, 5, 0xFF0000FF);
    EXPECT_EQ(canvas.At(0, 0), 0u);
    EXPECT_EQ(canvas.At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(1, 2), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(2, 2), 0u);
    canvas.FillRect(5, 5, 2, 2, 0xFFFFFFFF);
    canvas.FillRect(0, 0, -2, 2, 0xFFFFFFFF);
    EXPECT_EQ(canvas.At(0, 0), 0u);
}

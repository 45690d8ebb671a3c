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

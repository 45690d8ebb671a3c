#include <csignal>
#include <fstream>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return out;
}

}  // namespace

TEST(Files, WriteThenReadGivesTheSameBytesAndLeavesNoTemporaryFile) {
    const auto data = Bytes(5000, 3);
    ASSERT_TRUE(WriteWholeFile("out.bin", data));
    EXPECT_EQ(ReadWholeFile("out.bin"), data);
    EXPECT_EQ(FileSize("out.bin"), 5000u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Files, PiecesAreWrittenInOrder) {
    const std::vector<std::uint8_t> a{1, 2}, b{3}, c{4, 5};
    ASSERT_TRUE(WriteWholeFile("pieces.bin", {a, b, c}));
    EXPECT_EQ(ReadWholeFile("pieces.bin"), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST(Files, NothingToWriteOrNowhereToWriteIsAFailure) {
    EXPECT_FALSE(WriteWholeFile("empty.bin", std::span<const std::uint8_t>{}));
    EXPECT_FALSE(fs::exists("empty.bin"));
    EXPECT_FALSE(WriteWholeFile("no/such/folder/x.bin", Bytes(4, 1)));
    EXPECT_FALSE(ReadWholeFile("missing.bin").has_value());
    EXPECT_FALSE(FileSize(".").has_value());
}

TEST(Files, AWriteToAFullDeviceIsReportedAsFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    EXPECT_FALSE(WriteWholeFile("/dev/full", Bytes(100000, 9)));
}

TEST(Files, AFailedWriteKeepsThePreviousFile) {
    WriteText("keep.bin", "previous good file");
    // Limit the size of any file this process writes, so the new content cannot be written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteWholeFile("keep.bin", Bytes(1 << 20, 5));
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(written);
    const auto kept = ReadWholeFile("keep.bin");
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(std::string(kept->begin(), kept->end()), "previous good file");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "the temporary file must be removed";
}

TEST(Files, ReadRefusesFilesAboveTheLimit) {
    ASSERT_TRUE(WriteWholeFile("big.bin", Bytes(100, 1)));
    EXPECT_FALSE(ReadWholeFile("big.bin", 99).has_value());
    EXPECT_TRUE(ReadWholeFile("big.bin", 100).has_value());
}

#include <csignal>
#include <fstream>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return out;
}

int EntriesHere(const fs::path& folder = ".") {
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) {
        ++entries;
    }
    return entries;
}

}  // namespace

TEST(Files, WriteThenReadGivesTheSameBytesAndLeavesNoTemporaryFile) {
    const auto data = Bytes(5000, 3);
    ASSERT_TRUE(WriteWholeFile("out.bin", data));
    EXPECT_EQ(ReadWholeFile("out.bin", 5000), data);
    EXPECT_FALSE(ReadWholeFile("out.bin", 4999).has_value());  // above the limit
    EXPECT_EQ(FileSize("out.bin"), 5000u);
    // Pieces are written in order.
    const std::vector<std::uint8_t> a{1, 2}, b{3}, c{4, 5};
    ASSERT_TRUE(WriteWholeFile("out.bin", {a, b, c}));
    EXPECT_EQ(ReadWholeFile("out.bin"), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(EntriesHere(), 1);
}

TEST(Files, ASaveThroughALinkReplacesItsTargetAndKeepsThePermissions) {
    fs::create_directory("real");
    std::ofstream("real/target.bin") << "old";
    fs::permissions("real/target.bin", fs::perms::owner_all);
    fs::create_symlink("real/target.bin", "link.bin");
    ASSERT_TRUE(WriteWholeFile("link.bin", Bytes(10, 1)));
    EXPECT_TRUE(fs::is_symlink("link.bin"));
    EXPECT_EQ(ReadWholeFile("real/target.bin"), Bytes(10, 1));
    EXPECT_EQ(fs::status("real/target.bin").permissions(), fs::perms::owner_all);
    EXPECT_EQ(EntriesHere("real"), 1);
}

TEST(Files, NothingToWriteOrNowhereToWriteIsAFailure) {
    EXPECT_FALSE(WriteWholeFile("empty.bin", std::span<const std::uint8_t>{}));
    EXPECT_FALSE(fs::exists("empty.bin"));
    EXPECT_FALSE(WriteWholeFile("no/such/folder/x.bin", Bytes(4, 1)));
    EXPECT_FALSE(ReadWholeFile("missing.bin").has_value());
    EXPECT_FALSE(FileSize(".").has_value());
}

TEST(Files, AFailedWriteIsReportedAndKeepsThePreviousFile) {
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(WriteWholeFile("/dev/full", Bytes(100000, 9)));
    }
    std::ofstream("keep.bin") << "previous good file";
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
    EXPECT_EQ(EntriesHere(), 1) << "the temporary file must be removed";
}

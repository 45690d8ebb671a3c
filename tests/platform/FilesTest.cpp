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

// Each test writes into a folder of its own, so that counting its entries sees only its files.
class Files : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directory(dir);
    }
    int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(dir), {})); }
    const fs::path dir = ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

}  // namespace

TEST_F(Files, WriteThenReadGivesTheSameBytesAndLeavesNoTemporaryFile) {
    const auto data = Bytes(5000, 3);
    const fs::path out = dir / "out.bin";
    ASSERT_TRUE(WriteWholeFile(out, data));
    EXPECT_EQ(ReadWholeFile(out, 5000), data);
    EXPECT_FALSE(ReadWholeFile(out, 4999).has_value());  // above the limit
    EXPECT_EQ(FileSize(out), 5000u);
    // Pieces are written in order.
    const std::vector<std::uint8_t> a{1, 2}, b{3}, c{4, 5};
    ASSERT_TRUE(WriteWholeFile(out, {a, b, c}));
    EXPECT_EQ(ReadWholeFile(out), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Entries(), 1);
}

TEST_F(Files, ASaveThroughALinkReplacesItsTargetAndKeepsThePermissions) {
    const fs::path target = dir / "target.bin";
    const fs::path link = dir / "link.bin";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_all);
    fs::create_symlink("target.bin", link);
    ASSERT_TRUE(WriteWholeFile(link, Bytes(10, 1)));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(target), Bytes(10, 1));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_all);
    EXPECT_EQ(Entries(), 2);
}

TEST_F(Files, NothingToWriteOrNowhereToWriteIsAFailure) {
    EXPECT_FALSE(WriteWholeFile("empty.bin", std::span<const std::uint8_t>{}));
    EXPECT_FALSE(fs::exists("empty.bin"));
    EXPECT_FALSE(WriteWholeFile("no/such/folder/x.bin", Bytes(4, 1)));
    EXPECT_FALSE(ReadWholeFile("missing.bin").has_value());
    EXPECT_FALSE(FileSize(".").has_value());
}

TEST_F(Files, AFailedWriteIsReportedAndKeepsThePreviousFile) {
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(WriteWholeFile("/dev/full", Bytes(100000, 9)));
    }
    const fs::path keep = dir / "keep.bin";
    std::ofstream(keep) << "previous good file";
    // Limit the size of any file this process writes, so the new content cannot be written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteWholeFile(keep, Bytes(1 << 20, 5));
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(written);
    const auto kept = ReadWholeFile(keep);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(std::string(kept->begin(), kept->end()), "previous good file");
    EXPECT_EQ(Entries(), 1) << "the temporary file must be removed";
}

// Writes the seed corpora of the fuzz targets, made with the synthetic image builder.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "platform/Files.h"
#include "project/ByteAccess.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "project/RomImport.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/SyntheticImage.h"

namespace fs = std::filesystem;
using Region = SyntheticImage::Region;

namespace {

void Write(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& data) {
    fs::create_directories(folder);
    if (!WriteWholeFile(folder / name, data)) {
        std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
    }
}

std::vector<SyntheticImage> SeedImages() {
    std::vector<SyntheticImage> images;
    images.emplace_back(SyntheticImage::k4MB, Region::German);
    images.emplace_back(SyntheticImage::k6MB, Region::UK);
    images.emplace_back(SyntheticImage::k1MB, Region::ReleaseM);
    images.emplace_back(SyntheticImage::k4MB, Region::Japanese);
    // Exit and object lists, nested calls included, so that import reaches their readers.
    for (const std::uint32_t size : {SyntheticImage::k4MB, SyntheticImage::k6MB}) {
        SyntheticImage& lists = images.emplace_back(size, Region::German);
        const ExitRecord exit{1, 2, 3, 4, 0x123, 0, 0, 5, 6};
        lists.PutExitList(1, 0x9000, std::vector{exit, exit});
        using Bank = SyntheticImage::ObjectBank;
        lists.PutObjectList(1, Bank::A, 0x9000,
                            ObjectListBytes()
                                .Head(0x0C00)
                                .Object(0x00, 5, 6, 0, 0xC12345, 0xC23456)
                                .Call(0x8010, 0xA000)
                                .PlayerSpawn(1, 2, 0, 0xC33333)
                                .End());
        lists.PutObjectBytes(Bank::A, 0xA000,
                             ObjectListBytes().Call2(1, 2, 0xA100).Raw({0xFB, 1, 2, 3, 4}).End());
        lists.PutObjectBytes(
            Bank::A, 0xA100,
            ObjectListBytes().Object(0x01, 7, 8, 0xC0, 1, 2).Long(3).Long(4).End());
        lists.PutObjectList(2, Bank::B, 0x9000, ObjectListBytes().Head(0x1A00).End());
    }
    return images;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_ROOT\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    int n = 0;
    for (const SyntheticImage& image : SeedImages()) {
        const auto description = DescribeFuzzImage(image.Bytes());
        const std::string name = "seed" + std::to_string(n++);
        Write(root / "rom_import", name, description);

        // A project file: its header's first 64 bytes, then the image description.
        ProjectContext project;
        ImportRom(project, image.Bytes());
        auto header = ProjectHeaderBytes(project);
        std::vector<std::uint8_t> input{1};
        input.insert(input.end(), header.begin(), header.begin() + 64);
        input.insert(input.end(), description.begin(), description.end());
        Write(root / "project_file", name, input);
    }
    // A bare old-form header, as the whole file.
    std::vector<std::uint8_t> old{0, 'Q', 'u', 'M', 'k', 5, 0, 0, 0, 0, 0, 0x10, 0};
    Write(root / "project_file", "old-form", old);
    return 0;
}

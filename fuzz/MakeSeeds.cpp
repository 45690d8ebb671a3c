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

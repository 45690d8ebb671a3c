// Opening an arbitrary project file. The first byte chooses between the input as the whole
// file, and the input as a header followed by an image built from a fuzz image description.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "fuzz/NullPrompts.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    NullPrompts prompts;
    ProjectContext project;
    RecycledImageBuffer buffer(project);
    if ((data[0] & 1) == 0) {
        LoadProjectBytes(project, {data + 1, size - 1}, prompts);
        return 0;
    }
    // Header bytes (up to 64 of them, the rest of the header zero), then the image.
    static FuzzImagePool pool(kProjectHeaderSize);
    const std::size_t headerBytes = std::min<std::size_t>(size - 1, 64);
    std::vector<std::uint8_t>* file = pool.Build({data + 1 + headerBytes, size - 1 - headerBytes});
    if (file == nullptr) {
        return 0;
    }
    std::fill_n(file->begin(), kProjectHeaderSize, 0);
    std::copy_n(data + 1, headerBytes, file->begin());
    LoadProjectBytes(project, *file, prompts);
    return 0;
}

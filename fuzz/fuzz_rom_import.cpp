// ROM import of an arbitrary image: size and region checks, lists built from the image.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzImage.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzImage image = BuildFuzzImage({data, size});
    if (image.bytes.empty()) {
        return 0;
    }
    ProjectContext project;
    ImportRom(project, image.bytes);
    return 0;
}

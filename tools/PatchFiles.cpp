#include "tools/PatchFiles.h"

#include "platform/Files.h"
#include "platform/Trace.h"
#include "project/ProjectContext.h"

std::optional<std::vector<std::vector<std::uint8_t>>> ReadPatchFileSet(
    const std::filesystem::path& folder, std::span<const std::string_view> names) {
    std::vector<std::vector<std::uint8_t>> files;
    bool complete = true;
    for (const std::string_view name : names) {
        const std::filesystem::path path = folder / name;
        auto bytes = ReadWholeFile(path, kRomSize6MB);
        if (!bytes) {
            Trace("Patch file not read: %s\n", path.string().c_str());
            complete = false;
            continue;
        }
        files.push_back(std::move(*bytes));
    }
    if (!complete) {
        return std::nullopt;
    }
    return files;
}

#include "tools/PatchFiles.h"

#include "platform/Files.h"
#include "platform/Prompts.h"
#include "platform/Trace.h"

std::optional<std::vector<std::vector<std::uint8_t>>> ReadPatchFileSet(
    const std::filesystem::path& folder, std::span<const std::string_view> names,
    std::uintmax_t maxSize, Prompts* prompts) {
    std::vector<std::vector<std::uint8_t>> files;
    bool complete = true;
    for (const std::string_view name : names) {
        const std::filesystem::path path = folder / name;
        auto bytes = ReadWholeFile(path, maxSize);
        if (!bytes) {
            Trace("%s: %s\n", kPatchFileFailed, path.string().c_str());
            if (prompts != nullptr) {
                prompts->ShowMessage(kPatchFileFailed);
            }
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

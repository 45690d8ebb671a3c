#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class Prompts;

// The message shown for a patch file set that cannot be read whole.
inline constexpr char kPatchFileFailed[] = "Failed to open a file";

// Patch files are read as a set: every file of the set is read before any of it is used, and
// when one cannot be read the set yields nothing. Each file that fails leaves a trace line
// naming its path and, when `prompts` is given, the message kPatchFileFailed. Files larger than
// `maxSize` (by default the largest image) are treated as unreadable.
std::optional<std::vector<std::vector<std::uint8_t>>> ReadPatchFileSet(
    const std::filesystem::path& folder, std::span<const std::string_view> names,
    std::uintmax_t maxSize = 0x600000, Prompts* prompts = nullptr);

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Whole-file helpers. Paths are UTF-8 std::filesystem paths.

// The size of a regular file, or nothing when it cannot be examined.
std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path);

// Reads the whole file; nothing when it cannot be opened or read completely.
// A file larger than maxSize is not read at all.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::uintmax_t maxSize = UINTMAX_MAX);

// Writes the bytes as the whole file. The data goes to a temporary file in the same folder
// first, which replaces the target only when every byte has been written and flushed, so a
// failed save never destroys the previous good file. A symbolic link stays in place and the
// file it leads to is replaced; a replaced file's permissions are kept. Returns false when
// nothing was saved (empty data included).
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> data);

// Writes a diagnostic dump file in one go, without the care of a save: no temporary file and no
// flush to disk, since dumps are rewritten on every load and redraw. False when it failed.
bool WriteDumpFile(const std::filesystem::path& path, std::span<const std::uint8_t> data);

// Like WriteWholeFile, for data written in several pieces.
bool WriteWholeFile(const std::filesystem::path& path,
                    std::initializer_list<std::span<const std::uint8_t>> pieces);

// The path with `extension` appended, unless its text already contains the extension anywhere
// (in any letter case): "level" becomes "level.map", "a.map.bak" and "A.MAP" stay as they are.
std::filesystem::path WithExtensionUnlessPresent(const std::filesystem::path& path,
                                                 std::string_view extension);

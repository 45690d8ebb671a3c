#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Files.h"

// Every file and folder under `folder`, with the bytes of each file (none when the folder is
// missing): an action that is refused must leave it as it was.
inline std::map<std::string, std::vector<std::uint8_t>> FolderContents(
    const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> contents;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        contents[entry.path().string()] =
            ReadWholeFile(entry.path()).value_or(std::vector<std::uint8_t>{});
    }
    return contents;
}

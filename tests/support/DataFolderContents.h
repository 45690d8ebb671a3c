#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "platform/DataFolder.h"
#include "platform/Files.h"

// Every file and folder under the data folder, with the bytes of each file (none when there is
// no data folder): a refused action must leave it as it was.
inline std::map<std::string, std::vector<std::uint8_t>> DataFolderContents() {
    std::map<std::string, std::vector<std::uint8_t>> contents;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataFolder(), error)) {
        contents[entry.path().string()] =
            ReadWholeFile(entry.path()).value_or(std::vector<std::uint8_t>{});
    }
    return contents;
}

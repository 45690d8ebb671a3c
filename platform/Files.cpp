#include "platform/Files.h"

#include <cstdio>
#include <string>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

std::optional<std::uintmax_t> FileSize(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    const auto size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return size;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path,
                                                       std::uintmax_t maxSize) {
    const auto size = FileSize(path);
    if (!size || *size > maxSize) {
        return std::nullopt;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(static_cast<std::size_t>(*size));
    const std::size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), file);
    // One more read tells whether the file grew since we measured it.
    const bool atEnd = std::fgetc(file) == EOF;
    std::fclose(file);
    if (got != data.size() || !atEnd) {
        return std::nullopt;
    }
    return data;
}

bool WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> data) {
    return WriteWholeFile(path, {data});
}

bool WriteWholeFile(const fs::path& path,
                    std::initializer_list<std::span<const std::uint8_t>> pieces) {
    std::size_t total = 0;
    for (const auto& piece : pieces) {
        total += piece.size();
    }
    if (total == 0 || path.empty()) {
        return false;
    }

    // Writing into a device such as /dev/null or /dev/full cannot go through a rename.
    std::error_code ec;
    const bool special = fs::exists(path, ec) && !fs::is_regular_file(path, ec);
    fs::path temp = path;
    if (!special) {
        temp += ".tmp-" + std::to_string(::getpid());
    }

    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = true;
    for (const auto& piece : pieces) {
        if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) {
            ok = false;
            break;
        }
    }
    ok = (std::fflush(file) == 0) && ok;
    if (ok && !special) {
        ok = ::fsync(::fileno(file)) == 0;
    }
    ok = (std::fclose(file) == 0) && ok;

    if (special) {
        return ok;
    }
    if (ok) {
        fs::rename(temp, path, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
    }
    return ok;
}

bool WriteDumpFile(const fs::path& path, std::span<const std::uint8_t> data) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written =
        data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return (std::fclose(file) == 0) && written;
}

fs::path WithExtensionUnlessPresent(const fs::path& path, std::string_view extension) {
    if (path.string().find(extension) != std::string::npos) {
        return path;
    }
    fs::path result = path;
    result += std::string(extension);
    return result;
}

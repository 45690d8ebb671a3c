#include "platform/Files.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Links followed before a save gives up and replaces the last one, as the system's own limit.
constexpr int kMaxLinkHops = 40;

}  // namespace

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

    // A symbolic link stays a link: the file it leads to is the one replaced.
    std::error_code ec;
    fs::path target = path;
    for (int hops = 0; hops < kMaxLinkHops && fs::is_symlink(target, ec); ++hops) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            break;
        }
        target = target.parent_path() / next;  // an absolute link replaces the whole path
    }
    // Writing into a device such as /dev/null or /dev/full cannot go through a rename.
    const fs::file_status status = fs::status(target, ec);
    const bool special = fs::exists(status) && !fs::is_regular_file(status);
    fs::path temp = target;
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
    if (ok && fs::exists(status)) {
        // The new file keeps the permissions of the one it replaces.
        fs::permissions(temp, status.permissions(), ec);
        ok = !ec;
    }
    if (ok) {
        fs::rename(temp, target, ec);
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
    // "NAME.QMP" already names a project file; letter case does not make another extension.
    const auto lower = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    };
    if (lower(path.string()).find(lower(std::string(extension))) != std::string::npos) {
        return path;
    }
    fs::path result = path;
    result += std::string(extension);
    return result;
}

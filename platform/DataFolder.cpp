#include "platform/DataFolder.h"

#include <cstdlib>

std::filesystem::path DataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0') {
        return std::filesystem::path(xdg) / "quenmark";
    }
    const char* home = std::getenv("HOME");
    std::filesystem::path base = (home != nullptr && *home != '\0') ? home : ".";
    return base / ".local" / "share" / "quenmark";
}

std::filesystem::path DataSubfolder(std::string_view feature) {
    return DataFolder() / std::filesystem::path(feature);
}

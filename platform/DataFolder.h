#pragma once

#include <filesystem>
#include <string_view>

// The program's data folder: where the files that the title-screen import and the patch pages
// read are looked for. It is $XDG_DATA_HOME/quenmark, or ~/.local/share/quenmark when
// XDG_DATA_HOME is unset or empty (the place Qt's application data location names on Linux).
// Each feature has a subfolder of its own; tests point XDG_DATA_HOME at a scratch folder.
std::filesystem::path DataFolder();

inline constexpr std::string_view kTitleDataFolder = "title";
inline constexpr std::string_view kPracticeDataFolder = "practice";
inline constexpr std::string_view kRandomizerDataFolder = "randomizer";

// DataFolder() / feature, for example DataSubfolder(kTitleDataFolder).
std::filesystem::path DataSubfolder(std::string_view feature);

#pragma once

#include <string_view>

// The program's web site; Help > View Wiki and the About box's link lead there.
inline constexpr std::string_view kWebSiteUrl = "https://quenmark.org/";
inline constexpr std::string_view kWikiUrl = "https://quenmark.org/wiki/index.php?title=Quenmark";

inline constexpr unsigned kVersionMajor = 3;
inline constexpr unsigned kVersionMinor = 2;
inline constexpr std::string_view kBuildDate = "Aug 31 2026";

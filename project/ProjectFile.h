#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

class ProjectContext;
class Prompts;

// Project files ("qmp"): a 12304-byte header (magic "QuMk", version 770, image size, flags,
// allocation table), then the image. Files of versions up to 7 other than 770 have the older
// 12-byte header (magic, version, image size) and no flags or allocation table.
inline constexpr std::uint32_t kProjectHeaderSize = 12304;
inline constexpr std::uint32_t kOldProjectHeaderSize = 12;

// The header of the full form, as written for this project.
std::vector<std::uint8_t> ProjectHeaderBytes(const ProjectContext& project);

// Writes the project as a project file. A failure is told through the prompts and leaves any
// previous file of that name as it was. Returns true when the file was written.
bool SaveProject(const ProjectContext& project, const std::filesystem::path& path,
                 Prompts& prompts);

// Reads a project file into a freshly constructed context and builds its lists. Anything that
// is not a sound project file is refused with a message; the context is then to be discarded.
bool LoadProject(ProjectContext& project, const std::filesystem::path& path, Prompts& prompts);
// The same for the bytes of a project file already in memory.
bool LoadProjectBytes(ProjectContext& project, std::span<const std::uint8_t> bytes,
                      Prompts& prompts);

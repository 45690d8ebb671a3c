#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

class Prompts;
class ProjectContext;

// Work on a project just read, before it becomes the current one: what the layers above the
// project core know of the image (the map pages' blocks in the free area).
using ProjectSetup = std::function<void(ProjectContext&)>;

// The File and ROM menu commands of the main window, without the window.
// NewProjectCommand and OpenProjectCommand return true when a new project became the current
// one; the window then shows its pages and tells them.

bool NewProjectCommand(Prompts& prompts, const ProjectSetup& setup = {});
// What File > New makes of a ROM image once read: the import into a fresh project, an empty
// allocation table, then the setup. False when the release is not supported; `notice`, when
// given, receives what the import has to tell.
bool SetUpNewProject(ProjectContext& project, std::span<const std::uint8_t> image,
                     const ProjectSetup& setup, std::string* notice = nullptr);
bool OpenProjectCommand(Prompts& prompts, const ProjectSetup& setup = {});
void SaveProjectAsCommand(Prompts& prompts);
void SaveRomAsCommand(Prompts& prompts);

// A project path gets ".qmp" appended unless it contains ".qmp" anywhere, in any letter case.
std::filesystem::path WithProjectExtension(const std::filesystem::path& path);

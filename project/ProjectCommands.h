#pragma once

#include <filesystem>
#include <functional>

class Prompts;
class ProjectContext;

// Work on a project just read, before it becomes the current one: what the layers above the
// project core know of the image (the map pages' blocks in the free area).
using ProjectSetup = std::function<void(ProjectContext&)>;

// The File and ROM menu commands of the main window, without the window.
// NewProjectCommand and OpenProjectCommand return true when a new project became the current
// one; the window then shows its pages and tells them.

bool NewProjectCommand(Prompts& prompts, const ProjectSetup& setup = {});
bool OpenProjectCommand(Prompts& prompts, const ProjectSetup& setup = {});
void SaveProjectAsCommand(Prompts& prompts);
void SaveRomAsCommand(Prompts& prompts);

// A project path gets ".qmp" appended unless it contains ".qmp" anywhere, in any letter case.
std::filesystem::path WithProjectExtension(const std::filesystem::path& path);

#pragma once

#include <filesystem>

class Prompts;

// The File and ROM menu commands of the main window, without the window.
// NewProjectCommand and OpenProjectCommand return true when a new project became the current
// one; the window then shows its pages and tells them.

bool NewProjectCommand(Prompts& prompts);
bool OpenProjectCommand(Prompts& prompts);
void SaveProjectAsCommand(Prompts& prompts);
void SaveRomAsCommand(Prompts& prompts);

// A project path gets ".qmp" appended unless it contains ".qmp" anywhere, in any letter case.
std::filesystem::path WithProjectExtension(const std::filesystem::path& path);

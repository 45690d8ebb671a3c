#pragma once

class ProjectContext;

// Builds the project's exit lists and world-map exit records from its image.
void LoadExitLists(ProjectContext& project);

#pragma once

#include <QWidget>

class ProjectContext;
class Prompts;

// The practice-patch page: turns the project's image into a practice version of the game
// ("Patch") or applies the smaller "CC Patch" set. Patch files come from the program's data
// folder. The main window keeps the page but does not show it.
class PractTab : public QWidget {
    Q_OBJECT
public:
    explicit PractTab(Prompts& prompts, QWidget* parent = nullptr);

    void ApplyPracticePatches();
    void ApplyCcPatches();

private:
    // The current project when it has an image; says so and gives null otherwise.
    ProjectContext* Project();

    Prompts& prompts_;
};

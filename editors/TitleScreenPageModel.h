#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Canvas.h"

class ProjectContext;
class Prompts;

// The "Title Screen" page without its widgets: the two pictures and what the controls show.
// The page reads its controls into these members, calls one handler and writes them back. Every
// edit goes straight into the image; a handler without a project (null) or image does nothing.
class TitleScreenPageModel {
public:
    // The pictures, empty until the first "Load".
    Canvas screen;   // 256 x 224
    Canvas tileSet;  // 128 x 128

    // What the controls show.
    int layoutLine = 0;  // the layout combo box: the block
    int tileLine = -1;   // the tile list: the piece; -1 for none
    std::vector<std::string> tileLines;
    bool large = false;  // "32x32" checked rather than "8x8"
    bool layoutEnabled = false;
    bool saveEnabled = false;

    // "Load": the screen, then the pieces of the chosen block. Says which parts of the title
    // screen the image does not hold where its tables point.
    void Load(const ProjectContext* project, Prompts& prompts);
    // After File > New or File > Open: empty pictures and lists, nothing to save or choose
    // until the next "Load".
    void Clear();
    // "Save": imports the palette and graphics files from the title data folder.
    void Save(ProjectContext* project, Prompts& prompts);
    void LayoutSelChange(const ProjectContext* project);
    // Highlights the chosen piece's square on the tile set and shows its size.
    void TileSelChange(const ProjectContext* project);
    // Clicks at (x, y) of the tile set and of the screen retile and move the chosen piece.
    void TileSetClick(ProjectContext* project, int x, int y);
    void ScreenClick(ProjectContext* project, int x, int y);

private:
    // The parts of the screen that the image lacks.
    std::vector<std::string> DrawScreen(const ProjectContext* project);
    std::size_t Block() const;
};

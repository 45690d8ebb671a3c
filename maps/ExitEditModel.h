#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maps/FloatingEditorText.h"
#include "project/ExitRecord.h"

class ProjectContext;
class Prompts;

// The index of the first exit whose rectangle holds the cell, or the list's size when none
// does. An exit of width or height 0 holds no cell.
std::uint32_t FindExitAt(const std::vector<ExitRecord>& exits, std::uint32_t column,
                         std::uint32_t row);

// The exit editor without its widgets: what its controls show and the exit that the last fill
// picked. Save, Delete and Add act only while that pick belongs to the given project.
class ExitEditModel {
public:
    // The edit fields, by caption.
    std::string srcMapId;      // "SrcMapID:"
    std::string dstMapId;      // "DstMapID:"
    std::string event;         // "Event:"
    std::string flag;          // "Flag:"
    std::string posX, posY;    // "PosX:", "PosY:"
    std::string sizeX, sizeY;  // "SizeX:", "SizeY:"
    std::string dstX, dstY;    // "DstX:", "DstY:"
    std::string transEffect;   // "TransEffect:"
    std::string direction;     // "Direction:"
    std::string offset;        // "Offset:"
    // The combo box of conditional destinations ("0", "1", ...), its selection (-1 for none),
    // and whether it, "Event:" and "Flag:" are enabled.
    std::vector<std::string> destinations;
    int destinationIndex = -1;
    bool destinationsEnabled = false;

    // The exit that the last fill picked.
    std::uint32_t selectedMapId = 0;
    std::uint32_t selectedExitIndex = 0;
    EditorSelection selection;

    // "Save", "Delete" and "Add" are enabled while this holds.
    bool ActionsEnabled(const ProjectContext* project) const { return selection.ValidFor(project); }

    // Shows the exit of the map that holds the cell and picks it. `exitIndex` (the calling
    // page's) ends at the found exit's index, or at the number of exits when none holds the
    // cell; it stays as it is for a map without exits. False when nothing was found.
    bool Fill(ProjectContext& project, std::uint32_t mapId, std::uint32_t column, std::uint32_t row,
              std::uint32_t& exitIndex);
    // A pick in the combo box: that conditional destination is shown.
    void SelectDestination(ProjectContext* project, int index);

    // "Save": the picked exit's rectangle, and its destination or the conditional destination
    // shown; the exit lists are written back and the exit is shown as stored. A refused field
    // is named in a message and nothing is written.
    void Save(ProjectContext* project, Prompts& prompts);
    // "Delete": removes the picked exit; nothing is picked afterwards.
    void Delete(ProjectContext* project, Prompts& prompts);
    // "Add": a new exit from the fields for the map that "SrcMapID:" names.
    void Add(ProjectContext* project, Prompts& prompts);

private:
    // The picked exit, or null when the pick does not hold for the project.
    ExitRecord* PickedExit(ProjectContext* project);
    // The exit that the fields describe; a field that is no number or does not fit is refused
    // through `reader`.
    ExitRecord TypedExit(FieldReader& reader) const;
    // Shows `exit`, exit `exitIndex` of the map, as the lists and the image hold it, with its
    // conditional destination `destination` when it has such.
    void ShowExit(const ProjectContext& project, std::uint32_t mapId, std::uint32_t exitIndex,
                  const ExitRecord& exit, std::size_t destination);
    void ShowDestination(const ProjectContext& project, std::uint16_t exitDstMapId,
                         std::size_t index);
};

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "maps/FloatingEditorText.h"

class ProjectContext;
class Prompts;

// An object, trigger or player spawn of a map's object list, as the object editor sees it.
struct PlacedObject {
    std::uint32_t offset = 0;  // image offset of the command byte
    std::uint8_t code = 0;
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint8_t flags = 0;
    std::uint32_t script = 0;  // game addresses
    std::uint32_t layout = 0;  // sprite layout; a player spawn has none
    bool IsSpawn() const;
    // Objects whose command takes six more bytes with some flags.
    bool IsFlagged() const;
};

// The first object, trigger or player spawn of the map's list (nested lists aside) whose cell
// or the cell to its right is the column, and whose cell or the one above it is the row; an
// object on row 0 is never found. Nothing for map ids past the object tables.
std::optional<PlacedObject> FindObjectAt(const ProjectContext& project, std::uint32_t mapId,
                                         std::uint32_t column, std::uint32_t row);

inline constexpr char kObjectUnsupportedType[] = "Unsupported type";
inline constexpr char kObjectErrorCaption[] = "Error";
inline constexpr char kObjectLengthRefused[] =
    "Object couldn't be saved\nbecause a flag of 0xFF or 0xC0 changes the length of its command.";
inline constexpr char kObjectAddNeedsExpandedRom[] =
    "Adding objects/triggers requires an expanded ROM!";

// The object editor without its widgets: what its controls show and the object that the last
// fill picked. Only objects of command 0 and 1 are written, in place and at their own length.
class ObjectEditModel {
public:
    std::string script;        // "Script offset:"
    std::string spriteLayout;  // "SpriteLayout:"
    std::string posX, posY;    // "PosX:", "PosY:"
    std::string flag;          // "Flag:"
    std::string animationId;   // "Animation ID:", shown only
    std::string enemyId;       // "Enemy ID:", shown only
    bool spriteLayoutEnabled = true;
    bool enemyIdEnabled = true;
    // "Interaction Flags:", shown only: bit 15 is the first box ("Invisible").
    std::uint16_t interactionFlags = 0;

    std::uint32_t selectedMapId = 0;
    std::uint32_t recordOffset = 0;
    EditorSelection selection;

    bool SaveEnabled(const ProjectContext* project) const {
        return selection.ValidFor(project) && saveAllowed_;
    }
    // "Add" has something to say only on an image that is not expanded.
    bool AddEnabled(const ProjectContext* project) const;

    // Shows the object on the cell of the map and picks it. False when there is none.
    bool Fill(const ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
              std::uint32_t row);
    // "Save": position, flags, script and sprite layout of the picked object, then shows it as
    // stored. A refused field is named in a message and nothing is written.
    void Save(ProjectContext* project, Prompts& prompts);
    // "Add": objects can be added only to an expanded image, and not by this editor.
    void Add(const ProjectContext* project, Prompts& prompts) const;

private:
    void ShowObject(const ProjectContext& project, const PlacedObject& o);

    bool saveAllowed_ = false;
};

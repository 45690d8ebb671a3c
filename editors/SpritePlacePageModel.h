#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "project/SpritePlacementList.h"

class FieldReader;
class ProjectContext;
class Prompts;

// The entry codes that the "Type:" list names, in its order.
inline constexpr std::array<std::uint8_t, 9> kSpritePlacementTypeCodes = {
    0x00, 0x01, 0x80, 0xF0, 0xFA, 0xFB, 0xFD, 0xFE, 0xFF};

inline constexpr char kSpritePlacementNoCall[] =
    "A 0xFA entry can't be added here: it needs a nested list to call.";
inline constexpr char kSpritePlacementNoEnd[] =
    "A 0xFF entry can't be added: it would end the list early.";

// The fields of an entry to add, as typed.
struct SpritePlacementFields {
    std::string x;
    std::string y;
    std::string flag;
    std::string script;
    std::string sprite;
    // The six more operands of a 0x01 entry: with flag 0xFF an address and three bytes, with
    // flag 0xC0 two addresses.
    std::array<std::string, 4> extraFF;
    std::array<std::string, 2> extraC0;
};

// Which of the fields an entry type is built from.
struct SpritePlacementFieldUse {
    bool x = true;
    bool y = true;
    bool flag = true;
    bool script = true;
    bool sprite = true;
    bool extra = false;  // the six 0x01 operands
};
SpritePlacementFieldUse FieldsUsedBy(std::uint8_t code);

// The tree line of an entry.
std::string SpritePlacementLine(const SpritePlacementEntry& entry);

// The entry of a type built from the fields, with the operands its code has in the image;
// nothing for 0xFA and 0xFF, whose entries can't be made from fields. A field the entry takes
// that is no number or does not fit its operand is refused through `reader`.
std::unique_ptr<SpritePlacementEntry> BuildSpritePlacementEntry(std::uint8_t code,
                                                                const SpritePlacementFields& fields,
                                                                FieldReader& reader);

// Puts an entry before the list's last two (at the front of a shorter list). Calls into a
// later part of the same list go on reaching the command they named.
void InsertSpritePlacementEntry(SpritePlacementList& list,
                                std::unique_ptr<SpritePlacementEntry> entry);

// The "Sprite Placement Editor" page without its widgets. The page reads its controls into
// these members, calls one handler and writes the members back. The handlers take the current
// project (null while there is none).
class SpritePlacePageModel {
public:
    // What the controls show.
    std::string mapIdText;     // "Map ID:"
    std::string headWordText;  // "Flags:"
    std::string nameText;      // "Name:"
    SpritePlacementFields fields;
    int typeLine = 0;  // "Type:", an index into kSpritePlacementTypeCodes
    SpritePlacementFieldUse fieldsEnabled;
    std::vector<std::string> treeLines;  // one per entry of the list shown

    // "Load": shows the list of the typed map.
    void Load(const ProjectContext* project, Prompts& prompts);
    // Enables the fields that the chosen type uses.
    void TypeSelChange();
    // "Add" is offered only where "Save" can write what it adds: a 6 MB image whose lists are
    // loaded and whose release reaches banks 0x50 and 0x51.
    static bool AddEnabled(const ProjectContext* project);
    // "Add": puts an entry of the chosen type into the typed map's list; the tree shows it after
    // the next "Load". False when refused (told through the prompts); then nothing changed.
    bool Add(ProjectContext* project, Prompts& prompts);
    // "Save": writes every map's list into the image. False when refused.
    bool Save(ProjectContext* project, Prompts& prompts);
    // After File > New or File > Open: nothing shown, the fields as at the start.
    void Clear();

private:
    // The typed map id, or nothing after a message when it can't name a map.
    std::optional<std::uint32_t> MapId(Prompts& prompts) const;
};

#include "scripts/ScriptCommandTable.h"

// The script commands and the operand bytes each writes after 0x02 and its number.
const std::array<ScriptCommandRow, 30> ScriptCommandTable = {{
    {"ModifyEventFlag", 0x07, 2, ScriptOperands::EventFlag, ""},
    {"EventFlagSetJump", 0x08, 3, ScriptOperands::EventFlagJump, ""},
    {"SpriteSetPosition", 0x13, 3, ScriptOperands::Fields, "bbb"},
    {"PlayerPort", 0x14, 4, ScriptOperands::Fields, "wwww"},
    {"SetBonepinWarp", 0x16, 4, ScriptOperands::Fields, "wbww"},
    {"SetRespawnLocation", 0x19, 8, ScriptOperands::Fields, "wbwwwbww"},
    {"Print16", 0x1B, kAnyArguments, ScriptOperands::Text, ""},
    {"Print24", 0x1C, kAnyArguments, ScriptOperands::Nothing, ""},
    {"WaitMessage", 0x1F, kAnyArguments, ScriptOperands::Fields, ""},
    {"OnTrigger", 0x21, kAnyArguments, ScriptOperands::Trigger, ""},
    {"Unknown_23", 0x23, kAnyArguments, ScriptOperands::Trigger, ""},
    {"SetObjectSolid", 0x3B, kAnyArguments, ScriptOperands::Fields, ""},
    {"BlockSetCollision", 0x3F, 3, ScriptOperands::Fields, "bbb"},
    {"PlayMusic", 0x30, 1, ScriptOperands::Fields, "b"},
    {"GotoPositionX", 0x39, 3, ScriptOperands::Fields, "bbb"},
    {"EventFlagSetSkip", 0x48, 2, ScriptOperands::EventFlag, ""},
    {"GiveItem", 0x54, 1, ScriptOperands::GiveItem, "b"},
    {"DelItem", 0x55, 1, ScriptOperands::Fields, "b"},
    {"GiveItemPlayMusic", 0x60, 3, ScriptOperands::Fields, "bwb"},
    {"ObjectMove", 0x87, 3, ScriptOperands::Fields, "bbb"},
    {"SetAnimationA", 0x80, 1, ScriptOperands::Fields, "b"},
    {"WaitAnimation", 0x8E, kAnyArguments, ScriptOperands::Fields, ""},
    {"WaitAnimation2", 0x8F, kAnyArguments, ScriptOperands::Fields, ""},
    {"ObjectDelete", 0xA7, kAnyArguments, ScriptOperands::Fields, ""},
    {"SpriteSetFacingRight", 0xB6, kAnyArguments, ScriptOperands::Fields, ""},
    {"SpriteSetFacingLeft", 0xB7, kAnyArguments, ScriptOperands::Fields, ""},
    {"MarkOrigin", 0xBC, kAnyArguments, ScriptOperands::Fields, ""},
    {"Delay", 0xC1, 1, ScriptOperands::Fields, "w"},
    {"FightingStatsLoad", 0xD9, 1, ScriptOperands::Fields, "b"},
    {"asm", 0xFF, kAnyArguments, ScriptOperands::Asm, ""},
}};

const ScriptCommandRow* FindScriptCommand(std::string_view name) {
    for (const ScriptCommandRow& row : ScriptCommandTable) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

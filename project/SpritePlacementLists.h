#pragma once

#include <cstdint>
#include <string>

class ProjectContext;
class Prompts;

// The project's object lists (spritePlacementLists) and their written form in a 6 MB image:
// bank A's pointer table at 0x508000 and its lists from 0x5088AC, bank B's at 0x518000 and
// 0x5188AC; a pointer is the low 16 bits of the list's image offset.
inline constexpr std::uint32_t kExtendedObjectTableA = 0x508000;
inline constexpr std::uint32_t kExtendedObjectTableB = 0x518000;
inline constexpr std::uint32_t kExtendedObjectBankA = 0x500000;
inline constexpr std::uint32_t kExtendedObjectBankB = 0x510000;
inline constexpr std::uint32_t kObjectTableBytes = 0x8AC;  // 1110 pointers

// In memory the link word of a 0xFA entry holds the distance from the link word to the called
// list when that list is the tail of the same list (from a later command on), so that it moves
// with it (whoever inserts entries between such a call and its tail must adjust it); otherwise
// it holds this mark, and the called list is written from the entry's children.
inline constexpr std::uint16_t kObjectLinkOutside = 0xFFFF;

inline constexpr char kSpritePlacementNotLoaded[] = "The sprite placement is not loaded";
inline constexpr char kSpritePlacementNeeds6MB[] =
    "The sprite placement can only be saved into a 6MB ROM.";
// Why a 6 MB image can't take the lists: its release's addresses fold below 0x500000.
inline constexpr char kExtendedBanksUnreachable[] =
    "the address rule of this release cannot reach banks 0x50 and 0x51";
inline constexpr char kSpritePlacementTooLarge[] =
    "The sprite placement doesn't fit into banks 0x50 and 0x51.\nNothing was saved.";
inline constexpr char kSpritePlacementMissing[] =
    "The object lists of this 6MB ROM are missing from banks 0x50 and 0x51: its code reads "
    "them there, but these banks hold no object list table.\nEvery map shows without objects.";

// Fills spritePlacementLists from the image: one list per map id, nested lists as children.
// Returns false when some list could not be read whole (no end within its bank, a call nested
// too deep or calling itself, or more entries than could ever be written back); such a list
// is cut there and ended.
bool LoadSpritePlacementLists(ProjectContext& project);

// The command at `offset` was changed in place in the image (its operands, not its length):
// every entry that stands for it, in any map's list or nested list, takes its operands again,
// so that the next write of the lists keeps the change. Calls are left alone: their entries
// keep their links in a form of their own.
void RereadSpritePlacementCommand(ProjectContext& project, std::uint32_t offset);

enum class SpritePlacementWriteResult { Written, NotExtendedImage, NotLoaded, TooLarge };

// Writes every list into banks 0x50 and 0x51 of a 6 MB image, points the project's four
// sprite-placement table entries there and sends the game there with the bank bytes. Nothing
// is written unless both banks hold their lists. The entries then know where they now stand.
SpritePlacementWriteResult WriteSpritePlacementLists(ProjectContext& project);

// The same, telling a refusal through the prompts. True when written.
bool WriteSpritePlacement(ProjectContext& project, Prompts& prompts);
bool WriteSpritePlacement(Prompts& prompts);

// A 6 MB image whose banks 0x50 and 0x51 are reached by plain offsets.
bool CanUseExtendedObjectBanks(const ProjectContext& project);

// Opening a project: a 6 MB image whose bank bytes already send the game to banks 0x50 and
// 0x51 has its lists there; then the lists are loaded. When those banks hold no list table
// while the release's own tables name lists, the result says that the lists are missing from
// the banks (every map shows without objects), for the person; it is empty otherwise.
std::string OpenSpritePlacement(ProjectContext& project);

// Importing an image: as opening, but a 6 MB image whose lists are not yet in banks 0x50 and
// 0x51 gets them moved there (and its bank bytes written) so that no map loses its objects.
// When they cannot be moved, the image keeps its lists and bank bytes where they are, and the
// result says so and why, for the person; it is empty otherwise.
std::string ImportSpritePlacement(ProjectContext& project);

// The ten code bytes of a 6 MB image that send the game to banks 0x50 and 0x51 for its
// sprite-placement tables.
void WriteExtendedBankBytes(ProjectContext& project);
// Whether all ten already hold those banks.
bool HasExtendedBankBytes(const ProjectContext& project);

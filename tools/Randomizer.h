#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "project/ChestRecord.h"

class ProjectContext;
class Prompts;

// The randomizer's changes to an image. Every function draws from the generator it is given.
using RandomizerGenerator = std::mt19937;

inline constexpr char kUnknownChestFlag[] = "Unknown chest flag";
inline constexpr char kRandomizerNeeds4MB[] =
    "The randomizer needs an image of at least 4 MB;\nnothing was changed.";
inline constexpr char kGiveItemsLeftOut[] =
    "The GiveItem commands at seven of the rumour's places were left out: this release's item "
    "routine is not known. The rumour was left out too, since it would promise items there that "
    "the game does not give.";
inline constexpr char kCreditsTooLarge[] =
    "credits_new.bin is larger than 0x7B0 bytes and would overwrite the routine at 0xE1FAB0;\n"
    "the credits were left out.";
// "Patches" on an image that holds the randomizer's patches from other files or setting.
inline constexpr char kRandomizedWithOtherFiles[] =
    "The randomizer's patches were not written: this ROM image holds them already, made with "
    "other patch files or another \"ASM Patches\" setting, and hooks already in the image would "
    "call code that this run would move or leave out. Use the same files and setting as before, "
    "or patch an image that does not hold them yet.";
// The file of fixed changes in the randomizer's data folder; see ReadRandomizerFixedWrites.
inline constexpr char kRandomizerFixedFile[] = "fixed-writes.txt";
inline constexpr std::uint32_t kRumourScriptAddress = 0xA81C3;

// One chest found by the walk, with the map whose list holds it.
struct RandomChest {
    ChestRecord record;
    std::uint32_t map = 0;
};

// Every chest of maps 0 to 1109 in order. `unknownFlag` is set, and the walk stops, at the
// first chest whose kind is not 0x00, 0x08 or 0x80.
struct ChestWalk {
    std::vector<RandomChest> chests;
    bool unknownFlag = false;
};
ChestWalk WalkChests(const ProjectContext& project);

// The text of a chest in the page's lists: "map|gems" or "map|item name".
std::string ChestComboText(const RandomChest& chest);

// Gives a chest (found at its recorded offset) the item word; a 7-byte chest becomes kind 0.
bool SetChestItem(ProjectContext& project, const ChestRecord& chest, std::uint16_t item);

// Replaces weapons by carrots and armour by item 27 up to their quotas, then by fillers, in
// every chest that is not excluded. Returns the chests collected; `message` is set when the
// walk met an unknown chest kind, in which case nothing was changed.
std::vector<RandomChest> RandomizeChestItems(ProjectContext& project, RandomizerGenerator& rng,
                                             std::string& message);

// Marks five of the twelve rumour places valuable and compiles the rumour naming them.
// Empty on success, else why nothing was written (an image under 4 MB, a release whose
// GiveItem commands cannot be written, a rumour that does not compile).
std::string WriteRumour(ProjectContext& project, RandomizerGenerator& rng);

// Three bytes of the bingo variant. False (nothing written) on an image under 4 MB.
bool ApplyBingoPatch(ProjectContext& project);

// Every patch of the randomizer's variant. The fixed changes and "credits_new.bin" are read
// from `folder`, the assembled patch files from its subfolder "asm". Messages go to `prompts`.
// An image that holds the practice patches is refused with nothing written.
void ApplyRandomizerPatches(ProjectContext& project, RandomizerGenerator& rng, Prompts& prompts,
                            bool asmPatches, const std::filesystem::path& folder);

// Shuffles the destinations of the boss exits. Returns a line for each boss exit that was not
// found in the image (and so left alone).
std::string ShuffleBosses(ProjectContext& project, RandomizerGenerator& rng);

// Shuffles the world map's entrances, each place's way back following its entrance, and writes
// the exit lists back. False, with nothing changed, when refused (the writer says why).
bool ShuffleEntrances(ProjectContext& project, RandomizerGenerator& rng, Prompts& prompts);

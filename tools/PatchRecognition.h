#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class ProjectContext;

// Where the practice patches and the randomizer hook their routines into the game, and how an
// image shows which of the two it holds: both use the same free places of the image, so each
// refuses an image that holds the other.

inline constexpr std::uint8_t kJsl = 0x22;
inline constexpr std::uint8_t kJml = 0x5C;
inline constexpr std::uint8_t kNop = 0xEA;
// Game addresses are 24 bits: the first one past the last.
inline constexpr std::uint64_t kGameAddressEnd = 0x1000000;

// How many bytes from the game address `address` on land one after the other in the image, the
// way patch files are placed: each address through the address rule, up to the image end, the
// last game address or the next address that the rule sends back to a lower offset.
std::uint32_t RoomFrom(const ProjectContext& project, std::uint32_t address);
// Where that room ends, for messages: "the end of the image at 0x...", or "game address 0x...,
// which the address rule puts at image offset 0x...".
std::string RoomEndText(const ProjectContext& project, std::uint32_t address);

// --- The practice patches ---

// A hook target that stands for the address the hooked patch file is copied to.
inline constexpr std::uint32_t kRunningAddress = 0;

// How a patch file is hooked into the game: at `site` (a game address) first `nopRun` bytes
// 0xEA, then over their start `opcode` (JSL or JML) with the 24-bit target and `tail`.
struct PatchHook {
    const char* file;
    std::uint32_t site;
    std::uint8_t opcode;
    std::uint32_t target;
    std::vector<std::uint8_t> tail;
    std::uint8_t nopRun;
};

// The patch files of both practice sets in the order they are laid out, with their hooks.
const std::vector<PatchHook>& PracticePatchHooks();
const std::vector<PatchHook>& CcPatchHooks();

// Game addresses where the two sets of patch files start.
inline constexpr std::uint32_t kPracticePatchStart = 0xE1F300;
inline constexpr std::uint32_t kCcPatchStart = 0xE1FF00;

// The bytes of `hook` when its file lands at the game address `running`.
std::vector<std::uint8_t> HookBytes(const PatchHook& hook, std::uint32_t running);

// Which practice patch sets the image holds, as the messages name them ("the practice patches
// of ..."); empty for none.
std::string PracticePatchesInImage(const ProjectContext& project);

// --- The randomizer ---

// The game address at which the randomizer appends its patch files.
inline constexpr std::uint32_t kRandomizerRunningStart = 0x88CDC7;
// The bytes appended after "ItemAdd.bin" (or in its place when it is left out).
inline constexpr std::array<std::uint8_t, 2> kItemAddEnd = {0xD7, 0xD3};

// A routine of the fixed changes (step 9), called from its hook site.
struct Step9Routine {
    std::uint32_t site;
    std::uint32_t address;
    std::size_t size;
};
inline constexpr std::array<Step9Routine, 2> kStep9Routines = {{
    {0xC5D94B, 0xE1FAB0, 21},
    {0xC79493, 0x88CD63, 85},
}};

// A patch file appended at the running address, called from each of its sites (0: none) by a
// JSL followed by `nops` NOPs.
struct HookedFile {
    std::string_view name;
    std::array<std::uint32_t, 2> sites;
    std::uint32_t nops;
};
inline constexpr std::array<HookedFile, 1> kItemAddFile = {{{"ItemAdd.bin", {0xC09A09, 0}, 2}}};
inline constexpr std::array<HookedFile, 7> kAsmPatchFiles = {{
    {"player_level.bin", {0xC5DD70, 0}, 0},
    {"enemy_level.bin", {0xC5DE98, 0}, 2},
    {"enemy_attack.bin", {0xC5DEBE, 0}, 1},
    {"enemy_defense.bin", {0xC5DD7A, 0}, 1},
    {"enemy_luck.bin", {0xC5DB3C, 0}, 0},
    {"enemy_health.bin", {0xC0F968, 0xC0B522}, 0},
    {"dg1_level.bin", {0xC5DCD2, 0}, 0},
}};
inline constexpr std::array<std::uint32_t, 3> kCreditsHookSites = {0xC7EC6E, 0xC7ECA4, 0xC7ECBF};

// A JSL to `target` followed by `nops` NOPs: a hook of the randomizer.
std::vector<std::uint8_t> JslHook(std::uint32_t target, std::uint32_t nops);

// Step 12's bytes at image offsets: every run of the randomizer's patches writes them.
struct Step12Write {
    std::uint32_t offset;
    std::array<std::uint8_t, 2> stored;
    std::size_t size;

    std::span<const std::uint8_t> Bytes() const { return std::span(stored).first(size); }
};
inline constexpr std::array<Step12Write, 3> kStep12Writes = {{
    {0x7CF52, {0x00, 0xF3}, 2},
    {0x7EC45, {0x87, 0}, 1},
    {0x7EC14, {0x20, 0}, 1},
}};

// Whether the image holds a hook that the randomizer's patches write.
bool HoldsRandomizerHooks(const ProjectContext& project);

// Whether the randomizer's patches were written into the image before: it holds one of their
// hooks, or step 12's bytes.
bool HoldsRandomizerPatches(const ProjectContext& project);

#include "tools/PatchRecognition.h"

#include <algorithm>

#include "platform/FormatText.h"
#include "project/ByteAccess.h"
#include "project/ProjectContext.h"

namespace {

std::vector<std::uint8_t> LongJump(std::uint8_t opcode, std::uint32_t target) {
    return {opcode, static_cast<std::uint8_t>(target), static_cast<std::uint8_t>(target >> 8),
            static_cast<std::uint8_t>(target >> 16)};
}

// Whether the image offset `at` holds exactly `bytes`.
bool HoldsBytes(const ProjectContext& project, std::uint32_t at,
                std::span<const std::uint8_t> bytes) {
    return InRange(project.romImage.size(), at, bytes.size()) &&
           std::equal(bytes.begin(), bytes.end(), project.romImage.begin() + at);
}

// Whether the game address `site` holds exactly `bytes`. Only hooks whose bytes do not hang on
// the sizes of the patch files tell: a long call into the free places may as well be the
// game's own code.
bool HoldsHook(const ProjectContext& project, std::uint32_t site,
               std::span<const std::uint8_t> bytes) {
    return HoldsBytes(project, project.WrapRomOffset(site), bytes);
}

}  // namespace

std::uint32_t RoomFrom(const ProjectContext& project, std::uint32_t address) {
    const std::uint64_t first = project.WrapRomOffset(address);
    const std::uint64_t size = project.romImage.size();
    if (address >= kGameAddressEnd || first >= size) {
        return 0;
    }
    // Below the image size the rule keeps the address, so only the image end bounds the room.
    // Past it, and on region index 5 everywhere, the rule keeps the low bits: it starts again
    // at offset 0 on every 4 MB (1 MB) boundary.
    std::uint64_t next = kGameAddressEnd;
    if (project.regionIndex == 5) {
        next = (address | 0xFFFFFull) + 1;
    } else if (address >= project.romSize) {
        next = (address | 0x3FFFFFull) + 1;
    }
    return static_cast<std::uint32_t>(
        std::min({next - address, size - first, kGameAddressEnd - address}));
}

std::string RoomEndText(const ProjectContext& project, std::uint32_t address) {
    const std::uint64_t end = std::uint64_t{address} + RoomFrom(project, address);
    if (project.WrapRomOffset(address) + (end - address) >= project.romImage.size()) {
        return FormatText("the end of the image at 0x%zX", project.romImage.size());
    }
    if (end >= kGameAddressEnd) {
        return "the last game address 0xFFFFFF";
    }
    const auto next = static_cast<std::uint32_t>(end);
    return FormatText("game address 0x%06X, which the address rule puts at image offset 0x%X", next,
                      project.WrapRomOffset(next));
}

// The practice patch files, laid out one after the other from kPracticePatchStart.
const std::vector<PatchHook>& PracticePatchHooks() {
    static const std::vector<PatchHook> hooks = {
        {"teleporter.bin", 0xC787D4, kJml, 0xE1F300, {}, 0},
        {"equip_give.bin", 0xC5B066, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"weapon_give.bin", 0xC5B1B8, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"item_give.bin", 0xC5AD58, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"quick_save.bin", 0x80820C, kJsl, kRunningAddress, {0x60}, 0},
        {"quick_load.bin", 0x808061, kJsl, kRunningAddress, {}, 0},
        {"menu.bin", 0xC7C7E0, kJml, kRunningAddress, {}, 0},
        {"objecy_insert.bin", 0xC0F442, kJsl, kRunningAddress, {kNop}, 0},
        {"save_menu_control.bin", 0xC78793, kJsl, kRunningAddress, {}, 16},
        {"timer.bin", 0xC5FC1C, kJsl, kRunningAddress, {}, 0},
    };
    return hooks;
}

// The "CC" patch files, laid out from kCcPatchStart.
const std::vector<PatchHook>& CcPatchHooks() {
    static const std::vector<PatchHook> hooks = {
        {"slicer_up.bin", 0xC49578, kJsl, 0xE1FF00, {kNop, kNop}, 0},
        {"slicer_left.bin", 0xC495D6, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"slicer_down.bin", 0xC49549, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"slicer_right.bin", 0xC495A7, kJsl, kRunningAddress, {kNop, kNop}, 0},
        {"onehitko.bin", 0xC5DFFB, kJsl, kRunningAddress, {}, 0},
    };
    return hooks;
}

std::vector<std::uint8_t> HookBytes(const PatchHook& hook, std::uint32_t running) {
    std::vector<std::uint8_t> jump =
        LongJump(hook.opcode, hook.target == kRunningAddress ? running : hook.target);
    jump.insert(jump.end(), hook.tail.begin(), hook.tail.end());
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(hook.nopRun, jump.size()), kNop);
    std::copy(jump.begin(), jump.end(), bytes.begin());
    return bytes;
}

std::string PracticePatchesInImage(const ProjectContext& project) {
    // A set is written whole, so its first hook is there, leading to the set's start.
    const auto holds = [&](const std::vector<PatchHook>& hooks, std::uint32_t start) {
        return HoldsHook(project, hooks.front().site, HookBytes(hooks.front(), start));
    };
    const bool patch = holds(PracticePatchHooks(), kPracticePatchStart);
    const bool cc = holds(CcPatchHooks(), kCcPatchStart);
    if (!patch && !cc) {
        return {};
    }
    return std::string("the practice patches of ") + (!cc     ? "\"Patch\""
                                                      : patch ? "\"Patch\" and \"CC Patch\""
                                                              : "\"CC Patch\"");
}

std::vector<std::uint8_t> JslHook(std::uint32_t target, std::uint32_t nops) {
    std::vector<std::uint8_t> bytes(4 + nops, kNop);
    const std::vector<std::uint8_t> jump = LongJump(kJsl, target);
    std::copy(jump.begin(), jump.end(), bytes.begin());
    return bytes;
}

bool HoldsRandomizerHooks(const ProjectContext& project) {
    for (const Step9Routine& routine : kStep9Routines) {
        if (HoldsHook(project, routine.site, JslHook(routine.address, 0))) {
            return true;
        }
    }
    // "ItemAdd.bin" lands at the running start. Without it, the files after it start right
    // behind the bytes that end it: the first "ASM Patches" file, or else the credits routine.
    const HookedFile& itemAdd = kItemAddFile.front();
    const HookedFile& firstAsm = kAsmPatchFiles.front();
    const std::uint32_t behindEnd = kRandomizerRunningStart + kItemAddEnd.size();
    return HoldsHook(project, itemAdd.sites[0], JslHook(kRandomizerRunningStart, itemAdd.nops)) ||
           HoldsHook(project, firstAsm.sites[0], JslHook(behindEnd, firstAsm.nops)) ||
           HoldsHook(project, kCreditsHookSites[0], JslHook(behindEnd, 0));
}

bool HoldsRandomizerPatches(const ProjectContext& project) {
    return HoldsRandomizerHooks(project) ||
           std::all_of(kStep12Writes.begin(), kStep12Writes.end(), [&](const Step12Write& write) {
               return HoldsBytes(project, write.offset, write.Bytes());
           });
}

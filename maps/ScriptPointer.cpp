#include "maps/ScriptPointer.h"

namespace {

constexpr std::uint32_t kHighScripts = 0xC00000;
constexpr std::uint32_t kHighBanks = 0xC0;

}  // namespace

std::uint32_t ResolveScriptPointer(std::uint32_t pointerPos, std::uint32_t value) {
    const std::uint32_t behind = pointerPos + 3;
    const std::uint32_t bank = ((behind >> 16) + ((value & 0xFFFFFF) >> 15)) & 0xFF;
    std::uint32_t result = bank << 16 | 0x8000 | (value & 0x7FFF);
    if (behind >= kHighScripts || bank >= kHighBanks) {
        result &= ~0x8000u;
    }
    return result;
}

std::uint32_t EncodeScriptPointer(std::uint32_t pointerPos, std::uint32_t target) {
    const std::uint32_t banks = (target >> 16) - ((pointerPos + 3) >> 16);
    return ((banks << 15) | (target & 0x7FFF)) & 0xFFFFFF;
}

bool ScriptPointerReaches(std::uint32_t pointerPos, std::uint32_t target) {
    return ResolveScriptPointer(pointerPos, EncodeScriptPointer(pointerPos, target)) == target;
}

BankHalf ReachableBankHalf(std::uint32_t pointerPos) {
    return pointerPos + 3 >= kHighScripts ? BankHalf::Lower : BankHalf::Upper;
}

#pragma once

#include <cstdint>

#include "project/Allocator.h"

// The bank-relative 3-byte pointers of map header scripts. A pointer whose first byte stands at
// script position `pointerPos` counts its bank from the position just behind it.

// The game address that the 24-bit pointer value designates from pointerPos. Every 0x8000 of
// the value is one bank further; the bank wraps at 0xFF. Bit 15 of the result is set, except
// from 0xC00000 on (behind the pointer) or in banks from 0xC0 on.
std::uint32_t ResolveScriptPointer(std::uint32_t pointerPos, std::uint32_t value);

// The 24-bit value that the header-script builder stores at pointerPos for a block at target:
// the difference of their banks times 0x8000, plus the low 15 bits of target.
std::uint32_t EncodeScriptPointer(std::uint32_t pointerPos, std::uint32_t target);

// Whether a pointer at pointerPos can designate exactly target.
bool ScriptPointerReaches(std::uint32_t pointerPos, std::uint32_t target);

// The half of a bank below 0xC0 that a pointer at pointerPos reaches: the upper half from
// below 0xC00000, the lower half from there on.
BankHalf ReachableBankHalf(std::uint32_t pointerPos);

#pragma once

#include <cstdint>
#include <optional>
#include <span>

class ProjectContext;

// A map's object list in the image: a u16 head word (its high byte is the map mode), then
// commands, each a code byte and its operands, up to the code 0xFF. Command 0xFA calls a nested
// list (commands only, no head word) in the same 64 KB bank when its condition holds.
inline constexpr std::uint8_t kObjectCodeData = 0xF0;
inline constexpr std::uint8_t kObjectCodeCall = 0xFA;
inline constexpr std::uint8_t kObjectCodeScript = 0xFB;
inline constexpr std::uint8_t kObjectCodePlayerSpawn = 0xFD;
inline constexpr std::uint8_t kObjectCodeScriptOffset = 0xFE;
inline constexpr std::uint8_t kObjectCodeEnd = 0xFF;
inline constexpr std::uint16_t kObjectCallSecondCondition = 0x1000;
// How deep readers follow 0xFA calls; the game's lists nest far less.
inline constexpr int kMaxObjectListNesting = 8;

// The number of operand bytes of a command, from its code and the bytes that follow it
// (missing bytes count as 0).
std::uint32_t ObjectOperandLength(std::uint8_t code, std::span<const std::uint8_t> following);

// Where the link word of a 0xFA command lies among its operands: after one or two conditions.
inline std::uint32_t ObjectCallLinkOffset(std::uint16_t firstCondition) {
    return (firstCondition & kObjectCallSecondCondition) != 0 ? 4 : 2;
}

// One command as it stands in the image.
struct ObjectCommand {
    std::uint32_t offset = 0;  // image offset of the code byte
    std::uint8_t code = 0;
    std::span<const std::uint8_t> operands;  // inside the image

    std::uint32_t Size() const { return 1 + static_cast<std::uint32_t>(operands.size()); }
    bool IsEnd() const { return code == kObjectCodeEnd; }
    bool IsCall() const { return code == kObjectCodeCall; }
    std::uint8_t Operand(std::size_t i) const { return i < operands.size() ? operands[i] : 0; }
    std::uint16_t OperandWord(std::size_t i) const {
        return static_cast<std::uint16_t>(Operand(i) | Operand(i + 1) << 8);
    }
    std::uint32_t OperandLong(std::size_t i) const {
        return OperandWord(i) | static_cast<std::uint32_t>(Operand(i + 2)) << 16;
    }
    // For a call: the operand offset of the link word and the image offset of the called list.
    std::uint32_t LinkOffset() const { return ObjectCallLinkOffset(OperandWord(0)); }
    std::uint32_t CallTarget() const { return (offset & 0xFF0000) | OperandWord(LinkOffset()); }
};

// Reads the commands of one list (or nested list) from an image offset. The walk never leaves
// the 64 KB bank it starts in, nor the image; a command that would cross that bound ends it as
// truncated.
class ObjectListReader {
public:
    ObjectListReader(std::span<const std::uint8_t> image, std::uint32_t start);

    // The next command, the end command included; nothing after the end or when truncated.
    std::optional<ObjectCommand> Next();

private:
    std::span<const std::uint8_t> image_;
    std::uint32_t position_;
    std::uint32_t limit_;
    bool finished_ = false;
};

// Where a map's object list lies: bank B's pointer when it is not 0, else bank A's.
struct ObjectListLocation {
    std::uint32_t offset = 0;    // image offset of the head word
    std::uint32_t selector = 0;  // 0: bank A, 1: bank B
};

// The list of a map id, or nothing when both pointers are 0 (the map has no object list).
std::optional<ObjectListLocation> LocateObjectList(const ProjectContext& project,
                                                   std::uint32_t mapId);

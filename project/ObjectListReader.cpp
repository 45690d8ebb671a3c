#include "project/ObjectListReader.h"

#include <algorithm>

#include "project/ProjectContext.h"

std::uint32_t ObjectOperandLength(std::uint8_t code, std::span<const std::uint8_t> following) {
    switch (code) {
        case kObjectCodeData:
        case kObjectCodePlayerSpawn:
            return 6;
        case kObjectCodeCall:
            return 2 + ObjectCallLinkOffset(GetU16(following, 0));
        case kObjectCodeScript:
        case kObjectCodeScriptOffset:
            return 4;
        case kObjectCodeEnd:
            return 0;
        default:
            break;
    }
    switch (code & 0x3F) {
        case 0:
            return 9;
        case 1: {
            // Objects placed with flags 0xFF or 0xC0 carry six more bytes.
            const std::uint8_t flags = GetU8(following, 2);
            return flags == 0xFF || flags == 0xC0 ? 15 : 9;
        }
        default:
            return 0;
    }
}

ObjectListReader::ObjectListReader(std::span<const std::uint8_t> image, std::uint32_t start)
    : image_(image),
      position_(start),
      limit_(static_cast<std::uint32_t>(
          std::min<std::uint64_t>(image.size(), (start & 0xFF0000ull) + 0x10000))) {}

std::optional<ObjectCommand> ObjectListReader::Next() {
    if (finished_) {
        return std::nullopt;
    }
    if (position_ >= limit_) {
        finished_ = true;
        return std::nullopt;
    }
    const auto rest = image_.subspan(position_ + 1, limit_ - position_ - 1);
    ObjectCommand command;
    command.offset = position_;
    command.code = image_[position_];
    const std::uint32_t length = ObjectOperandLength(command.code, rest);
    if (length > rest.size()) {
        finished_ = true;
        return std::nullopt;
    }
    command.operands = rest.first(length);
    position_ += command.Size();
    finished_ = command.IsEnd();
    return command;
}

std::optional<ObjectListLocation> LocateObjectList(const ProjectContext& project,
                                                   std::uint32_t mapId) {
    const auto pointerIn = [&](RegionTable table) {
        return project.Read16(project.WrapRomOffset(project.Table(table) + 2 * mapId));
    };
    if (const std::uint16_t b = pointerIn(RegionTable::SpritePlacementPointerTableB); b != 0) {
        return ObjectListLocation{
            project.WrapRomOffset(project.Table(RegionTable::SpritePlacementBankB) | b), 1};
    }
    if (const std::uint16_t a = pointerIn(RegionTable::SpritePlacementPointerTableA); a != 0) {
        return ObjectListLocation{
            project.WrapRomOffset(project.Table(RegionTable::SpritePlacementBankA) | a), 0};
    }
    return std::nullopt;
}

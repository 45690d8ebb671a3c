#include "editors/EnemyRecord.h"

#include <algorithm>

#include "editors/LevelWordBits.h"
#include "project/ByteAccess.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kGroupFlagBit = kLevelWordFreeBit;

std::uint32_t LevelEntry(std::uint32_t word, std::size_t kind) {
    if ((word & PresenceBit(kind)) == 0) {
        return 0;
    }
    if ((word & SecondLevelBit(kind)) != 0) {
        return 3;
    }
    return (word & FirstLevelBit(kind)) != 0 ? 2 : 1;
}

std::uint32_t LevelBits(std::uint32_t entry, std::size_t kind) {
    switch (entry) {
        case 1:
            return PresenceBit(kind);
        case 2:
            return PresenceBit(kind) | FirstLevelBit(kind);
        case 3:
            return PresenceBit(kind) | SecondLevelBit(kind);
        default:
            return 0;
    }
}

// Two decimal digits, tens in the high nibble.
std::uint8_t Bcd(std::uint32_t value) {
    return static_cast<std::uint8_t>((value % 100 / 10) << 4 | value % 10);
}

// Hundreds from a nibble, tens and ones from two decimal digits (not checked to be decimal).
std::uint32_t NibbleCount(std::uint8_t hundreds, std::uint8_t digits) {
    return (hundreds & 0x0F) * 100u + (digits >> 4) * 10u + (digits & 0x0F);
}

// A count the record already showed is kept as it stands, whatever its digits; a new one is
// clamped to what the nibbles can hold.
std::uint32_t CountToWrite(std::uint32_t count, std::uint32_t shown) {
    return count == shown ? count : std::min(count, kEnemyMaxCount);
}

}  // namespace

EnemyRecord UnpackEnemyRecord(const EnemyRecordBytes& bytes) {
    EnemyRecord record;
    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        const std::uint32_t word = GetU16(bytes, 2 * group);
        for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
            record.levels[group][kind] = LevelEntry(word, kind);
        }
        record.groupFlags[group] = (word & kGroupFlagBit) != 0;
    }
    record.level = bytes[8];
    record.health = GetU16(bytes, 9);
    record.experience = NibbleCount(bytes[12], bytes[11]);
    record.gems = NibbleCount(bytes[14], bytes[13]);
    record.chance = DropChancePercent(bytes[14] >> 4);
    record.attack = GetU16(bytes, 15);
    record.defense = GetU16(bytes, 17);
    record.luck = bytes[19];
    const std::uint32_t attack2 = GetU16(bytes, 20);
    record.attack2 = attack2 & 0x07FF;
    record.effect = attack2 >> 11;
    record.unknown = bytes[22];
    for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
        record.attack2Elements[kind] = (bytes[23] & (0x08u << kind)) != 0;
    }
    record.luck2 = bytes[24];
    return record;
}

EnemyRecordBytes PackEnemyRecord(const EnemyRecord& record, const EnemyRecordBytes& original) {
    const EnemyRecord before = UnpackEnemyRecord(original);
    EnemyRecordBytes bytes = original;

    for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
        const std::uint32_t oldWord = GetU16(original, 2 * group);
        std::uint32_t word = record.groupFlags[group] ? kGroupFlagBit : 0;
        for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
            const std::uint32_t entry = record.levels[group][kind];
            if (entry == before.levels[group][kind]) {
                word |= oldWord & (PresenceBit(kind) | FirstLevelBit(kind) | SecondLevelBit(kind));
            } else {
                word |= LevelBits(entry, kind);
            }
        }
        PutU16(bytes, 2 * group, word);
    }

    bytes[8] = static_cast<std::uint8_t>(record.level);
    PutU16(bytes, 9, record.health);
    const std::uint32_t experience = CountToWrite(record.experience, before.experience);
    if (experience != before.experience) {
        bytes[11] = Bcd(experience);
        bytes[12] = static_cast<std::uint8_t>(experience / 100);
    }
    const std::uint32_t gems = CountToWrite(record.gems, before.gems);
    if (gems != before.gems) {
        bytes[13] = Bcd(gems);
        bytes[14] = static_cast<std::uint8_t>((bytes[14] & 0xF0) | gems / 100);
    }
    if (record.chance != before.chance) {
        bytes[14] =
            static_cast<std::uint8_t>((bytes[14] & 0x0F) | DropChanceCode(record.chance) << 4);
    }
    PutU16(bytes, 15, record.attack);
    PutU16(bytes, 17, record.defense);
    bytes[19] = static_cast<std::uint8_t>(record.luck);
    PutU16(bytes, 20, (record.attack2 & 0x07FF) | (record.effect & 0x1F) << 11);
    bytes[22] = static_cast<std::uint8_t>(record.unknown);
    std::uint32_t elements = original[23] & 0x07;
    for (std::size_t kind = 0; kind < kLevelKindCount; ++kind) {
        if (record.attack2Elements[kind]) {
            elements |= 0x08u << kind;
        }
    }
    bytes[23] = static_cast<std::uint8_t>(elements);
    bytes[24] = static_cast<std::uint8_t>(record.luck2);
    return bytes;
}

std::uint32_t DropChancePercent(std::uint32_t code) {
    std::uint32_t percent = (code & 0x8) != 0 ? 50 : 100;
    for (std::uint32_t bit : {0x4u, 0x2u, 0x1u}) {
        if ((code & bit) != 0) {
            percent >>= 1;
        }
    }
    return percent;
}

std::uint32_t DropChanceCode(std::uint32_t percent) {
    if (percent < 7) {
        return 0xF;
    }
    if (percent < 13) {
        return 0x7;
    }
    if (percent < 26) {
        return 0x3;
    }
    return percent < 51 ? 0x1 : 0x0;
}

std::uint32_t EffectiveDefense(const EnemyRecord& record) {
    return (record.level + 11) * record.defense / 12;
}

std::uint32_t EffectiveAttack(const EnemyRecord& record) {
    return (record.level + 7) * record.attack / 8;
}

std::optional<std::uint32_t> EnemyRecordOffset(const ProjectContext& project, std::uint32_t e) {
    const std::uint32_t pointer = project.Table(RegionTable::EnemyPointerTable) + 2 * e;
    if (e >= kEnemyCount || !InRange(project.romImage.size(), pointer, 2)) {
        return std::nullopt;
    }
    const std::uint32_t offset =
        project.Table(RegionTable::EnemyDataBank) + project.Read16(pointer);
    if (!InRange(project.romImage.size(), offset, kEnemyRecordSize)) {
        return std::nullopt;
    }
    return offset;
}

std::optional<EnemyRecordBytes> ReadEnemyRecord(const ProjectContext& project, std::uint32_t e) {
    const auto offset = EnemyRecordOffset(project, e);
    if (!offset) {
        return std::nullopt;
    }
    EnemyRecordBytes bytes;
    std::copy_n(project.romImage.begin() + *offset, bytes.size(), bytes.begin());
    return bytes;
}

bool SaveEnemyRecord(ProjectContext& project, std::uint32_t e, EnemyRecord& record) {
    const auto original = ReadEnemyRecord(project, e);
    if (!original) {
        return false;
    }
    const EnemyRecord before = UnpackEnemyRecord(*original);
    record.experience = CountToWrite(record.experience, before.experience);
    record.gems = CountToWrite(record.gems, before.gems);
    return project.WriteBytes(*EnemyRecordOffset(project, e), PackEnemyRecord(record, *original));
}

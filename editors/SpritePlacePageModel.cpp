#include "editors/SpritePlacePageModel.h"


#include "maps/MapHeaderTable.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "project/ByteAccess.h"
#include "project/NumberText.h"
#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"
#include "project/SpritePlacementLists.h"

namespace {

// The name of a 0xFF entry: its operand bytes but the last, as 8-bit characters up to the
// first zero. An entry with no operands has an empty name.
std::string EntryName(const SpritePlacementEntry& entry) {
    std::string name;
    const std::size_t length = entry.length > 0 ? entry.length - 1 : 0;
    for (std::size_t i = 0; i < length && i < entry.data.size() && entry.data[i] != 0; ++i) {
        const std::uint8_t c = entry.data[i];
        if (c < 0x80) {
            name += static_cast<char>(c);
        } else {
            name += static_cast<char>(0xC0 | c >> 6);
            name += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return name;
}

std::uint8_t Byte(FieldReader& reader, const std::string& text, const char* field) {
    return static_cast<std::uint8_t>(reader.Read(text, field, 0, 0xFF));
}

void PutLong(FieldReader& reader, std::vector<std::uint8_t>& data, const std::string& text,
             const char* field) {
    const auto value =
        static_cast<std::uint32_t>(reader.Read(text, field, 0, 0xFFFFFF, NumberBase::Hexadecimal));
    data.insert(data.end(),
                {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                 static_cast<std::uint8_t>(value >> 16)});
}

}  // namespace

SpritePlacementFieldUse FieldsUsedBy(std::uint8_t code) {
    switch (code) {
        case 0x00:
        case 0x80:
            return {};
        case 0x01:
            return {.extra = true};
        case kObjectCodeScript:
        case kObjectCodeScriptOffset:
            return {.x = false, .y = false, .sprite = false};
        case kObjectCodePlayerSpawn:
            return {.sprite = false};
        default:
            return {.x = false, .y = false, .flag = false, .script = false, .sprite = false};
    }
}

std::string SpritePlacementLine(const SpritePlacementEntry& entry) {
    const auto& d = entry.data;
    const std::uint32_t code = entry.code;
    const auto u8 = [&](std::size_t i) -> unsigned { return GetU8(d, i); };
    const auto u16 = [&](std::size_t i) -> unsigned { return GetU16(d, i); };
    const auto u24 = [&](std::size_t i) -> unsigned { return GetU24(d, i); };
    switch (code) {
        case 0x00:
            return FormatText("[%02X] X:%u Y:%u Flag:%02X Script: %06X Sprite: %06X", code, u8(0),
                          u8(1), u8(2), u24(3), u24(6));
        case 0x01:
            if (u8(2) == 0xFF) {
                return FormatText(
                    "[%02X] X:%u Y:%u Flag:%02X Script: %06X Sprite: %06X Unknown: %06X "
                    "%02X,%02X,%02X",
                    code, u8(0), u8(1), 0xFF, u24(3), u24(6), u24(9), u8(12), u8(13), u8(14));
            }
            if (u8(2) == 0xC0) {
                return FormatText(
                    "[%02X] X:%u Y:%u Flag:%02X Script: %06X Sprite: %06X Unknown: %06X %06X", code,
                    u8(0), u8(1), 0xC0, u24(3), u24(6), u24(9), u24(12));
            }
            return FormatText("[%02X] X:%u Y:%u Flag:%02X Script: %06X Sprite: %06X", code, u8(0),
                          u8(1), u8(2), u24(3), u24(6));
        case 0x80:
            // Its operands are those of every object command: X, Y and flags come first.
            return FormatText("[%02X] Script: %06X Sprite: %06X", code, u24(3), u24(6));
        case kObjectCodeCall:
            // The link shown is the image's: the data keeps it in the lists' own form.
            if ((u16(0) & kObjectCallSecondCondition) != 0) {
                return FormatText("[%02X] Flag:%04X Flag:%04X Script: %04X", code, u16(0), u16(2),
                              unsigned{entry.imageLink});
            }
            return FormatText("[%02X] Flag:%04X Script: %04X", code, u16(0), unsigned{entry.imageLink});
        case kObjectCodeScript:
        case kObjectCodeScriptOffset:
            return FormatText("[%02X] Flag:%02X Script: %06X", code, u8(0), u24(1));
        case kObjectCodePlayerSpawn:
            return FormatText("[%02X] X:%u Y:%u Flag:%02X Script: %06X", code, u8(0), u8(1), u8(2),
                          u24(3));
        case kObjectCodeEnd:
            return FormatText("[%02X] Name:", code) + EntryName(entry);
        default:
            return FormatText("[%02X]", code);
    }
}

std::unique_ptr<SpritePlacementEntry> BuildSpritePlacementEntry(std::uint8_t code,
                                                                const SpritePlacementFields& fields,
                                                                FieldReader& reader) {
    constexpr const char* kExtraFF[] = {"Flag: 0xFF (1)", "Flag: 0xFF (2)", "Flag: 0xFF (3)",
                                        "Flag: 0xFF (4)"};
    constexpr const char* kExtraC0[] = {"Flag: 0xC0 (1)", "Flag: 0xC0 (2)"};
    if (code == kObjectCodeCall || code == kObjectCodeEnd) {
        return nullptr;
    }
    auto entry = std::make_unique<SpritePlacementEntry>();
    entry->code = code;
    auto& d = entry->data;
    switch (code) {
        case kObjectCodeData:
            d.assign(6, 0);
            break;
        case kObjectCodeScript:
        case kObjectCodeScriptOffset:
            d.push_back(Byte(reader, fields.flag, "Flag:"));
            PutLong(reader, d, fields.script, "Script Offset:");
            break;
        case kObjectCodePlayerSpawn:
            d = {Byte(reader, fields.x, "X:"), Byte(reader, fields.y, "Y:"),
                 Byte(reader, fields.flag, "Flag:")};
            PutLong(reader, d, fields.script, "Script Offset:");
            break;
        default:
            d = {Byte(reader, fields.x, "X:"), Byte(reader, fields.y, "Y:"),
                 Byte(reader, fields.flag, "Flag:")};
            PutLong(reader, d, fields.script, "Script Offset:");
            PutLong(reader, d, fields.sprite, "Sprite Offset:");
            if (code == 0x01 && d[2] == 0xFF) {
                PutLong(reader, d, fields.extraFF[0], kExtraFF[0]);
                for (std::size_t i = 1; i < fields.extraFF.size(); ++i) {
                    d.push_back(Byte(reader, fields.extraFF[i], kExtraFF[i]));
                }
            } else if (code == 0x01 && d[2] == 0xC0) {
                PutLong(reader, d, fields.extraC0[0], kExtraC0[0]);
                PutLong(reader, d, fields.extraC0[1], kExtraC0[1]);
            }
            break;
    }
    entry->length = static_cast<std::uint32_t>(d.size());
    return entry;
}

void InsertSpritePlacementEntry(SpritePlacementList& list,
                                std::unique_ptr<SpritePlacementEntry> entry) {
    auto& entries = list.entries;
    // A map without a list gets a whole one: its head word (kept), the entry and the end, so
    // that the game stops reading where the list stops.
    if (entries.empty()) {
        entries.push_back(std::move(entry));
        auto end = std::make_unique<SpritePlacementEntry>();
        end->code = kObjectCodeEnd;
        entries.push_back(std::move(end));
        return;
    }
    const std::size_t at = entries.size() < 2 ? 0 : entries.size() - 2;
    std::uint32_t insertAt = 0;
    for (std::size_t j = 0; j < at; ++j) {
        insertAt += 1 + entries[j]->length;
    }
    // A call's link word holds the distance to the command it calls when that command lies in
    // the same list; one at or after the new entry moves by the entry's size.
    std::uint32_t pos = 0;
    for (std::size_t j = 0; j < at; ++j) {
        SpritePlacementEntry& e = *entries[j];
        const std::uint32_t k = ObjectCallLinkOffset(GetU16(e.data, 0));
        if (e.code == kObjectCodeCall && e.length >= k + 2) {
            const std::uint32_t link = GetU16(e.data, k);
            if (link != kObjectLinkOutside && pos + 1 + k + link >= insertAt) {
                PutU16(e.data, k, link + 1 + entry->length);
            }
        }
        pos += 1 + e.length;
    }
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

std::optional<std::uint32_t> SpritePlacePageModel::MapId(Prompts& prompts) const {
    const std::optional<std::uint32_t> id = ReadMapId(mapIdText, kMapCount);
    if (!id) {
        prompts.ShowMessage(MapIdRangeMessage(kMapCount - 1));
    }
    return id;
}

void SpritePlacePageModel::Load(const ProjectContext* project, Prompts& prompts) {
    const auto id = MapId(prompts);
    if (!id) {
        return;
    }
    treeLines.clear();
    if (project == nullptr || project->spritePlacementLists.empty()) {
        prompts.ShowMessage(kSpritePlacementNotLoaded);
        return;
    }
    if (project->spritePlacementLists.size() <= *id) {
        return;
    }
    const SpritePlacementList& list = project->spritePlacementLists[*id];
    headWordText = FormatText("%04X", list.headWord);
    for (const auto& entry : list.entries) {
        treeLines.push_back(SpritePlacementLine(*entry));
        if (entry->code == kObjectCodeEnd && entry->length > 1) {
            nameText = EntryName(*entry);
        }
    }
}

void SpritePlacePageModel::TypeSelChange() {
    if (typeLine >= 0 && typeLine < static_cast<int>(kSpritePlacementTypeCodes.size())) {
        fieldsEnabled = FieldsUsedBy(kSpritePlacementTypeCodes[typeLine]);
    }
}

bool SpritePlacePageModel::AddEnabled(const ProjectContext* project) {
    return project != nullptr && project->spritePlacementLists.size() == kMapCount &&
           CanUseExtendedObjectBanks(*project);
}

bool SpritePlacePageModel::Add(ProjectContext* project, Prompts& prompts) {
    const auto id = MapId(prompts);
    if (!id) {
        return false;
    }
    if (project == nullptr || project->spritePlacementLists.size() <= *id) {
        prompts.ShowMessage(kSpritePlacementNotLoaded);
        return false;
    }
    // An entry that no Save could ever write is not made; the refusal of a Save, which
    // writes nothing here, tells why.
    if (!AddEnabled(project)) {
        WriteSpritePlacement(*project, prompts);
        return false;
    }
    if (typeLine < 0 || typeLine >= static_cast<int>(kSpritePlacementTypeCodes.size())) {
        return false;
    }
    const std::uint8_t code = kSpritePlacementTypeCodes[typeLine];
    FieldReader reader;
    auto entry = BuildSpritePlacementEntry(code, fields, reader);
    if (!reader.Ok()) {
        prompts.ShowMessage(reader.Error() + "\nNothing was added.", "Error");
        return false;
    }
    if (!entry) {
        prompts.ShowMessage(code == kObjectCodeCall ? kSpritePlacementNoCall
                                                    : kSpritePlacementNoEnd);
        return false;
    }
    InsertSpritePlacementEntry(project->spritePlacementLists[*id], std::move(entry));
    return true;
}

bool SpritePlacePageModel::Save(ProjectContext* project, Prompts& prompts) {
    if (project == nullptr) {
        prompts.ShowMessage(kSpritePlacementNotLoaded);
        return false;
    }
    if (!WriteSpritePlacement(*project, prompts)) {
        return false;
    }
    // Read back what was written, so that the lists show the links they now have.
    LoadSpritePlacementLists(*project);
    return true;
}

void SpritePlacePageModel::Clear() {
    *this = SpritePlacePageModel();
}

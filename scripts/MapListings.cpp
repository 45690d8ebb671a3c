#include "scripts/MapListings.h"

#include <algorithm>
#include <set>
#include <vector>

#include "maps/HeaderScriptRunner.h"
#include "maps/HeaderScriptStack.h"
#include "maps/MapDataBlocks.h"
#include "maps/MapHeaderTable.h"
#include "maps/ScriptPointer.h"
#include "platform/FormatText.h"
#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"
#include "scripts/ScriptDisassembler.h"
#include "scripts/TextDecoder.h"

namespace {

// An event-flag condition as "[flag] relation mask": the flag is set (=) or clear (!=).
std::string Condition(std::uint16_t code) {
    return FormatText("[%02X] %s %02X", (code >> 3) & 0x1FFu,
                  (code & 0x8000) != 0 ? "=" : "!=", 1u << (code & 7));
}

// ---- Header script ----

class HeaderScriptLister {
public:
    HeaderScriptLister(const ProjectContext& project, ScriptTreeNode& tree)
        : project_(project), tree_(tree) {}

    void List(std::uint32_t start) {
        cursor_ = start;
        for (std::uint32_t count = 0; count < HeaderScriptRunner::kMaxCommands; ++count) {
            if (!seen_.insert(State()).second) {
                tree_.Add("[Warning the script loops here]");
                return;
            }
            if (!ListCommand()) {
                return;
            }
        }
        tree_.Add("[Warning max commands reached]");
    }

private:
    std::uint8_t Byte() { return project_.Read8(project_.WrapRomOffset(cursor_++)); }
    std::uint16_t Word() {
        const std::uint8_t lo = Byte();
        return static_cast<std::uint16_t>(lo | Byte() << 8);
    }
    std::uint32_t Pointer() {
        const std::uint32_t position = cursor_;
        const std::uint32_t value = ReadScriptPosition(project_, position);
        cursor_ += 3;
        return ResolveScriptPointer(position, value);
    }
    std::uint32_t Piece(std::uint32_t n) const {
        return ReadScriptPosition(project_, project_.Table(RegionTable::MapScriptTableB) + 3 * n);
    }

    // Where the walk stands and what it will come back to: the same state twice is a loop.
    std::vector<std::uint32_t> State() const {
        std::vector<std::uint32_t> state{cursor_};
        for (const HeaderScriptStack* stack : {&calls_, &deferred_}) {
            HeaderScriptStack copy = *stack;
            state.push_back(static_cast<std::uint32_t>(copy.Size()));
            while (const auto entry = copy.Pop()) {
                state.push_back(*entry);
            }
        }
        return state;
    }

    bool Push(HeaderScriptStack& stack, std::uint32_t position) {
        if (stack.Push(position)) {
            return true;
        }
        tree_.Add("[Warning stack full, the script stops here]");
        return false;
    }

    // One command; false when the script ended or was stopped.
    bool ListCommand() {
        const std::uint32_t position = cursor_;
        const std::uint8_t opcode = Byte();
        const auto item = [&](const char* title) -> ScriptTreeNode& {
            return tree_.Add(FormatText("[%04X][%02X]%s", position, opcode, title));
        };
        switch (opcode) {
            case 0x00:
                item(" End");
                if (const auto back = calls_.Pop()) {
                    cursor_ = *back;
                } else if (const auto next = deferred_.Pop()) {
                    cursor_ = *next;
                } else {
                    return false;
                }
                return true;
            case 0x01: {
                ScriptTreeNode& top = item("");
                std::uint8_t b[6];
                for (auto& value : b) {
                    value = Byte();
                }
                top.Add(
                    FormatText("%02X %02X %02X %02X %02X %02X ", b[0], b[1], b[2], b[3], b[4], b[5]));
                return true;
            }
            case 0x02: {
                ScriptTreeNode& top = item(" Play SPC");
                const std::uint8_t xx = Byte();
                const std::uint8_t track = Byte();
                top.Add(FormatText("%02X ID:%u %06X", xx, track, Pointer()));
                return true;
            }
            case 0x04: {
                ScriptTreeNode& top = item("");
                const std::uint32_t pointer = Pointer();
                const std::uint8_t xx = Byte();
                top.Add(FormatText("%06X %02X %02X ", pointer, xx, Byte()));
                return true;
            }
            case 0x08:
                return ListFlow(position);
            case 0x10: {
                const std::uint8_t n = Byte();
                static const char* const kLayerTitles[] = {" Map Tiles", " Map Layer 1 Data",
                                                           " Map Layer 2 Data"};
                // The loader reads a pointer only for n = 0, 1 and 2; any other n is the whole
                // command.
                if (n > 2) {
                    item(FormatText(" Unknown:%x", n).c_str()).Add(FormatText("%02X", n));
                } else {
                    item(kLayerTitles[n])
                        .Add(FormatText(n == 2 ? "%02X %06X " : "%02X %06X", n, Pointer()));
                }
                return true;
            }
            case 0x20: {
                const bool collision =
                    (project_.Read8(project_.WrapRomOffset(cursor_ + 3)) & 0x80) != 0;
                ScriptTreeNode& top = item(collision ? " Collision Data" : " Tile Map");
                const std::uint8_t a = Byte();
                const std::uint8_t b = Byte();
                const std::uint8_t c = Byte();
                const std::uint8_t d = Byte();
                top.Add(FormatText("%02X %02X %02X %02X %06X", a, b, c, d, Pointer()));
                return true;
            }
            case 0x40: {
                ScriptTreeNode& top = item(" Palette");
                const std::uint8_t xx = Byte();
                const std::uint8_t n = Byte();
                const std::uint8_t s = Byte();
                top.Add(FormatText("%02X %02X %02X %06X", xx, n, s, Pointer()));
                return true;
            }
            case 0x80: {
                ScriptTreeNode& top = item(" Map Tiles");
                const std::uint8_t xx = Byte();
                const std::uint8_t yy = Byte();
                const std::uint8_t t = Byte();
                const std::uint32_t pointer = Pointer();
                const std::uint8_t b = Byte();
                top.Add(FormatText("%02X %02X %02X %06X %02X %02X ", xx, yy, t, pointer, b, Byte()));
                return true;
            }
            default:
                item("");
                return true;
        }
    }

    bool ListFlow(std::uint32_t position) {
        const std::uint8_t sub = Byte();
        const char* title = "";
        switch (sub) {
            case 0xF9:
            case 0xFA:
                title = " Call map script from table B";
                break;
            case 0xFC:
                title = " Call MapID 0 Script (Play SPC)";
                break;
            case 0xFD:
                title = " Goto map script if flag set";
                break;
            default:
                break;
        }
        ScriptTreeNode& top = tree_.Add(FormatText("[%04X][%02X][%02X]%s", position, 0x08, sub, title));
        const auto link = [&](std::uint32_t n, std::uint32_t target) {
            top.Add(FormatText("%04X->%06X", n, target));
        };
        switch (sub) {
            case 0xF8:
                if (const auto back = calls_.Pop()) {
                    cursor_ = *back;
                }
                return true;
            case 0xF9: {
                const std::uint32_t n = Word() & 0x7FFFu;
                const std::uint32_t target = Piece(n);
                link(n, target);
                if (!Push(calls_, cursor_)) {
                    return false;
                }
                cursor_ = target;
                return true;
            }
            case 0xFA: {
                const std::uint32_t n = Word();
                link(n, Piece(n));
                return Push(deferred_, Piece(n));
            }
            case 0xFC:
                top.Add(FormatText("%u", Word()));
                return true;
            case 0xFD: {
                const std::uint16_t flag = Word();
                const std::uint32_t n = Word();
                top.Add(FormatText("if(%s ) Goto %04X->%06X", Condition(flag).c_str(), n, Piece(n)));
                return true;
            }
            case 0xFE: {
                const std::uint32_t n = Word();
                const auto back = calls_.Pop();
                cursor_ = back ? *back : Piece(n);
                link(n, cursor_);
                return true;
            }
            case 0xFF: {
                const std::uint32_t n = Word();
                link(n, Piece(n));
                // As loading does: the goto is taken only outside a call.
                if (calls_.Empty()) {
                    cursor_ = Piece(n);
                }
                return true;
            }
            default:
                return true;
        }
    }

    const ProjectContext& project_;
    ScriptTreeNode& tree_;
    std::uint32_t cursor_ = 0;
    HeaderScriptStack calls_;
    HeaderScriptStack deferred_;
    std::set<std::vector<std::uint32_t>> seen_;
};

// ---- Object list ----

// Rows of one listing, nested lists included, and items of the scripts listed under them;
// far more than any map of the game has.
constexpr std::uint32_t kMaxObjectRows = 4096;
constexpr std::size_t kMaxScriptItems = 0x20000;

std::size_t CountItems(const ScriptTreeNode& node) {
    std::size_t count = node.children.size();
    for (const ScriptTreeNode& child : node.children) {
        count += CountItems(child);
    }
    return count;
}

class ObjectLister {
public:
    ObjectLister(const ProjectContext& project, bool writeLogs)
        : project_(project), writeLogs_(writeLogs) {}

    void List(ScriptTreeNode& parent, std::uint32_t address) {
        const std::uint32_t start = project_.WrapRomOffset(address);
        if (std::find(chain_.begin(), chain_.end(), start) != chain_.end()) {
            parent.Add("[Warning the list calls itself]");
            return;
        }
        if (chain_.size() > kMaxObjectListNesting) {
            parent.Add("[Warning max nesting reached]");
            return;
        }
        chain_.push_back(start);
        ObjectListReader reader(project_.Image(), start);
        bool ended = false;
        // Once the row bound is reached, in this list or in one it called, the listing ends
        // with the one warning that says so; the lists that called it add none of their own.
        while (!cut_) {
            const auto command = reader.Next();
            if (!command) {
                break;
            }
            if (++rows_ > kMaxObjectRows) {
                parent.Add("[Warning max items reached]");
                cut_ = true;
                break;
            }
            ended = command->IsEnd();
            ListCommand(parent, *command, command->offset + command->Size());
        }
        if (!ended && !cut_) {
            parent.Add("[Warning the list has no end in its bank]");
        }
        chain_.pop_back();
    }

private:
    std::uint8_t ByteAt(std::uint32_t address) const {
        return project_.Read8(project_.WrapRomOffset(address));
    }

    void Disassemble(ScriptTreeNode& parent, std::uint32_t script, bool header) {
        if (scriptItems_ >= kMaxScriptItems) {
            parent.Add("[Warning max items reached]");
            return;
        }
        ScriptReader reader(project_);
        DisassembleScript(
            reader, parent, script,
            {.root = false, .header = header, .mFlag = false, .writeLog = writeLogs_});
        scriptItems_ += CountItems(parent);
    }

    static const char* Title(std::uint8_t code) {
        switch (code) {
            case 0x00:
            case 0x80:
                return " Spawn object";
            case 0x01:
                return " Spawn pos";
            case 0x03:
                return " ?";
            case 0xF0:
                return "";
            case kObjectCodeCall:
                return " Call code on event flag";
            case kObjectCodeScript:
                return " Run script";
            case kObjectCodePlayerSpawn:
                return " Spawn player";
            case kObjectCodeScriptOffset:
                return " Script offset";
            case kObjectCodeEnd:
                return " Script end";
            default:
                return nullptr;
        }
    }

    void ListCommand(ScriptTreeNode& parent, const ObjectCommand& c, std::uint32_t after) {
        const char* title = Title(c.code);
        ScriptTreeNode& top = parent.Add(
            title != nullptr ? FormatText("[%04X][%02X]%s", c.offset, c.code, title)
                             : FormatText("[%04X][%02X] Unhandled, will be handled as cmd:%02X",
                                      c.offset, c.code, c.code & 0x3F));
        switch (c.code) {
            case kObjectCodeData:
                top.Add(FormatText("%02X %02X %02X %02X %02X %02X", c.Operand(0), c.Operand(1),
                               c.Operand(2), c.Operand(3), c.Operand(4), c.Operand(5)));
                return;
            case kObjectCodeCall: {
                const std::uint16_t first = c.OperandWord(0);
                const std::string condition =
                    (first & kObjectCallSecondCondition) != 0
                        ? Condition(first) + " || " + Condition(c.OperandWord(2))
                        : Condition(first);
                ScriptTreeNode& child =
                    top.Add(FormatText("if( %s ) Call 0x%06X", condition.c_str(), c.CallTarget()));
                List(child, c.CallTarget());
                return;
            }
            case kObjectCodeScript:
                top.Add(FormatText("%02X %06X", c.Operand(0), c.OperandLong(1)));
                return;
            case kObjectCodePlayerSpawn: {
                ScriptTreeNode& child =
                    top.Add(FormatText("X:%02u Y:%02u %02X %06X", c.Operand(0), c.Operand(1),
                                   c.Operand(2), c.OperandLong(3)));
                Disassemble(child, c.OperandLong(3), false);
                return;
            }
            case kObjectCodeScriptOffset:
                top.Add(
                    FormatText("%02X %06X", c.Operand(0), project_.WrapRomOffset(c.OperandLong(1))));
                return;
            case kObjectCodeEnd:
                if (ByteAt(after) != 0xD4) {
                    TextDecoder decoder(project_);
                    top.Add(QuotedText(Utf16ToUtf8(decoder.DecodeAt(after, true))));
                }
                return;
            default:
                break;
        }
        if ((c.code & 0x3F) == 0) {
            ListSpawnObject(top, c);
        } else if ((c.code & 0x3F) == 1) {
            ListSpawnPos(top, c);
        }
    }

    std::string Placement(const ObjectCommand& c, std::uint32_t sprite) const {
        return FormatText("X:%02u Y:%02u F:%02X Script offset: %06X Sprite data: %06X", c.Operand(0),
                      c.Operand(1), c.Operand(2), c.OperandLong(3), sprite);
    }

    void ListSpawnObject(ScriptTreeNode& top, const ObjectCommand& c) {
        const std::uint32_t sprite = c.OperandLong(6);
        lastSprite_ = sprite;
        std::string text = Placement(c, sprite);
        if ((ByteAt(sprite + 4) & 0x04) != 0) {
            text += FormatText(" Enemy ID: %u", ByteAt(sprite + 5));
        }
        top.Add(text);
    }

    void ListSpawnPos(ScriptTreeNode& top, const ObjectCommand& c) {
        if (const std::uint32_t sprite = c.OperandLong(6); sprite != 0) {
            lastSprite_ = sprite;
        }
        std::string text = Placement(c, lastSprite_);
        const std::uint8_t s3 = ByteAt(lastSprite_ + 3);
        const std::uint8_t s4 = ByteAt(lastSprite_ + 4);
        if ((s3 & 0x04) != 0 && s4 != 0) {
            const std::uint32_t enemy = s4 - 1u < kObjectListEnemyCount ? s4 - 1u : 0;
            text += FormatText(" Enemy ID: %u[%s]", enemy, ObjectListEnemyNameTable()[enemy].c_str());
        }
        const std::uint8_t flags = c.Operand(2);
        if (flags == 0xFF) {
            text += FormatText(" U: %06X %02X,%02X,%02X", c.OperandLong(9), c.Operand(12),
                           c.Operand(13), c.Operand(14));
        } else if (flags == 0xC0) {
            text += FormatText(" U: %06X,%06X", c.OperandLong(9), c.OperandLong(12));
        }
        Disassemble(top.Add(text), c.OperandLong(3), true);
    }

    const ProjectContext& project_;
    bool writeLogs_;
    std::vector<std::uint32_t> chain_;
    std::uint32_t rows_ = 0;
    bool cut_ = false;
    std::size_t scriptItems_ = 0;
    std::uint32_t lastSprite_ = 0;
};

}  // namespace

void ListHeaderScript(const ProjectContext& project, ScriptTreeNode& tree, std::uint32_t mapId) {
    if (mapId >= MapHeaderEntryCount(project)) {
        tree.Add(MapIdRangeText(project));
        return;
    }
    const std::uint32_t start =
        ReadScriptPosition(project, project.Table(RegionTable::MapHeaderPointerTable) + 3 * mapId);
    if (start == kNoMapHeader) {
        tree.Add(kUnusedMapText);
        return;
    }
    HeaderScriptLister(project, tree).List(start);
}

void ListSpritePlacement(const ProjectContext& project, ScriptTreeNode& tree, std::uint32_t mapId,
                         bool writeLogs) {
    const auto location = LocateObjectList(project, mapId);
    if (!location) {
        tree.Add(kUnusedMapText);
        return;
    }
    tree.Add(FormatText("[%04X]", project.Read16(location->offset)));
    ListObjects(project, tree, location->offset + 2, writeLogs);
}

void ListObjects(const ProjectContext& project, ScriptTreeNode& parent, std::uint32_t address,
                 bool writeLogs) {
    ObjectLister(project, writeLogs).List(parent, address);
}

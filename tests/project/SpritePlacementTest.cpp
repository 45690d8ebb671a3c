#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;
using Bank = SyntheticImage::ObjectBank;
using Entries = std::vector<std::unique_ptr<SpritePlacementEntry>>;

namespace {

std::string Hex(std::uint32_t v, int digits = 2) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, v);
    return text;
}

// The in-memory lists in words: code, operand bytes, children in braces.
std::string Describe(const Entries& entries) {
    std::string s;
    for (const auto& e : entries) {
        s += Hex(e->code) + (e->length == e->data.size() ? ":" : "?");
        for (std::uint8_t b : e->data) {
            s += Hex(b);
        }
        if (!e->children.empty()) {
            s += "{" + Describe(e->children) + "}";
        }
        s += " ";
    }
    return s;
}

std::string Describe(const SpritePlacementList& list) {
    return std::to_string(list.selector) + "/" + Hex(list.headWord, 4) + " " +
           Describe(list.entries);
}

// What the game finds for a map: its commands, with every call followed and its link left out.
std::string Walk(const ProjectContext& p, std::uint32_t start, int depth) {
    if (depth > kMaxObjectListNesting) {
        return "deep";
    }
    std::string s;
    ObjectListReader reader(p.Image(), start);
    while (const auto c = reader.Next()) {
        s += Hex(c->code) + ":";
        const std::size_t link = c->IsCall() ? c->LinkOffset() : c->operands.size();
        for (std::size_t i = 0; i < c->operands.size(); ++i) {
            s += i == link || i == link + 1 ? std::string("..") : Hex(c->operands[i]);
        }
        if (c->IsCall()) {
            s += "{" + Walk(p, c->CallTarget(), depth + 1) + "}";
        }
        s += " ";
    }
    return s;
}

std::string GameView(const ProjectContext& p, std::uint32_t mapId) {
    const auto where = LocateObjectList(p, mapId);
    return where ? Hex(p.Read16(where->offset), 4) + " " + Walk(p, where->offset + 2, 0) : "none";
}

std::vector<std::string> GameViews(const ProjectContext& p) {
    std::vector<std::string> views;
    for (std::uint32_t m = 0; m < kMapCount; ++m) {
        views.push_back(GameView(p, m));
    }
    return views;
}

std::unique_ptr<ProjectContext> Imported(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

// The image as the game reads it before any import: the release's own tables.
std::unique_ptr<ProjectContext> AsReleased(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    project->romImage = image.Bytes();
    project->romSize = image.Size();
    project->regionIndex = DetectRegion(image.Bytes());
    return project;
}

// Map 1 in bank A: objects, a call of a list elsewhere in the bank (which calls a third list
// with two conditions), and a call of its own tail. Map 2 in bank B (its bank A pointer, to
// map 1's list, is passed over); map 3 shares map 1's list.
constexpr std::uint16_t kList1 = 0x9000, kNested1 = 0xA000, kNested2 = 0xA100;

ObjectListBytes Map1List(std::uint16_t nested, std::uint16_t tail) {
    return ObjectListBytes()
        .Head(0x0C00)
        .Object(0x00, 5, 6, 0, 0xC12345, 0xC23456)
        .Call(0x8010, nested)
        .Object(0x01, 7, 8, 0xFF, 0xC11111, 0xC22222)
        .Raw({1, 2, 3, 4, 5, 6})
        .Call(0x8011, tail)
        .PlayerSpawn(1, 2, 0, 0xC33333)
        .End();
}
ObjectListBytes Nested1(std::uint16_t nested) {
    return ObjectListBytes().Object(0x80, 9, 9, 0, 0xC44444, 0xC55555).Call2(1, 2, nested).End();
}
ObjectListBytes Nested2() {
    return ObjectListBytes().Raw({0xFB, 1, 2, 3, 4}).End();
}
ObjectListBytes Map2List() {
    return ObjectListBytes().Head(0x1A00).Raw({0xF0, 1, 2, 3, 4, 5, 6}).End();
}

SyntheticImage ImageWithLists(std::uint32_t size) {
    SyntheticImage image(size, Region::German);
    image.PutObjectList(1, Bank::A, kList1, Map1List(kNested1, kList1 + 0x26));
    image.PutObjectBytes(Bank::A, kNested1, Nested1(kNested2));
    image.PutObjectBytes(Bank::A, kNested2, Nested2());
    image.PutObjectList(2, Bank::B, 0x9000, Map2List());
    image.PutObjectList(2, Bank::A, kList1, {});
    image.PutObjectList(3, Bank::A, kList1, {});
    return image;
}

std::unique_ptr<SpritePlacementEntry> Entry(std::uint8_t code, std::vector<std::uint8_t> data) {
    auto e = std::make_unique<SpritePlacementEntry>();
    e->code = code;
    e->length = static_cast<std::uint32_t>(data.size());
    e->data = std::move(data);
    return e;
}

}  // namespace

TEST(SpritePlacementLoader, NestedListsBecomeChildren) {
    auto project = AsReleased(ImageWithLists(SyntheticImage::k4MB));
    ASSERT_TRUE(LoadSpritePlacementLists(*project));
    const auto& lists = project->spritePlacementLists;
    ASSERT_EQ(lists.size(), kMapCount);
    EXPECT_TRUE(lists[0].entries.empty());
    // Calls of lists elsewhere hold the outside mark; the call of the list's own tail holds the
    // distance from its link word (0x29024) to the tail (0x29026).
    EXPECT_EQ(Describe(lists[1]),
              "0/0C00 00:0506004523C15634C2 "
              "FA:1080FFFF{80:0909004444C45555C5 FA:01100200FFFF{FB:01020304 FF: } FF: } "
              "01:0708FF1111C12222C2010203040506 FA:11800200{FD:0102003333C3 FF: } "
              "FD:0102003333C3 FF: ");
    // Bank B's pointer is taken before bank A's.
    EXPECT_EQ(Describe(lists[2]), "1/1A00 F0:010203040506 FF: ");
    EXPECT_EQ(Describe(lists[3]), Describe(lists[1]));
}

TEST(SpritePlacementLoader, CyclesDepthAndMissingEndsAreCut) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    // Map 4 calls its own start; map 5 calls a list that calls itself.
    image.PutObjectList(4, Bank::B, 0x9100, ObjectListBytes().Head(0).Call(0x8001, 0x9102).End());
    image.PutObjectList(5, Bank::B, 0x9200, ObjectListBytes().Head(0).Call(1, 0xA000).End());
    image.PutObjectBytes(Bank::B, 0xA000, ObjectListBytes().Call(2, 0xA000).End());
    // Map 6 runs to the end of its bank without an end command; its last command's operands
    // would cross into the next bank.
    image.PutObjectList(6, Bank::A, 0xFFF0, ObjectListBytes().Head(0).Raw({0xF1, 0xF2}));
    std::fill(image.Bytes().begin() + 0x2FFF4, image.Bytes().begin() + 0x2FFFC, 0xF3);
    image.Put8(0x2FFFC, 0xFB);
    // Map 8's last command ends exactly at its bank's end.
    image.PutObjectList(8, Bank::B, 0xFFF9, ObjectListBytes().Head(0).Raw({0xFB, 1, 2, 3, 4}));
    // Map 7 nests ten lists deep.
    image.PutObjectList(7, Bank::A, 0xB000, ObjectListBytes().Head(0).Call(1, 0xB100).End());
    for (std::uint16_t i = 1; i <= 10; ++i) {
        image.PutObjectBytes(Bank::A, 0xB000 + 0x100 * i,
                             ObjectListBytes().Call(1, 0xB000 + 0x100 * (i + 1)).End());
    }
    auto project = AsReleased(image);
    EXPECT_FALSE(LoadSpritePlacementLists(*project));
    const auto& lists = project->spritePlacementLists;
    EXPECT_EQ(Describe(lists[4]), "1/0000 FA:0180FFFF{FF: } FF: ");
    EXPECT_EQ(Describe(lists[5]), "1/0000 FA:0100FFFF{FA:0200FFFF{FF: } FF: } FF: ");
    EXPECT_EQ(Describe(lists[6]), "0/0000 F1: F2: F3: F3: F3: F3: F3: F3: F3: F3: FF: ");
    EXPECT_EQ(Describe(lists[8]), "1/0000 FB:01020304 FF: ");
    int depth = 0;
    for (const Entries* e = &lists[7].entries; !(*e)[0]->children.empty(); e = &(*e)[0]->children) {
        ++depth;
    }
    EXPECT_EQ(depth, kMaxObjectListNesting + 1);  // the last level is the cut call's end
}

TEST(SpritePlacementWriter, LayoutInBanks50And51) {
    SyntheticImage image = ImageWithLists(SyntheticImage::k6MB);
    image.PutObjectList(8, Bank::A, 0x9400, ObjectListBytes().Head(0).Call(1, kNested1).End());
    image.PutObjectList(9, Bank::A, 0x9500, ObjectListBytes().Head(0).Call(1, 0xA200).End());
    image.PutObjectBytes(Bank::A, 0xA200, Nested2());
    auto project = AsReleased(image);
    project->flags = kProjectFlag6MB;
    ASSERT_TRUE(LoadSpritePlacementLists(*project));
    const auto loaded = GameViews(*project);
    // Stale pointers in table B must not override the lists written into bank A.
    std::fill(project->romImage.begin() + 0x518000, project->romImage.begin() + 0x5188AC, 0x77);

    ScriptedPrompts prompts;
    ASSERT_TRUE(WriteSpritePlacement(*project, prompts));
    EXPECT_EQ((std::array{project->Table(RegionTable::SpritePlacementPointerTableA),
                          project->Table(RegionTable::SpritePlacementPointerTableB),
                          project->Table(RegionTable::SpritePlacementBankA),
                          project->Table(RegionTable::SpritePlacementBankB)}),
              (std::array<std::uint32_t, 4>{0x508000, 0x518000, 0x500000, 0x510000}));

    // Map 1 at 0x88AC: 2 + 44 bytes, then its called list (18 bytes) and the list that one calls
    // (6 bytes); its tail call points at its own player spawn. Map 3 shares the list.
    const std::vector<std::uint8_t> map1 = Map1List(0x88DA, 0x88D2);
    EXPECT_TRUE(std::equal(map1.begin(), map1.end(), project->romImage.begin() + 0x5088AC));
    EXPECT_EQ(project->Read16(0x508000 + 6), 0x88AC);
    // Map 8 follows at 0x88F2, and calls the list that map 1 calls where that one lies.
    EXPECT_EQ(project->Read16(0x508000 + 16), 0x88F2);
    EXPECT_EQ(project->Read16(0x5088F7), 0x88DA);
    // Map 9 calls a list of the same bytes as map 1's innermost one, but of a place of its
    // own: it gets a copy of its own, right after its list.
    EXPECT_EQ(project->Read16(0x5088FF), 0x8902);
    EXPECT_EQ(project->Read16(0x508000 + 4), 0);
    EXPECT_EQ(project->Read16(0x518000 + 4), 0x88AC);
    EXPECT_EQ(project->Read16(0x518000 + 2), 0);
    EXPECT_EQ(project->Read16(0x518000 + 2 * kMapCount), 0x7777);  // beyond the maps: kept

    // The game finds the same objects.
    EXPECT_EQ(GameViews(*project), loaded);
}

TEST(SpritePlacementWriter, TwoConditionCallJustPastTheListIsAppended) {
    auto project = Imported(SyntheticImage(SyntheticImage::k6MB, Region::UK));
    auto& lists = project->spritePlacementLists;
    // A link that the writer would place right after the list (distance 3 from the link word
    // of a two-condition call at the list's start, 8 bytes of entries in all).
    auto call = Entry(0xFA, {0x01, 0x10, 0x02, 0x00, 0x03, 0x00});
    call->children.push_back(Entry(0xFE, {9, 8, 7, 6}));
    call->children.push_back(Entry(0xFF, {}));
    lists[0].entries.push_back(std::move(call));
    lists[0].entries.push_back(Entry(0xFF, {}));
    lists[1].entries.push_back(Entry(0xF1, {}));
    lists[1].entries.push_back(Entry(0xFF, {}));
    lists[2].selector = 1;
    lists[2].entries.push_back(Entry(0xFF, {}));

    ScriptedPrompts prompts;
    ASSERT_TRUE(WriteSpritePlacement(*project, prompts));
    const std::vector<std::uint8_t> expected = {
        0,    0, 0xFA, 0x01, 0x10, 0x02, 0x00, 0xB6, 0x88, 0xFF,  // map 0, link 0x88B6
        0xFE, 9, 8,    7,    6,    0xFF,                          // its called list
        0,    0, 0xF1, 0xFF};                                     // map 1
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), project->romImage.begin() + 0x5088AC));
    EXPECT_EQ(project->Read16(0x508002), 0x88BC);
    EXPECT_EQ(project->Read16(0x518004), 0x88AC);
    EXPECT_EQ(project->Read16(0x5188AE), 0x00FF);
}

TEST(SpritePlacementWriter, RefusesWithoutWritingAnything) {
    ScriptedPrompts prompts;
    // A 4 MB image has no banks 0x50 and 0x51; release M folds every address into its first
    // megabyte, even in a 6 MB image.
    auto small = Imported(ImageWithLists(SyntheticImage::k4MB));
    auto folded = Imported(SyntheticImage(SyntheticImage::k6MB, Region::ReleaseM));
    // The 6 MB image is told the reason that holds for it.
    const std::string unreachable = std::string(kSpritePlacementNeeds6MB) +
                                    "\nThis is a 6MB ROM, but the address rule of this release "
                                    "cannot reach banks 0x50 and 0x51.";
    for (ProjectContext* project : {small.get(), folded.get()}) {
        const auto image = project->romImage;
        EXPECT_FALSE(WriteSpritePlacement(*project, prompts));
        EXPECT_EQ(prompts.LastMessage(),
                  project == small.get() ? kSpritePlacementNeeds6MB : unreachable);
        EXPECT_EQ(project->romImage, image);
    }
    EXPECT_EQ(small->Table(RegionTable::SpritePlacementPointerTableA), 0x28000u);

    auto big = Imported(SyntheticImage(SyntheticImage::k6MB, Region::German));
    big->spritePlacementLists.clear();
    const auto image = big->romImage;
    EXPECT_FALSE(WriteSpritePlacement(*big, prompts));
    EXPECT_EQ(prompts.LastMessage(), "The sprite placement is not loaded");

    // Bank B's lists pass its end by one byte: 0x10000 - 0x88AC = 30548 bytes would just fit.
    LoadSpritePlacementLists(*big);
    big->SetTable(RegionTable::SpritePlacementPointerTableA, 0x28000);
    for (std::uint32_t m = 0; m < 3; ++m) {
        auto& list = big->spritePlacementLists[m];
        list.selector = 1;
        list.entries.push_back(
            Entry(0xF0, std::vector<std::uint8_t>(10178, static_cast<std::uint8_t>(m + 1))));
        list.entries.push_back(Entry(0xFF, {}));
    }
    big->spritePlacementLists[2].entries.front()->length += 3;  // 3 x 10182 + 3 bytes
    big->spritePlacementLists[2].entries.front()->data.resize(10181, 3);
    EXPECT_FALSE(WriteSpritePlacement(*big, prompts));
    EXPECT_EQ(prompts.LastMessage(), kSpritePlacementTooLarge);
    EXPECT_EQ(big->romImage, image);
    EXPECT_EQ(big->Table(RegionTable::SpritePlacementPointerTableA), 0x28000u);

    big->spritePlacementLists[2].entries.front()->length -= 1;
    EXPECT_TRUE(WriteSpritePlacement(*big, prompts));
    EXPECT_EQ(big->Read16(0x520000 - 2), 0xFF03);
    EXPECT_EQ(prompts.messages.size(), 4u);
}

TEST(SpritePlacementImport, SixMegabyteImportKeepsEveryMapsObjects) {
    const SyntheticImage image = ImageWithLists(SyntheticImage::k6MB);
    const auto released = GameViews(*AsReleased(image));
    ASSERT_NE(released[1], "none");

    const auto project = Imported(image);
    EXPECT_TRUE(HasExtendedBankBytes(*project));
    EXPECT_EQ(project->Read16(0x518004), 0x88AC);
    EXPECT_EQ(GameViews(*project), released);

    // Saved and opened again, the project reads its lists from banks 0x50 and 0x51.
    ScriptedPrompts prompts;
    ASSERT_TRUE(SaveProject(*project, "lists.qmp", prompts));
    ProjectContext opened;
    ASSERT_TRUE(LoadProject(opened, "lists.qmp", prompts));
    EXPECT_EQ(opened.Table(RegionTable::SpritePlacementBankA), 0x500000u);
    EXPECT_EQ(Describe(opened.spritePlacementLists[1]), Describe(project->spritePlacementLists[1]));
}

TEST(SpritePlacementImport, ListsAlreadyMovedOrUnmovableStayWhereTheyAre) {
    // Already in banks 0x50 and 0x51: read there.
    SyntheticImage moved(SyntheticImage::k6MB, Region::Spanish);
    moved.UseExtendedObjectBanks();
    moved.PutObjectList(7, Bank::A, 0x9000, Map2List());
    auto project = Imported(moved);
    EXPECT_EQ(project->romImage, moved.Bytes());
    EXPECT_EQ(project->Table(RegionTable::SpritePlacementPointerTableA), 0x508000u);
    EXPECT_EQ(Describe(project->spritePlacementLists[7]), "0/1A00 F0:010203040506 FF: ");

    const auto objects = [](int count) {
        ObjectListBytes list;
        list.Head(0x0200);
        for (int i = 0; i < count; ++i) {
            list.Object(0x00, 1, 1, 0, 0xC00000, 0xC00000);
        }
        return list.End();
    };
    // Forty maps share a 1 KB list: written once, it fits into bank 0x50.
    SyntheticImage shared(SyntheticImage::k6MB, Region::German);
    for (std::uint32_t m = 0; m < 40; ++m) {
        shared.PutObjectList(m, Bank::A, 0x9000, objects(100));
    }
    EXPECT_EQ(Imported(shared)->Read16(0x508000 + 2 * 39), 0x88AC);
    // A list larger than the bank, or one that calls itself, is not moved: the image stays as
    // it was, and the import says why.
    SyntheticImage tooLarge(SyntheticImage::k6MB, Region::German);
    tooLarge.PutObjectList(0, Bank::A, 0x10, objects(3100));
    SyntheticImage cyclic(SyntheticImage::k6MB, Region::German);
    cyclic.PutObjectList(4, Bank::B, 0x9100, ObjectListBytes().Head(0).Call(1, 0x9102).End());
    const std::string unmoved =
        "The object lists were not moved into banks 0x50 and 0x51 of the 6MB ROM: ";
    for (const auto& [image, why] :
         {std::pair{&tooLarge, "they don't fit into these two banks"},
          std::pair{&cyclic, "an object list has no end, calls itself or nests too deep"}}) {
        project = std::make_unique<ProjectContext>();
        std::string notice;
        ImportRom(*project, image->Bytes(), &notice);
        EXPECT_EQ(notice, unmoved + why + ".\nThey stay where the ROM keeps them.");
        EXPECT_EQ(project->romImage, image->Bytes());
        EXPECT_FALSE(HasExtendedBankBytes(*project));
        EXPECT_EQ(project->Table(RegionTable::SpritePlacementPointerTableA), 0x28000u);
        EXPECT_EQ(project->spritePlacementLists.size(), kMapCount);
    }
}

TEST(SpritePlacementImport, BankBytesThatLeadToNoListsAreSaidOnLoad) {
    // The game's code reads its lists from banks 0x50 and 0x51, but they were never put there.
    SyntheticImage image = ImageWithLists(SyntheticImage::k6MB);
    image.UseExtendedObjectBanks();
    auto project = std::make_unique<ProjectContext>();
    std::string notice;
    ImportRom(*project, image.Bytes(), &notice);
    EXPECT_EQ(notice, kSpritePlacementMissing);
    EXPECT_EQ(project->romImage, image.Bytes());

    ScriptedPrompts prompts;
    ASSERT_TRUE(SaveProject(*project, "missing.qmp", prompts));
    ProjectContext opened;
    ASSERT_TRUE(LoadProject(opened, "missing.qmp", prompts));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{kSpritePlacementMissing});
}

TEST(SpritePlacementImport, ReleaseMSaysItsAddressesCannotReachTheBanks) {
    SyntheticImage image(SyntheticImage::k6MB, Region::ReleaseM);
    ProjectContext project;
    std::string notice;
    ImportRom(project, image.Bytes(), &notice);
    EXPECT_EQ(notice,
              "The object lists were not moved into banks 0x50 and 0x51 of the 6MB ROM: the "
              "address rule of this release cannot reach banks 0x50 and 0x51.\nThey stay where "
              "the ROM keeps them.");
}

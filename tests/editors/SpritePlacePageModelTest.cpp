#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "editors/SpritePlacePageModel.h"
#include "maps/ObjectEditModel.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

namespace {

constexpr std::uint32_t kMap = 5;
constexpr std::uint16_t kList = 0x9000;

std::unique_ptr<ProjectContext> Imported(const std::vector<std::uint8_t>& bytes) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, bytes), kRegionNone);
    return project;
}

// An image (6 MB unless asked) whose map 5 holds the given list.
std::unique_ptr<ProjectContext> WithList(const ObjectListBytes& list,
                                         std::uint32_t size = SyntheticImage::k6MB) {
    SyntheticImage image(size, SyntheticImage::Region::German);
    image.PutObjectList(kMap, SyntheticImage::ObjectBank::A, kList, list);
    return Imported(image.Bytes());
}

// Entries as code:operands, children in braces.
std::string Describe(const std::vector<std::unique_ptr<SpritePlacementEntry>>& entries) {
    std::string s;
    char hex[4];
    for (const auto& e : entries) {
        s += (std::snprintf(hex, sizeof hex, "%02X", e->code), hex) + std::string(":");
        for (std::uint8_t b : e->data) {
            s += (std::snprintf(hex, sizeof hex, "%02X", b), hex);
        }
        s += (e->children.empty() ? "" : "{" + Describe(e->children) + "}") + " ";
    }
    return s;
}

std::string MapList(const ProjectContext& project) {
    return Describe(project.spritePlacementLists[kMap].entries);
}

int TypeLine(std::uint8_t code) {
    const auto& codes = kSpritePlacementTypeCodes;
    return static_cast<int>(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

SpritePlacePageModel Page(const char* mapId, std::uint8_t code, const char* flag = "5") {
    SpritePlacePageModel page;
    page.mapIdText = mapId;
    page.typeLine = TypeLine(code);
    page.fields = {.x = "7",
                   .y = "0x20",
                   .flag = flag,
                   .script = "0xC12345",
                   .sprite = "0xD54321",
                   .extraFF = {"0xC0FFEE", "1", "2", "3"},
                   .extraC0 = {"0xC1C1C1", "0xC2C2C2"}};
    return page;
}

}  // namespace

TEST(SpritePlaceAdd, EachCodeGetsItsOwnOperandsAndSurvivesSaveAndReload) {
    auto project =
        WithList(ObjectListBytes().Head(0x0300).Object(0, 1, 2, 3, 0xC11111, 0xC22222).End());
    ScriptedPrompts prompts;
    const std::tuple<std::uint8_t, const char*, const char*> cases[] = {
        {0x00, "5", "00:0720054523C12143D5"},
        {0x80, "0x05", "80:0720054523C12143D5"},
        {0x01, "5", "01:0720054523C12143D5"},
        {0x01, "0xFF", "01:0720FF4523C12143D5EEFFC0010203"},
        {0x01, "0xC0", "01:0720C04523C12143D5C1C1C1C2C2C2"},
        {0xF0, "5", "F0:000000000000"},
        {0xFB, "5", "FB:054523C1"},
        {0xFD, "5", "FD:0720054523C1"},
        {0xFE, "5", "FE:054523C1"},
    };
    // Each new entry goes before the list's last two (to the front of the first list).
    std::string expected;
    for (const auto& [code, flag, entry] : cases) {
        EXPECT_TRUE(Page("5", code, flag).Add(project.get(), prompts));
        expected += std::string(entry) + " ";
    }
    EXPECT_EQ(MapList(*project), expected + "00:0102031111C12222C2 FF: ");
    ASSERT_TRUE(Page("5", 0).Save(project.get(), prompts));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(MapList(*Imported(project->romImage)), MapList(*project));
}

TEST(SpritePlaceAdd, CallsIntoTheListKeepTheirTarget) {
    // A call of the list's own tail, from the second object or from the first.
    for (const std::uint16_t target : {kList + 17, kList + 7}) {
        auto project = WithList(ObjectListBytes()
                                    .Head(0x0100)
                                    .Call(0x8001, target)
                                    .Object(0, 1, 1, 0, 0xC11111, 0xC11111)
                                    .Object(0, 2, 2, 0, 0xC22222, 0xC22222)
                                    .End());
        ScriptedPrompts prompts;
        ASSERT_TRUE(Page("5", 0xFB).Add(project.get(), prompts));
        ASSERT_TRUE(Page("5", 0).Save(project.get(), prompts));
        const auto reopened = Imported(project->romImage);
        const std::string tail = "00:0202002222C22222C2 FF: ";
        EXPECT_EQ(Describe(reopened->spritePlacementLists[kMap].entries.front()->children),
                  target == kList + 17 ? tail : "00:0101001111C11111C1 FB:054523C1 " + tail);
    }
}

TEST(SpritePlaceAdd, RefusalsChangeNothing) {
    auto project = WithList(ObjectListBytes().Head(0x0300).End());
    const std::string list = MapList(*project);
    ScriptedPrompts prompts;
    const std::pair<SpritePlacePageModel, const char*> cases[] = {
        {Page("5", 0xFA), kSpritePlacementNoCall},
        {Page("0", 0xFA), kSpritePlacementNoCall},  // the lowest map id is taken
        {Page("1103", 0xFF), kSpritePlacementNoEnd},
        {Page("-1", 0), "Please enter a map ID from 0x0000 to 0x044F."},
        {Page("0x450", 0), "Please enter a map ID from 0x0000 to 0x044F."},
        {Page("", 0),
         "Please enter a map ID from 0x0000 to 0x044F."},  // letters or nothing are no map 0
        {Page("abc", 0), "Please enter a map ID from 0x0000 to 0x044F."},
        // A field the entry takes must be a number that fits its operand.
        {Page("5", 0, "0x105"),
         "Flag: must be a number from 0 to 255; \"0x105\" is not.\n"
         "Nothing was added."},
        {Page("5", 0xFE, ""),
         "Flag: must be a number from 0 to 255; \"\" is not.\n"
         "Nothing was added."},
    };
    for (auto [page, message] : cases) {
        EXPECT_FALSE(page.Add(project.get(), prompts));
        EXPECT_EQ(prompts.LastMessage(), message) << page.mapIdText;
        EXPECT_EQ(MapList(*project), list);
    }
    project->spritePlacementLists.clear();
    for (ProjectContext* none : {project.get(), static_cast<ProjectContext*>(nullptr)}) {
        prompts.messages.clear();
        EXPECT_FALSE(Page("5", 0).Add(none, prompts));
        EXPECT_EQ(prompts.LastMessage(), kSpritePlacementNotLoaded);
    }
}

TEST(SpritePlaceAdd, AMapWithoutAListGetsAWholeOneAndOnlyWhereSaveCanWriteIt) {
    auto project = WithList(ObjectListBytes().Head(0x0300).End());
    ScriptedPrompts prompts;
    // Map 6 has no list: the new one is head word, entry and end, in memory and in the image.
    ASSERT_TRUE(project->spritePlacementLists[6].entries.empty());
    ASSERT_TRUE(Page("6", 0xFB).Add(project.get(), prompts));
    EXPECT_EQ(Describe(project->spritePlacementLists[6].entries), "FB:054523C1 FF: ");
    ASSERT_TRUE(Page("6", 0).Save(project.get(), prompts));
    const std::uint32_t at = 0x500000 | project->Read16(0x508000 + 2 * 6);
    EXPECT_EQ(std::vector<std::uint8_t>(project->romImage.begin() + at,
                                        project->romImage.begin() + at + 8),
              (std::vector<std::uint8_t>{0, 0, 0xFB, 5, 0x45, 0x23, 0xC1, 0xFF}));
    EXPECT_TRUE(prompts.messages.empty());

    // Where no Save could write the entry, "Add" is off and makes none.
    auto small = WithList(ObjectListBytes().Head(0x0300).End(), SyntheticImage::k4MB);
    EXPECT_TRUE(SpritePlacePageModel::AddEnabled(project.get()));
    EXPECT_FALSE(SpritePlacePageModel::AddEnabled(small.get()));
    const std::string list = MapList(*small);
    EXPECT_FALSE(Page("5", 0).Add(small.get(), prompts));
    EXPECT_EQ(MapList(*small), list);
    EXPECT_EQ(prompts.LastMessage(), kSpritePlacementNeeds6MB);
}

TEST(SpritePlaceSave, KeepsWhatTheObjectEditorSavedAndWhatThePageAdded) {
    // Map 0x30's one object, in a list that map 0x32 uses too; with and without an entry added
    // on the page and not yet saved, and again after a first Save. The page's Save writes what
    // the image holds.
    for (const bool added : {false, true}) {
        SyntheticImage image(SyntheticImage::k6MB, SyntheticImage::Region::German);
        image.PutObjectList(0x30, SyntheticImage::ObjectBank::A, kList,
                            ObjectListBytes().Head(0x0200).Object(0, 4, 4, 0, 0x0C8000, 0).End());
        image.PutObjectList(0x32, SyntheticImage::ObjectBank::A, kList, {});
        auto project = Imported(image.Bytes());
        ScriptedPrompts prompts;
        ASSERT_TRUE(!added || Page("0x30", 0xFB).Add(project.get(), prompts));
        std::uint32_t x = 4;
        for (const std::uint32_t to : {9u, 11u}) {
            ObjectEditModel object;
            ASSERT_TRUE(object.Fill(*project, 0x30, x, 4));
            object.posX = std::to_string(to);
            object.Save(project.get(), prompts);
            ASSERT_TRUE(Page("0x30", 0).Save(project.get(), prompts));
            EXPECT_TRUE(FindObjectAt(*project, 0x30, to, 4)) << added << " " << to;
            // Once the page's entry made the lists differ, the image holds map 0x32's apart.
            EXPECT_TRUE(FindObjectAt(*project, 0x32, added && to == 11 ? 9 : to, 4)) << added;
            x = to;
        }
        EXPECT_EQ(project->spritePlacementLists[0x30].entries.front()->code == 0xFB, added);
        EXPECT_TRUE(prompts.messages.empty());
    }
}

TEST(SpritePlaceSave, KeepsWhatTheObjectEditorSavedInAListThatAnotherMapCalls) {
    // Lists already in banks 0x50/0x51: map 0x31 calls map 0x30's object as its nested list.
    SyntheticImage image(SyntheticImage::k6MB, SyntheticImage::Region::German);
    image.UseExtendedObjectBanks();
    image.PutObjectList(0x30, SyntheticImage::ObjectBank::A, kList,
                        ObjectListBytes().Head(0).Object(0, 4, 4, 0, 0x0C8000, 0).End());
    image.PutObjectList(0x31, SyntheticImage::ObjectBank::A, kList + 0x100,
                        ObjectListBytes().Head(0).Call(0x8001, kList + 2).End());
    auto project = Imported(image.Bytes());
    ScriptedPrompts prompts;
    ObjectEditModel object;
    ASSERT_TRUE(object.Fill(*project, 0x30, 4, 4));
    object.posX = "9";
    object.Save(project.get(), prompts);
    ASSERT_TRUE(Page("0x31", 0).Save(project.get(), prompts));
    EXPECT_EQ(Describe(project->spritePlacementLists[0x31].entries.front()->children),
              "00:09040000800C000000 FF: ");
}

TEST(SpritePlacementLine, ACallShowsTheLinkTheImageHolds) {
    SpritePlacementEntry call;
    call.code = 0xFA;
    call.data = {0x01, 0x80, 0x06, 0x00};
    call.imageLink = 0x903D;
    EXPECT_EQ(SpritePlacementLine(call), "[FA] Flag:8001 Script: 903D");
}

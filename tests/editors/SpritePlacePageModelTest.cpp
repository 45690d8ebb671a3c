#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "editors/SpritePlacePageModel.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

namespace {

using Bank = SyntheticImage::ObjectBank;
constexpr std::uint32_t kMap = 5;
constexpr std::uint16_t kList = 0x9000;

std::unique_ptr<ProjectContext> Imported(const std::vector<std::uint8_t>& bytes) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, bytes), kRegionNone);
    return project;
}

// A 6 MB image whose map 5 holds the given list.
std::unique_ptr<ProjectContext> WithList(const ObjectListBytes& list,
                                         std::uint32_t size = SyntheticImage::k6MB) {
    SyntheticImage image(size, SyntheticImage::Region::German);
    image.PutObjectList(kMap, Bank::A, kList, list);
    return Imported(image.Bytes());
}

// Entries as code:operands, children in braces.
std::string Describe(const std::vector<std::unique_ptr<SpritePlacementEntry>>& entries) {
    std::string s;
    for (const auto& e : entries) {
        char code[8];
        std::snprintf(code, sizeof code, "%02X:", e->code);
        s += code;
        for (std::uint8_t b : e->data) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%02X", b);
            s += byte;
        }
        s += e->children.empty() ? "" : "{" + Describe(e->children) + "}";
        s += " ";
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
                   .extraFF = {"0xC0FFEE", "1", "2", "0x103"},
                   .extraC0 = {"0xC1C1C1", "0xC2C2C2"}};
    return page;
}

}  // namespace

TEST(SpritePlaceAdd, EachCodeGetsItsOwnOperandsAndSurvivesSaveAndReload) {
    auto project =
        WithList(ObjectListBytes().Head(0x0300).Object(0, 1, 2, 3, 0xC11111, 0xC22222).End());
    ScriptedPrompts prompts;
    const struct {
        std::uint8_t code;
        const char* flag;
        const char* entry;
    } cases[] = {
        {0x00, "5", "00:0720054523C12143D5"},
        {0x80, "0x105", "80:0720054523C12143D5"},
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
    for (const auto& c : cases) {
        EXPECT_TRUE(Page("5", c.code, c.flag).Add(project.get(), prompts));
        expected += std::string(c.entry) + " ";
    }
    expected += "00:0102031111C12222C2 FF: ";
    EXPECT_EQ(MapList(*project), expected);

    ASSERT_TRUE(Page("5", 0).Save(project.get(), prompts));
    EXPECT_TRUE(prompts.messages.empty());
    const auto reopened = Imported(project->romImage);
    EXPECT_EQ(MapList(*reopened), MapList(*project));
    EXPECT_EQ(reopened->spritePlacementLists[kMap].headWord, 0x0300);
}

TEST(SpritePlaceAdd, CallsIntoTheListKeepTheirTarget) {
    // A call of the list's own tail, starting at the second object or at the first.
    for (const std::uint16_t target : {kList + 2 + 5 + 10, kList + 2 + 5}) {
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
        const auto& call = reopened->spritePlacementLists[kMap].entries.front();
        const std::string second = "00:0202002222C22222C2 FF: ";
        EXPECT_EQ(Describe(call->children),
                  target == kList + 17 ? second : "00:0101001111C11111C1 FB:054523C1 " + second);
    }
}

TEST(SpritePlaceAdd, RefusalsChangeNothing) {
    auto project = WithList(ObjectListBytes().Head(0x0300).PlayerSpawn(1, 2, 3, 0xC00000).End());
    const std::string list = MapList(*project);
    const auto image = project->romImage;
    ScriptedPrompts prompts;
    const std::pair<SpritePlacePageModel, const char*> cases[] = {
        {Page("5", 0xFA), kSpritePlacementNoCall},
        {Page("5", 0xFF), kSpritePlacementNoEnd},
        {Page("-1", 0), kSpritePlacementMapIdRange},
        {Page("0x450", 0), kSpritePlacementMapIdRange},
        {Page("1103", 0xFA), kSpritePlacementNoCall},
    };
    for (auto [page, message] : cases) {
        EXPECT_FALSE(page.Add(project.get(), prompts));
        EXPECT_EQ(prompts.LastMessage(), message) << page.mapIdText;
        EXPECT_EQ(MapList(*project), list);
    }
    project->spritePlacementLists.clear();
    EXPECT_FALSE(Page("5", 0).Add(project.get(), prompts));
    EXPECT_EQ(prompts.LastMessage(), kSpritePlacementNotLoaded);
    EXPECT_EQ(project->romImage, image);

    // Saving needs banks 0x50 and 0x51 of a 6 MB image.
    auto small = WithList(ObjectListBytes().Head(0x0300).End(), SyntheticImage::k4MB);
    const auto smallImage = small->romImage;
    EXPECT_TRUE(Page("5", 0).Add(small.get(), prompts));
    EXPECT_FALSE(Page("5", 0).Save(small.get(), prompts));
    EXPECT_EQ(prompts.LastMessage(), kSpritePlacementNeeds6MB);
    EXPECT_EQ(small->romImage, smallImage);
}

TEST(SpritePlaceFields, EachTypeEnablesTheFieldsItIsBuiltFrom) {
    SpritePlacePageModel page;
    const auto pick = [&](std::uint8_t code) {
        page.typeLine = TypeLine(code);
        page.TypeSelChange();
        const auto& u = page.fieldsEnabled;
        return std::string(u.x ? "x" : "") + (u.y ? "y" : "") + (u.flag ? "f" : "") +
               (u.script ? "s" : "") + (u.sprite ? "p" : "") + (u.extra ? "e" : "");
    };
    EXPECT_EQ(pick(0xFF), "");
    EXPECT_EQ(pick(0x00), "xyfsp");
    EXPECT_EQ(pick(0xFE), "fs");
    EXPECT_EQ(pick(0x01), "xyfspe");
    EXPECT_EQ(pick(0xFD), "xyfs");
    EXPECT_EQ(pick(0xF0), "");
}

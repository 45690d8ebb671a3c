#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "maps/ChestEditModel.h"
#include "maps/ExitEditModel.h"
#include "maps/ObjectEditModel.h"
#include "maps/ShopEditModel.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "project/SpritePlacementLists.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;
using Offsets = std::vector<std::uint32_t>;

namespace {

class FloatingEditorModels : public ::testing::Test {
protected:
    std::unique_ptr<ProjectContext> Import() {
        auto project = std::make_unique<ProjectContext>();
        EXPECT_EQ(ImportRom(*project, image.Bytes()), 1u);
        return project;
    }
    void Open() {
        project = Import();
        before = project->romImage;
    }
    // The image offsets that differ from the image as it was opened.
    Offsets Changed() const {
        Offsets changed;
        for (std::uint32_t i = 0; i < before.size(); ++i) {
            if (before[i] != project->romImage[i]) {
                changed.push_back(i);
            }
        }
        return changed;
    }
    std::uint32_t Bank(RegionTable table) const { return image.Table(table) & 0xFF0000; }

    SyntheticImage image{SyntheticImage::k4MB, Region::German};
    ScriptedPrompts prompts;
    std::unique_ptr<ProjectContext> project;
    std::vector<std::uint8_t> before;
};

}  // namespace

TEST(ExitFinder, RectanglesHoldTheirFirstAndLastCellsOnlyAndTheFirstExitWins) {
    // 2 x 1 at (4, 2); 1 x 3 at (5, 2), overlapping it; 0 x 5 at the origin.
    const std::vector<ExitRecord> exits = {{4, 2, 2, 1}, {5, 2, 1, 3}, {0, 0, 0, 5}};
    const std::uint32_t cases[][3] = {{4, 2, 0}, {5, 2, 0}, {5, 4, 1}, {6, 2, 3}, {3, 2, 3},
                                      {4, 3, 3}, {5, 5, 3}, {5, 1, 3}, {0, 0, 3}};
    for (const auto& [column, row, index] : cases) {
        EXPECT_EQ(FindExitAt(exits, column, row), index) << column << "," << row;
    }
}

TEST_F(FloatingEditorModels, ExitSaveWritesTheTypedFieldsIntoThePickedExitOnly) {
    const std::vector<ExitRecord> map7 = {{1, 1, 1, 1, 0xF000, 3, 0x12, 100, 200},
                                          {4, 2, 2, 1, 0x0030, 1, 2, 40, 50}};
    const ExitRecord map9{0, 0, 3, 3, 0x0044, 0, 0, 1, 1};
    image.PutExitList(7, 0x88AC, map7);
    image.PutExitList(9, 0x88C5, std::span(&map9, 1));
    Open();
    ExitEditModel exit;
    std::uint32_t index = 99;
    ASSERT_TRUE(exit.Fill(*project, 7, 1, 1, index));  // conditional: its list shown
    EXPECT_FALSE(exit.Fill(*project, 7, 6, 2, index));
    EXPECT_EQ(index, 2u);
    ASSERT_TRUE(exit.Fill(*project, 7, 5, 2, index));
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(exit.srcMapId, "0x007");
    EXPECT_EQ(exit.dstMapId, "0x030");
    EXPECT_EQ(exit.offset, "0x0188B8");
    EXPECT_TRUE(exit.event.empty() && exit.destinations.empty() && !exit.destinationsEnabled);

    exit.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});
    exit.posY = "3";
    exit.dstX = "0x100";
    exit.direction = "0xFF";
    exit.Save(project.get(), prompts);
    const std::uint32_t record = 0x188B8;
    EXPECT_EQ(Changed(), (Offsets{record + 1, record + 7, record + 8, record + 9}));
    EXPECT_EQ(project->exitLists[7][1], (ExitRecord{4, 3, 2, 1, 0x0030, 1, 0xFF, 0x100, 50}));

    // A position that would end the list is refused and the list keeps the exit as it was.
    const std::vector<std::uint8_t> saved = project->romImage;
    exit.posX = "255";
    exit.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kExitEndMarkerPosition);
    EXPECT_EQ(project->romImage, saved);
    EXPECT_EQ(project->exitLists[7][1].posX, 4);
}

TEST_F(FloatingEditorModels, ExitSaveChangesTheShownConditionalDestinationKeepingHighBits) {
    const ExitRecord conditional{1, 1, 1, 1, 0xF000, 3, 0x12, 100, 200};
    image.PutExitList(7, 0x88AC, std::span(&conditional, 1));
    image.PutConditionalDestinations(
        0xF000, std::vector<ConditionalDestination>{{0, 0x8000 | 0x45 << 3 | 2, 0x21, 1, 2, 3, 4},
                                                    {0, 0x903D, 0x22, 5, 6, 7, 8},
                                                    {0, 0, 0x23, 0, 0, 0, 0},
                                                    {0, 0x0055, 0x24, 0, 0, 0, 0}});
    Open();
    ExitEditModel exit;
    std::uint32_t index = 0;
    ASSERT_TRUE(exit.Fill(*project, 7, 1, 1, index));
    EXPECT_EQ(exit.destinations, (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_TRUE(exit.destinationsEnabled);
    EXPECT_EQ(exit.event, "0x45");
    EXPECT_EQ(exit.flag, "0x04");
    EXPECT_EQ(exit.dstMapId, "0x021");
    EXPECT_EQ(exit.offset, "0x01F000");
    exit.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});

    exit.SelectDestination(project.get(), 1);
    EXPECT_EQ(exit.dstMapId, "0x022");
    EXPECT_EQ(exit.offset, "0x01F00A");
    exit.event = "0x34";
    exit.flag = "0x03";  // none of the eight masks: bit number 0
    exit.dstX = "9";
    exit.dstY = "9";
    exit.posX = "2";
    exit.sizeY = "4";
    exit.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), (Offsets{0x188AC, 0x188AF, 0x1F00A, 0x1F00B, 0x1F010, 0x1F012}));
    EXPECT_EQ(project->Read16(0x1F00A), 0x9000 | 0x34 << 3);
    EXPECT_EQ(project->exitLists[7][0], (ExitRecord{2, 1, 1, 4, 0xF000, 3, 0x12, 100, 200}));
}

TEST_F(FloatingEditorModels, ExitActionsNeedAPickOfTheSameProjectAndDeleteDropsThePick) {
    const std::vector<ExitRecord> map7 = {{1, 1, 1, 1, 0x20}, {4, 2, 2, 1, 0x30}};
    image.PutExitList(7, 0x88AC, map7);
    Open();
    ExitEditModel exit;
    exit.srcMapId = "7";
    exit.posX = "8";
    exit.Add(project.get(), prompts);
    exit.Save(project.get(), prompts);
    exit.Delete(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});

    std::uint32_t index = 0;
    ASSERT_TRUE(exit.Fill(*project, 7, 4, 2, index));
    // The same image opened again is another project.
    auto other = Import();
    const std::vector<std::uint8_t> otherImage = other->romImage;
    exit.Delete(other.get(), prompts);
    exit.Add(other.get(), prompts);
    EXPECT_EQ(other->romImage, otherImage);
    EXPECT_FALSE(exit.ActionsEnabled(other.get()));

    exit.srcMapId = "1104";
    exit.Add(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});
    exit.srcMapId = "0x7";
    exit.sizeX = "3";
    exit.Add(project.get(), prompts);
    ASSERT_EQ(project->exitLists[7].size(), 3u);
    EXPECT_EQ(project->exitLists[7][2], (ExitRecord{4, 2, 3, 1, 0x30}));
    exit.Delete(project.get(), prompts);
    EXPECT_EQ(project->exitLists[7], (std::vector<ExitRecord>{map7[0], {4, 2, 3, 1, 0x30}}));
    EXPECT_EQ(project->Read8(0x188AC + 24), 0xFF);
    EXPECT_FALSE(exit.ActionsEnabled(project.get()));
    exit.Delete(project.get(), prompts);
    EXPECT_EQ(project->exitLists[7].size(), 2u);
}

TEST(ChestFinder, ChestsTakeTwoByTwoCellsFromTheirOwnAndTheFirstWins) {
    const std::vector<ChestRecord> chests = {{0, 3, 4, 0x80}, {0, 4, 5, 0}, {0, 9, 9, 8}};
    const std::optional<std::uint32_t> none;
    const std::tuple<std::uint32_t, std::uint32_t, std::optional<std::uint32_t>> cases[] = {
        {3, 4, 0},    {4, 5, 0},    {5, 6, 1},   {5, 5, 1},    {6, 5, none},
        {2, 4, none}, {3, 3, none}, {10, 10, 2}, {11, 9, none}};
    for (const auto& [column, row, index] : cases) {
        EXPECT_EQ(FindChestAt(chests, column, row), index) << column << "," << row;
    }
}

TEST_F(FloatingEditorModels, ChestSaveWritesThePickedChestInItsOwnFormKeepingTheGemBit) {
    const std::uint32_t bank = image.Table(RegionTable::ChestDataBank);
    image.PutChestList(10, 0x4000,
                       std::vector<ChestRecord>{{0, 3, 4, 0x80, 0xABCD, 0x8064, 0x0102},
                                                {0, 4, 6, 0, 0, 0x0010, 0x1234},
                                                {0, 9, 9, 8, 0, 0x0011, 0x1234}});
    Open();
    ChestEditModel chest;
    chest.Save(project.get(), prompts);
    EXPECT_FALSE(chest.Fill(*project, kChestMapCount, 3, 4));
    ASSERT_TRUE(chest.Fill(*project, 10, 3, 4));
    EXPECT_EQ(chest.item, "100");
    EXPECT_EQ(chest.chestId, "258");
    chest.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});

    chest.posX = "7";
    chest.item = "200";
    chest.Save(project.get(), prompts);
    const std::uint32_t gems = bank + 0x4000;
    EXPECT_EQ(Changed(), (Offsets{gems, gems + 5}));
    EXPECT_EQ(project->Read16(gems + 5), 0x80C8);

    // The chest picked by its place, though another chest has its id.
    before = project->romImage;
    ASSERT_TRUE(chest.Fill(*project, 10, 10, 9));
    chest.posY = "1";
    chest.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{bank + 0x4010 + 1});

    before = project->romImage;
    chest.posX = "0xFF";
    chest.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kChestPositionRefused);
    EXPECT_EQ(Changed(), Offsets{});

    // The list moved under the pick: the chest in its place is another one.
    ASSERT_TRUE(chest.Fill(*project, 10, 4, 6));
    project->Write16(image.Table(RegionTable::ChestPointerTable) + 2 * 10, 0x4009);
    before = project->romImage;
    chest.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});
}

TEST_F(FloatingEditorModels, ShopFillFindsTheKeeperAndSaveWritesEveryShownField) {
    image.PutShops(std::vector<ShopRecord>{{0, 0x10, 0x0203, 0xD000, 5, 6, 2},
                                           {0, 0x11, 0, 0xD000, 5, 6, 9},
                                           {0, 0x10, 0, 0xD200, 8, 8, 0}});
    image.PutShopItems(0xD000, std::vector<ShopItem>{{0, 0x21, 0x1250, 0}, {0, 0x22, 0x0099, 3}});
    image.PutShopItems(0xD200, {});
    Open();
    const auto shops = ReadShops(*project);
    EXPECT_EQ(FindShopAt(shops, 0x10, 6, 7), 0u);
    EXPECT_EQ(FindShopAt(shops, 0x10, 7, 6), std::nullopt);
    EXPECT_EQ(FindShopAt(shops, 0x10, 5, 5), std::nullopt);
    EXPECT_EQ(FindShopAt(shops, 0x11, 5, 6), 1u);
    EXPECT_EQ(FindShopAt(shops, 0x10, 9, 9), 2u);

    ShopEditModel shop;
    ASSERT_TRUE(shop.Fill(*project, 0x11, 5, 6));
    EXPECT_EQ(shop.greetingIndex, -1);
    ASSERT_TRUE(shop.Fill(*project, 0x10, 5, 6));
    EXPECT_EQ(shop.mapId, "0x0010");
    EXPECT_EQ(shop.shopId, "0");
    EXPECT_EQ(shop.eventFlag, "0x0203");
    EXPECT_EQ(shop.greetingIndex, 2);
    EXPECT_EQ(shop.slotEntries, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(shop.price, "1250");
    shop.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});

    shop.slotIndex = 1;
    shop.ShowSlot(*project, 1);
    EXPECT_EQ(shop.price, "99");
    EXPECT_TRUE(shop.unique);
    shop.Save(project.get(), prompts);  // a unique flag keeps its value
    EXPECT_EQ(Changed(), Offsets{});
    shop.itemId = "255";  // would end the item list at this slot
    shop.posX = "1";
    shop.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(),
              "Item ID: must be a number from 0 to 254; \"255\" is not.\nNothing was saved.");
    EXPECT_EQ(Changed(), Offsets{});
    shop.posX = "5";
    shop.itemId = "0x30";
    shop.price = "1905";
    shop.unique = false;
    shop.eventFlag = "0x0405";
    shop.greetingIndex = 8;
    shop.Save(project.get(), prompts);
    const std::uint32_t record = image.Table(RegionTable::ShopTable);
    const std::uint32_t item = Bank(RegionTable::ShopTable) + 0xD004;
    EXPECT_EQ(Changed(),
              (Offsets{record + 2, record + 3, record + 8, item, item + 1, item + 2, item + 3}));
    EXPECT_EQ(project->Read16(item + 1), 0x1905);
    EXPECT_EQ(project->Read16(record + 2), 0x0405);

    // A shop without items shows none of the shop before, and Save writes the record only.
    before = project->romImage;
    shop.unique = true;
    ASSERT_TRUE(shop.Fill(*project, 0x10, 8, 8));
    EXPECT_TRUE(shop.slotEntries.empty());
    EXPECT_EQ(shop.itemId + shop.price, "");
    EXPECT_FALSE(shop.unique);
    shop.posX = "9";
    shop.posY = "7";
    shop.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), (Offsets{record + 18 + 6, record + 18 + 7}));
    EXPECT_EQ(prompts.messages.size(), 1u);  // empty item boxes lose nothing: no word
    // An item typed is not saved, the message says so, and the boxes show the list as stored.
    shop.posY = "6";
    shop.itemId = "5";
    shop.price = "100";
    shop.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(),
              "This shop has no item slots: only Event Flag, Pos X, Pos Y and Greeting were saved, "
              "not Item ID, Price or Unique.");
    EXPECT_EQ(Changed(), (Offsets{record + 18 + 6, record + 18 + 7}));
    EXPECT_EQ(shop.itemId + shop.price + shop.posY, "6");

    // A slot that left the item list since the fill takes nothing, and the message says so.
    ASSERT_TRUE(shop.Fill(*project, 0x10, 5, 6));
    shop.slotIndex = 1;
    shop.ShowSlot(*project, 1);
    project->Write8(item, kShopItemListEnd);
    before = project->romImage;
    shop.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});
    EXPECT_EQ(
        prompts.LastMessage().rfind("The slot shown is no longer in this shop's item list", 0), 0u);
    EXPECT_EQ(shop.slotEntries, std::vector<std::string>{"0"});
    EXPECT_EQ(shop.itemId + "/" + shop.price, "33/1250");
}

TEST_F(FloatingEditorModels, ObjectFinderWalksEveryCommandByItsLength) {
    using Bank = SyntheticImage::ObjectBank;
    image.PutObjectList(0x30, Bank::A, 0x9000,
                        ObjectListBytes()
                            .Head(0x0200)
                            .Raw({0xF0, 1, 2, 3, 4, 5, 6})
                            .Call2(0x0008, 0x0010, 0x9100)
                            .Raw({0xFB, 5, 6, 0, 0})
                            .Object(0x00, 5, 6, 0, 0x0C8000, 0)
                            .Object(0x01, 5, 6, 0x80, 0x0C8000, 0)  // under the first
                            .Object(0x00, 9, 0, 0, 0x0C8000, 0)     // row 0: never found
                            .PlayerSpawn(12, 3, 0, 0x0C8000)
                            .Object(0x41, 20, 20, 0xC0, 0x0C8000, 0)
                            .Raw({1, 2, 3, 4, 5, 6})
                            .Object(0x00, 30, 30, 0, 0x0C8000, 0)
                            .End());
    Open();
    const std::uint32_t first = 0x29000 + 2 + 7 + 7 + 5;
    const std::tuple<std::uint32_t, std::uint32_t, std::optional<std::uint32_t>> cases[] = {
        {5, 6, first},        {6, 5, first},        {4, 6, std::nullopt},
        {7, 6, std::nullopt}, {5, 7, std::nullopt}, {5, 4, std::nullopt},
        {9, 0, std::nullopt}, {12, 2, first + 30},  {31, 29, first + 53}};
    for (const auto& [column, row, offset] : cases) {
        const auto found = FindObjectAt(*project, 0x30, column, row);
        EXPECT_EQ(found ? std::optional(found->offset) : std::nullopt, offset)
            << column << "," << row;
    }
    EXPECT_FALSE(FindObjectAt(*project, 1110, 5, 6));
}

TEST_F(FloatingEditorModels, ObjectFillSaysWhatSaveMayWriteAndSaveKeepsTheCommandLength) {
    using Bank = SyntheticImage::ObjectBank;
    constexpr std::uint32_t kScript = 0x0C8000;
    constexpr std::uint32_t kLayout = 0x0C9000;
    image.PutBytes(kScript, std::vector<std::uint8_t>{0x17, 0x01, 0x80});     // animation, flags
    image.PutBytes(kLayout, std::vector<std::uint8_t>{0, 0, 0, 0x04, 0x2A});  // enemy 42
    image.PutBytes(kLayout + 8, std::vector<std::uint8_t>{0, 0, 0, 0xFB, 0x2B});  // none
    image.PutObjectList(0x30, Bank::A, 0x9000,
                        ObjectListBytes()
                            .Head(0x0200)
                            .PlayerSpawn(2, 2, 0, kScript)
                            .Object(0x00, 4, 4, 0x80, kScript, kLayout)
                            .Object(0x01, 6, 6, 0x80, kScript, kLayout)
                            .Object(0x80, 8, 8, 0, kScript, 0)
                            .Object(0x00, 10, 10, 0, kScript, kLayout)
                            .Object(0x00, 12, 12, 0, kScript, kLayout + 8)
                            .End());
    Open();
    const std::uint32_t list = 0x29002;
    ObjectEditModel object;
    struct Case {
        std::uint32_t cell;
        bool save, layoutEnabled;
        const char* layout;
        const char* enemy;  // nullptr: "Enemy ID:" disabled and empty
        std::uint16_t interaction;
    };
    // Every fill sets every control: nothing of the object before stays.
    for (const Case c :
         {Case{10, true, true, "0x0C9000", "42", 0}, Case{2, false, false, "", nullptr, 0x8001},
          Case{4, false, true, "0x0C9000", "42", 0}, Case{6, true, true, "0x0C9000", "42", 0x8001},
          Case{12, true, true, "0x0C9008", "", 0}, Case{8, true, true, "0x000000", nullptr, 0}}) {
        ASSERT_TRUE(object.Fill(*project, 0x30, c.cell, c.cell));
        EXPECT_EQ(object.SaveEnabled(project.get()), c.save) << c.cell;
        EXPECT_EQ(object.spriteLayoutEnabled, c.layoutEnabled) << c.cell;
        EXPECT_EQ(object.spriteLayout, c.layout) << c.cell;
        EXPECT_EQ(object.animationId, "23");
        EXPECT_EQ(object.enemyIdEnabled, c.enemy != nullptr) << c.cell;
        EXPECT_EQ(object.enemyId, c.enemy != nullptr ? c.enemy : "") << c.cell;
        EXPECT_EQ(object.interactionFlags, c.interaction) << c.cell;
    }

    // Save is offered for an object of another type, and says why it writes nothing.
    object.posX = "3";
    object.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kObjectUnsupportedType);
    EXPECT_EQ(Changed(), Offsets{});

    ASSERT_TRUE(object.Fill(*project, 0x30, 6, 6));
    object.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), Offsets{});
    const std::uint32_t flagged = list + 7 + 10;
    object.script = "0xC3A2F1";
    object.Save(project.get(), prompts);
    EXPECT_EQ(Changed(), (Offsets{flagged + 4, flagged + 5, flagged + 6}));
    EXPECT_EQ(project->Read24(flagged + 4), 0xC3A2F1u);

    before = project->romImage;
    object.flag = "0xC0";
    object.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kObjectLengthRefused);
    object.flag = "0";
    project->Write8(flagged, 0x81);
    before = project->romImage;
    object.Save(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kObjectUnsupportedType);
    EXPECT_EQ(prompts.captions.back(), kObjectErrorCaption);
    EXPECT_EQ(Changed(), Offsets{});

    object.Add(project.get(), prompts);
    EXPECT_EQ(prompts.LastMessage(), kObjectAddNeedsExpandedRom);
}

TEST_F(FloatingEditorModels, ObjectSaveAfterA6MBImportReachesOnlyTheListsTheImageShared) {
    using Bank = SyntheticImage::ObjectBank;
    // Maps 0x30 and 0x31 hold lists of the same bytes in two places; map 0x32 uses 0x30's.
    image = SyntheticImage(SyntheticImage::k6MB, Region::German);
    const auto list =
        ObjectListBytes().Head(0x0200).Object(0x00, 4, 4, 0, 0x0C8000, 0x0C9000).End();
    image.PutObjectList(0x30, Bank::A, 0x9000, list);
    image.PutObjectList(0x31, Bank::A, 0x9100, list);
    image.PutObjectList(0x32, Bank::A, 0x9000, {});
    Open();
    ASSERT_TRUE(HasExtendedBankBytes(*project));

    ObjectEditModel object;
    ASSERT_TRUE(object.Fill(*project, 0x30, 4, 4));
    object.posX = "9";
    object.Save(project.get(), prompts);
    EXPECT_TRUE(FindObjectAt(*project, 0x30, 9, 4));
    EXPECT_TRUE(FindObjectAt(*project, 0x32, 9, 4));
    EXPECT_TRUE(FindObjectAt(*project, 0x31, 4, 4));
    EXPECT_FALSE(FindObjectAt(*project, 0x31, 9, 4));
}

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include "scripts/MapListings.h"
#include "scripts/ui/ScriptsTab.h"
#include "tests/editors/ui/PageWindow.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/NamedChild.h"
#include "tests/support/ObjectListBytes.h"

namespace {

class ScriptViewer : public PageWindow {
protected:
    ScriptsTab& Page() { return *window.findChild<ScriptsTab*>("ScriptsTab"); }
    void Click(const char* name) { NamedChild<QAbstractButton>(Page(), name)->click(); }
    QLineEdit* Edit(const char* name) { return NamedChild<QLineEdit>(Page(), name); }
    QTreeWidget* Tree() { return NamedChild<QTreeWidget>(Page(), "tree"); }
    QString Item(int i) { return Tree()->topLevelItem(i)->text(0); }

    void NewImage() {
        SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
        // Map 0 and 1 have a one-command script each; map 0x10 has an object list.
        image.SetMapHeader(0, 0x0A8000);
        image.SetMapHeader(1, 0x0A8010);
        HeaderScriptWriter(image, 0x0A8000).Music(3).End();
        HeaderScriptWriter(image, 0x0A8010).End();
        image.PutObjectList(0x10, SyntheticImage::ObjectBank::A, 0x4000,
                            ObjectListBytes().Head(0x0512).Raw({0x03}).End());
        NewProject(image);
    }
};

}  // namespace

TEST_F(ScriptViewer, EveryActionNeedsAnImage) {
    for (const char* name : {"loadScript", "loadMapScripts", "loadSpritePlacement", "mapIdSpinUp",
                             "spritePlacementSpinDown"}) {
        Click(name);
    }
    EXPECT_EQ(prompts.messages, std::vector<std::string>(5, "Please load ROM first"));
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
}

TEST_F(ScriptViewer, LoadButtonsListScriptHeaderScriptAndObjects) {
    NewImage();
    Click("loadScript");
    ASSERT_GT(Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Item(0), "Script offset: 04A129");
    // Every letter as wide as any other, so the listing's columns line up.
    const QFontMetrics metrics(Tree()->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"));
    Edit("scriptOffset")->setText("0x");  // no offset: refused, the listing stays
    Click("loadScript");
    EXPECT_EQ(prompts.LastMessage(),
              "Script Offset: must be a number from 0x000000 to 0xFFFFFF; \"0x\" is not.");
    EXPECT_EQ(Item(0), "Script offset: 04A129");
    prompts.messages.clear();

    Edit("mapId")->setText("1");
    Click("loadMapScripts");
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Item(0), "[A8010][00] End");

    Edit("spritePlacementMapId")->setText("0x10");
    Click("loadSpritePlacement");
    ASSERT_EQ(Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(Item(0), "[0512]");
    EXPECT_TRUE(Item(1).endsWith("[03] ?"));

    // Ids past the table are refused and leave the listing as it was.
    for (const char* edit : {"mapId", "spritePlacementMapId"}) {
        Edit(edit)->setText("0x450");
    }
    Click("loadSpritePlacement");
    EXPECT_EQ(Tree()->topLevelItemCount(), 3);
    Click("loadMapScripts");
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>(2, "Please enter a map ID from 0x0000 to 0x044F."));

    // Letters or nothing are no map 0: refused the same way.
    for (const char* typed : {"", "abc", "0x"}) {
        Edit("mapId")->setText(typed);
        Edit("spritePlacementMapId")->setText(typed);
        Click("loadMapScripts");
        Click("loadSpritePlacement");
    }
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>(8, "Please enter a map ID from 0x0000 to 0x044F."));
    EXPECT_EQ(Item(0), "[0512]");
}

TEST_F(ScriptViewer, HeaderScriptIdsEndWithTheReleasesHeaderTable) {
    // Release M's header table has 255 entries; the script pieces' table follows it.
    SyntheticImage image(SyntheticImage::k1MB, SyntheticImage::Region::ReleaseM);
    image.SetMapHeader(0xFE, 0x0A8000);
    HeaderScriptWriter(image, 0x0A8000).End();
    NewProject(image);
    const std::string range = "Please enter a map ID from 0x0000 to 0x00FE.";
    Edit("mapId")->setText("0x100");
    Click("loadMapScripts");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{range});
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    // The arrows stop at the table's last id; object lists keep all 1104 ids.
    Edit("mapId")->setText("0xFD");
    Click("loadMapScripts");
    Click("mapIdSpinUp");
    Click("mapIdSpinUp");
    EXPECT_EQ(Edit("mapId")->text(), "0xfe");
    EXPECT_EQ(Item(0), "[A8000][00] End");
    Edit("spritePlacementMapId")->setText("0x100");
    Click("loadSpritePlacement");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{range});
}

TEST_F(ScriptViewer, ArrowsStepTheStoredIdWithinTheTable) {
    NewImage();
    Edit("mapId")->setText("0x200");  // typed, not loaded: the arrows ignore it
    Click("mapIdSpinUp");
    EXPECT_EQ(Edit("mapId")->text(), "0x1");
    EXPECT_EQ(Item(0), "[A8010][00] End");
    Click("mapIdSpinDown");
    Click("mapIdSpinDown");
    EXPECT_EQ(Edit("mapId")->text(), "0x0");
    EXPECT_TRUE(Tree()->topLevelItem(0)->child(0)->text(0).startsWith("EE ID:3 "));

    Edit("spritePlacementMapId")->setText("0x44F");
    Click("loadSpritePlacement");
    Click("spritePlacementSpinUp");
    EXPECT_EQ(Edit("spritePlacementMapId")->text(), "0x44f");
    for (int i = 0; i < 0x44F - 0x10; ++i) {
        Click("spritePlacementSpinDown");
    }
    EXPECT_EQ(Edit("spritePlacementMapId")->text(), "0x10");
    EXPECT_EQ(Item(0), "[0512]");
    Click("spritePlacementSpinUp");
    EXPECT_EQ(Item(0), kUnusedMapText);
    EXPECT_TRUE(prompts.messages.empty());

    // A new image starts both arrows again from map 0.
    Click("mapIdSpinUp");
    NewImage();
    Click("mapIdSpinUp");
    Click("spritePlacementSpinUp");
    EXPECT_EQ(Edit("mapId")->text(), "0x1");
    EXPECT_EQ(Edit("spritePlacementMapId")->text(), "0x1");
}

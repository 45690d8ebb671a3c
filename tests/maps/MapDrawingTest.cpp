#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "maps/CollisionDigits.h"
#include "maps/ObjectSpriteDrawer.h"
#include "platform/Files.h"
#include "tests/maps/MapTestFixture.h"

using MapDrawing = MapTest;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;

// Blending colour c over black with constant alpha a gives round(c * a / 255) per channel.
std::uint32_t OverBlack(std::uint32_t color, std::uint32_t alpha) {
    std::uint32_t out = kBlack;
    for (int shift = 0; shift < 24; shift += 8) {
        out |= (((color >> shift) & 0xFF) * alpha + 127) / 255 << shift;
    }
    return out;
}

class RecordingDrawer : public ObjectSpriteDrawer {
public:
    void Load(std::uint32_t layout) override { loads.push_back(layout); }
    bool DrawFrame(int x, int y, std::uint32_t animation, Canvas&) override {
        frames.push_back({x, y, static_cast<int>(animation)});
        return draws;
    }
    std::vector<std::uint32_t> loads;
    std::vector<std::array<int, 3>> frames;
    bool draws = true;
};

}  // namespace

TEST_F(MapDrawing, TheUpperLayerShowsTheLowerThroughColourZeroOnly) {
    LoadTiles();
    renderer->argbPalette[3] = 0xFF000000;  // index 3 is black and must stay opaque
    // Layer 0: solid index 4 (tile 3), 2 x 2 tiles. Layer 1: one half tile (index 0 | 3).
    renderer->BuildLayerImage(Words({3, 3, 3, 3}), {}, 2, 2, 0, 0);
    renderer->BuildLayerImage(Words({2}), {}, 1, 1, 1, 0);
    Canvas view;
    renderer->PaintMapView(view, 0, 0, 512, 12);
    ASSERT_EQ(view.Width() * 100 + view.Height(), 1612);  // layer 0's width, the view's height
    EXPECT_EQ(view.At(3, 7), Opaque(4));                  // through colour 0 of layer 1
    EXPECT_EQ(view.At(4, 0), kBlack);                     // layer 1's black
    EXPECT_EQ(view.At(8, 0), Opaque(4));                  // beyond the smaller layer 1: clipped
    EXPECT_EQ(ReadWholeFile("map.bin")->size(), 512u);    // the first 512 bytes of layer 0
    renderer->showLayer0 = false;                         // the background shows through instead
    renderer->PaintMapView(view, 0, 0, 512, 512);
    EXPECT_EQ(view.At(0, 0), kPageBackground);
    EXPECT_EQ(view.At(4, 0), kBlack);
    renderer->showLayer0 = true;

    // With priority layer 0 is the transparent upper layer over layer 1.
    renderer->layer0Priority = true;
    renderer->BuildLayerImage(Words({2, 2, 2, 2}), {}, 2, 2, 0, 0);
    renderer->BuildLayerImage(Words({4, 4, 4, 4}), {}, 2, 2, 1, 0);
    renderer->PaintMapView(view, 4, 0, 512, 512);
    EXPECT_EQ(view.At(0, 0), kBlack);
    EXPECT_EQ(view.At(4, 0), Opaque(5));
    EXPECT_EQ(view.At(12, 0), kPageBackground);  // scrolled past both layers: the background

    // Nothing to draw without layer images: the view is left as it was.
    Canvas untouched(2, 2, 0x12345678);
    MapRenderer(project).PaintMapView(untouched, 0, 0, 512, 512);
    EXPECT_EQ(untouched.At(1, 1), 0x12345678u);
}

TEST_F(MapDrawing, ExitsAndShopsAreDrawnOnlyWhenWhollyVisible) {
    // Exit 1 ends 16 pixels beyond the view's right edge: not even its visible part is drawn,
    // until the view is scrolled so that it lies inside.
    // Exit 2 ends on the view's bottom edge, which belongs to the view.
    project.exitLists[7] = {ExitRecord{1, 2, 2, 1}, ExitRecord{30, 0, 3, 1},
                            ExitRecord{0, 31, 1, 1}};
    renderer->showExits = true;
    Canvas view(512, 512, kBlack);
    renderer->DrawExits(view, 7, 0, 0, 512, 512);
    const std::uint32_t green = OverBlack(0x00FF00, 0x4B);
    EXPECT_EQ(view.At(16, 32), green);
    EXPECT_EQ(view.At(47, 47), green);
    EXPECT_EQ(view.At(48, 32), kBlack);
    EXPECT_EQ(view.At(30 * 16, 0), kBlack);
    EXPECT_EQ(view.At(0, 511), green);
    renderer->DrawExits(view, 7, 16, 0, 512, 512);
    EXPECT_EQ(view.At(29 * 16, 0), green);
    // The world map shows its own exits in yellow first.
    project.exitLists[2] = {ExitRecord{0, 0, 1, 1}};
    project.worldMapExits.assign(kWorldMapExitCount, {});
    project.worldMapExits[5] = WorldMapExitRecord{3, 3, 1, 1, {}};
    Canvas world(512, 512, kBlack);
    renderer->DrawExits(world, 2, 0, 0, 512, 512);
    EXPECT_EQ(world.At(48, 48), OverBlack(0xFFFF00, 0x4B));
    EXPECT_EQ(world.At(0, 0), green);

    // Shops of the map up to the end marker, inside the view, one pixel left of their cell.
    const std::uint32_t table = project.Table(RegionTable::ShopTable);
    const auto shop = [&](std::uint32_t index, std::uint16_t id, std::uint8_t x, std::uint8_t y) {
        image.Put16(table + 9 * index, id);
        image.Put8(table + 9 * index + 6, x);
        image.Put8(table + 9 * index + 7, y);
    };
    shop(0, 7, 40, 1);  // x = 640: outside the 512-pixel view
    shop(1, 8, 2, 2);   // another map
    shop(2, 7, 2, 3);
    image.Put16(table + 27, 0xFFFF);
    shop(4, 7, 5, 5);  // after the end marker
    Sync();
    Canvas shops(512, 512, kBlack);
    renderer->HighlightEntry(shops, 7, 0, 0);
    EXPECT_EQ(shops.At(31, 48), OverBlack(0xFFFF00, 0x78));
    EXPECT_EQ(shops.At(46, 63), OverBlack(0xFFFF00, 0x78));
    EXPECT_EQ(shops.At(47, 48), kBlack);
    EXPECT_EQ(shops.At(32, 32), kBlack);
    EXPECT_EQ(shops.At(80, 80), kBlack);
}

TEST_F(MapDrawing, ShopTableWithoutEndMarkerIsWalkedNoFurtherThan64KB) {
    // A zeroed image has no 0xFFFF record: every record belongs to map 0. The walk stops 64 KB
    // from the table's start instead of blending thousands of stamps up to the image end.
    const std::uint32_t table = project.Table(RegionTable::ShopTable);
    const std::uint32_t lastInside = (0x10000 - 9) / 9;
    image.Put16(table + 9 * lastInside, 0x0055);
    image.Put8(table + 9 * lastInside + 6, 4);
    image.Put16(table + 9 * (lastInside + 1), 0x0055);
    image.Put8(table + 9 * (lastInside + 1) + 6, 8);
    Sync();
    Canvas view(512, 512, kBlack);
    renderer->HighlightEntry(view, 0x55, 0, 0);
    EXPECT_EQ(view.At(4 * 16, 0), OverBlack(0xFFFF00, 0x78));
    EXPECT_EQ(view.At(8 * 16, 0), kBlack);
}

TEST_F(MapDrawing, ObjectsSpawnPointAndMissingSprites) {
    // Map 9's list through table A (table B's pointer is 0), at bank A | 0x9000.
    const std::uint32_t list = project.Table(RegionTable::SpritePlacementBankA) | 0x9000;
    image.Put16(project.Table(RegionTable::SpritePlacementPointerTableA) + 2 * 9, 0x9000);
    image.Put8(0x60000, 5);  // the first byte of the objects' script: animation 5
    std::vector<std::uint8_t> bytes = {0x00, 0x03};  // head word
    // Commands whose operands, read as commands, would end the list.
    bytes.insert(bytes.end(), {0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFB, 0xFF, 0xFF, 0xFF,
                               0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF});
    bytes.insert(bytes.end(), {0xFD, 2, 3, 0, 0, 0, 0});           // spawn point at (2, 3)
    bytes.insert(bytes.end(), {0x01, 4, 3, 0, 0, 0, 6, 0, 0, 0});  // layout 0, none before
    bytes.insert(bytes.end(), {0xFA, 0x00, 0x10, 0, 0, 0, 0});     // two conditions: 6 bytes
    bytes.insert(bytes.end(), {0x07});                             // ignored code
    bytes.insert(bytes.end(), {0x40, 6, 3, 0, 0, 0, 6, 0x56, 0x34, 0x12});
    bytes.insert(bytes.end(), {0x41, 8, 3, 0xFF, 0, 0, 6, 0x99, 0x99, 0x09, 1, 2, 3, 4, 5, 6});
    bytes.insert(bytes.end(), {0x81, 10, 3, 0, 0, 0, 6, 0, 0, 0});  // layout 0: the one before
    bytes.insert(bytes.end(), {0x00, 12, 0, 0, 0, 0, 6, 1, 0, 0});  // Y = 0: above the map
    bytes.insert(bytes.end(), {0xFF, 0xFD, 1, 1, 0, 0, 0, 0});      // after the end
    image.PutBytes(list, bytes);
    Sync();
    renderer->showObjects = true;
    const std::uint32_t red = OverBlack(0xFF0000, 0x4B);
    const std::uint32_t blue = OverBlack(0x0000FF, 0x4B);
    Canvas view(512, 512, kBlack);
    renderer->DrawObjects(view, nullptr, 9, 0, 0, 512, 512);
    EXPECT_EQ(view.At(32, 32), red);  // one cell above the stored Y
    EXPECT_EQ(view.At(47, 47), red);
    EXPECT_EQ(view.At(64, 32), blue);
    EXPECT_EQ(view.At(96, 32), blue);
    EXPECT_EQ(view.At(16, 0), kBlack);

    // With a sprite drawer: the first 01 object has no sprite to try and stays blue; the
    // others are drawn as sprites in view coordinates, loaded in list order, visible or not;
    // one that draws nothing is shown blue.
    RecordingDrawer drawer;
    Canvas drawn(512, 512, kBlack);
    renderer->DrawObjects(drawn, &drawer, 9, 0, 0, 512, 512);
    EXPECT_EQ(drawn.At(64, 32), blue);
    EXPECT_EQ(drawn.At(96, 32), kBlack);
    EXPECT_EQ(drawer.loads, (std::vector<std::uint32_t>{0x123456, 0x099999, 0x099999, 0x000001}));
    drawer.frames.clear();
    drawer.draws = false;
    renderer->DrawObjects(drawn, &drawer, 9, 32, 16, 512, 512);
    EXPECT_EQ(drawer.frames.size(), 3u);
    EXPECT_EQ(drawer.frames[0], (std::array<int, 3>{64, 16, 5}));
    EXPECT_EQ(drawn.At(64, 16), blue);
}

TEST(CollisionDigits, TheStripShowsTheSixteenHexDigits) {
    // 5 x 7 glyphs, each row doubled, one pixel in from the cell's top left; 0-7, then 8-F.
    const char* const kRows[] = {
        ".###.|..#..|.###.|#####|...#.|#####|..##.|#####",
        "#...#|.##..|#...#|...#.|..##.|#....|.#...|....#",
        "#..##|..#..|....#|..#..|.#.#.|####.|#....|...#.",
        "#.#.#|..#..|...#.|...#.|#..#.|....#|####.|..#..",
        "##..#|..#..|..#..|....#|#####|....#|#...#|.#...",
        "#...#|..#..|.#...|#...#|...#.|#...#|#...#|.#...",
        ".###.|.###.|#####|.###.|...#.|.###.|.###.|.#...",
        ".###.|.###.|.###.|####.|.###.|###..|#####|#####",
        "#...#|#...#|#...#|#...#|#...#|#..#.|#....|#....",
        "#...#|#...#|#...#|#...#|#....|#...#|#....|#....",
        ".###.|.####|#####|####.|#....|#...#|####.|####.",
        "#...#|....#|#...#|#...#|#....|#...#|#....|#....",
        "#...#|...#.|#...#|#...#|#...#|#..#.|#....|#....",
        ".###.|.##..|#...#|####.|.###.|###..|#####|#....",
    };
    const Canvas& strip = CollisionDigitStrip();
    ASSERT_EQ(strip.Width() * 100 + strip.Height(), 12816);
    for (int digit = 0; digit < 16; ++digit) {
        for (int y = 0; y < kDigitHeight; ++y) {
            for (int x = 0; x < kDigitWidth; ++x) {
                const bool inGlyph = x >= 1 && x <= 5 && y >= 1 && y <= 14;
                const bool stroke =
                    inGlyph && kRows[digit / 8 * 7 + (y - 1) / 2][digit % 8 * 6 + x - 1] == '#';
                EXPECT_EQ(strip.At(digit * kDigitWidth + x, y),
                          stroke ? kDigitStroke : kDigitBackground)
                    << std::hex << digit << " at " << std::dec << x << ", " << y;
            }
        }
    }
}

TEST_F(MapDrawing, CollisionKindsAndNumbers) {
    // One row of cells 0..7 of layer 0; the collision table gives each its kind.
    renderer->layerMap[0] = SyntheticImage::LayerMap(8, 1, [](std::uint32_t x, std::uint32_t) {
        return static_cast<std::uint16_t>(x == 7 ? 0x200 : x);
    });
    renderer->layerWidth[0] = 128;
    renderer->layerHeight[0] = 256;  // the header's height; the map holds one row
    renderer->layerImages.resize(1);
    renderer->layerImages[0].width = 128;
    renderer->layerImages[0].height = 16;
    renderer->collision.assign(kCollisionEntries, 0);
    const std::uint8_t kinds[] = {2, 8, 6, 0x1F, 0xCD, 22, 30};
    std::copy(std::begin(kinds), std::end(kinds), renderer->collision.begin());

    const std::uint32_t green = OverBlack(0x00FF00, 0x80);
    const std::uint32_t red = OverBlack(0xFF0000, 0x80);
    Canvas view(512, 512, kBlack);
    renderer->DrawCollision(view, CollisionMode::Show, 0, 0, 512, 512);
    // Kinds 2 and 8; slope 6: green, crossed from the top right to the bottom left by red;
    // 0x1F; 0xCD: nothing; 22: red top half, green bottom half; 30: a red cell one pixel
    // short of the next cell; cell 0x200 lies past the table: nothing.
    const std::tuple<int, int, std::uint32_t> pixels[] = {
        {0, 0, green},        {31, 15, red},   {32, 0, green},  {47, 0, 0xFF804000},
        {32, 15, 0xFF804000}, {48, 0, green},  {64, 0, kBlack}, {80, 7, red},
        {80, 8, green},       {96, 0, kBlack}, {111, 0, red},   {126, 0, red},
        {127, 0, kBlack},     {0, 16, kBlack}};
    for (const auto& [x, y, colour] : pixels) {
        EXPECT_EQ(view.At(x, y), colour) << x << ", " << y;
    }
    // Numbers: the digits are blended first, then the kind's colour.
    view.Fill(kBlack);
    renderer->DrawCollision(view, CollisionMode::Numbers, 0, 0, 512, 512);
    EXPECT_EQ(view.At(48, 0), 0xFF40C000u);                        // yellow, then green
    EXPECT_EQ(view.At(48 + 3, 1), green);                          // a stroke of "1"
    EXPECT_EQ(view.At(64, 0), OverBlack(kDigitBackground, 0x80));  // 0xCD: no square
    EXPECT_EQ(view.At(64 + 2, 1), OverBlack(0, 0x80));             // the top stroke of "C"

    // At any scroll a view 40 wide shows the full view's pixels, cut cells too; Hide draws none.
    Canvas narrow(512, 512, kBlack);
    for (int scroll : {0, 5, 8, 13}) {
        narrow.Fill(kBlack);
        renderer->DrawCollision(narrow, CollisionMode::Numbers, scroll, 0, 40, 512);
        for (int x = 0; x < 41; ++x) {
            for (int y = 0; y < 16; ++y) {
                ASSERT_EQ(narrow.At(x, y), x < 40 ? view.At(x + scroll, y) : kBlack)
                    << scroll << ": " << x << ", " << y;
            }
        }
    }
    renderer->DrawCollision(narrow, CollisionMode::Hide, 0, 0, 512, 512);
    EXPECT_EQ(narrow.At(48, 0), kBlack);
}

TEST_F(MapDrawing, ThePaletteBoxShowsEachColourAsASwatchWithAGapAround) {
    Canvas box;
    renderer->DrawPalette(box);
    ASSERT_EQ(box.Width() * 100 + box.Height(), 14880);
    // Colour 17 (row 1, column 1): its swatch spans (9, 10) to (16, 17), light grey beside it.
    EXPECT_EQ(box.At(9, 10), Opaque(17));
    EXPECT_EQ(box.At(16, 17), Opaque(17));
    for (const auto& [x, y] : {std::pair{17, 10}, std::pair{9, 18}}) {
        EXPECT_EQ(box.At(x, y), kPageBackground) << x << "," << y;
    }
}

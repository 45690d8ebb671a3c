#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/SpriteDescriptor.h"
#include "platform/Canvas.h"

class ProjectContext;
class Prompts;

inline constexpr int kSpriteViewSize = 256;
inline constexpr std::uint32_t kSpriteViewBackground = 0xFFF0F0F0;
inline constexpr int kSelectedTileZoom = 8;
inline constexpr char kDefaultSpriteInfoText[] = "0x83EF91";

// The "Sprites" page without its widgets: the address texts, the animation and frame lists
// with their selections, the pictures and the loaded sprite. The page reads its controls into
// these members, calls one handler and writes the members back. The handlers take the current
// project (null while there is none) and never change the image.
class SpritesPageModel {
public:
    SpritesPageModel();

    // What the controls show.
    std::string infoText = kDefaultSpriteInfoText;  // "SpriteInfoOffset:"
    // "SpriteTilesOffset:": 0 draws with the record's graphics, any other address with the
    // graphics block found there.
    std::string tilesText = "0";
    std::vector<std::string> animationLines;
    std::vector<std::string> frameLines;
    int animationLine = -1;  // selections; -1 for none
    int frameLine = -1;
    int tileX = 0;  // the selected tile of the sheet, in tiles
    int tileY = 0;

    // The pictures.
    Canvas spriteView;  // the frame, origin at (0, 0)
    Canvas sheetView;   // the sprite's colour sheet, 128 pixels wide
    Canvas tileView;    // the selected tile, magnified

    // The sprite loaded last; none before the first load and after one whose data failed.
    std::optional<SpriteDescriptor> descriptor;

    // Forgets the sprite: no lines, no selection, the pictures as at the start. The address
    // texts stay.
    void Clear();
    // "Load": lists the animations of the record at the typed address and the frames of
    // animation 0, and loads the sprite. Nothing is selected or drawn.
    void Load(ProjectContext* project, Prompts& prompts);
    // Lists the frames of the selected animation and draws the selected frame. False when the
    // typed addresses lie outside the image (told through the prompts; nothing is drawn).
    bool DrawFrame(const ProjectContext* project, Prompts& prompts);
    // A newly chosen animation starts at its frame 0.
    bool AnimationSelChange(const ProjectContext* project, Prompts& prompts);
    bool FrameSelChange(const ProjectContext* project, Prompts& prompts) {
        return DrawFrame(project, prompts);
    }
    // One step of the animation: the next frame of the list, after the last the first; with
    // no animation chosen, frame 0 of animation 0. Nothing without a loaded sprite or a chosen
    // frame. False when the frame could not be drawn.
    bool NextFrame(const ProjectContext* project, Prompts& prompts);
    // Picks the tile at (x, y) of the sheet (in tiles, kept within the sheet) and shows it.
    void SelectTile(int x, int y);
    // The sheet tile under a point of the sheet view.
    void SheetClick(int x, int y) { SelectTile(x / 8, y / 8); }
};

// The lines of the "Animations:" list for decoded animation data, and those of the "Frames:"
// list for one of its animations.
std::vector<std::string> SpriteAnimationLines(const std::vector<std::uint8_t>& animData);
std::vector<std::string> SpriteFrameLines(const std::vector<std::uint8_t>& animData,
                                          std::uint32_t animation);

#include "editors/SpritesPageModel.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/FormatText.h"
#include "platform/Prompts.h"
#include "project/ByteAccess.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"

namespace {

// A sprite-information record runs to its graphics address at offset 18.
constexpr std::uint32_t kInfoRecordSize = 21;
// An LZ block starts with its head byte and raw size.
constexpr std::uint32_t kLzHeadSize = 3;
constexpr int kSheetColumns = kSpriteSheetWidth / 8;

std::vector<std::string> NumberedLines(const char* word, std::uint32_t count) {
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        lines.push_back(std::string(word) + " " + std::to_string(i));
    }
    return lines;
}

// Whether `length` bytes at a game address lie in the image; if not, the person is told: an
// address can lie inside the image while what it names runs past its end.
bool InsideImage(const ProjectContext& project, std::uint32_t address, std::uint32_t length,
                 const char* what, Prompts& prompts) {
    const std::uint32_t offset = project.WrapRomOffset(address);
    if (InRange(project.romImage.size(), offset, length)) {
        return true;
    }
    prompts.ShowMessage(
        offset < project.romImage.size()
            ? FormatText("The %s at 0x%06X does not fit: its %u bytes run past the end of the ROM "
                         "image.",
                         what, address, length)
            : FormatText("The address 0x%06X lies outside the ROM image.", address));
    return false;
}

// The animation data of the record at `address`. `inside` turns false, after a message, when
// the record or the block it names lies outside the image; a block that does not decode gives
// nothing without a message.
std::optional<std::vector<std::uint8_t>> ReadAnimation(const ProjectContext& project,
                                                       std::uint32_t address, Prompts& prompts,
                                                       bool& inside) {
    inside =
        InsideImage(project, address, kInfoRecordSize, "sprite record", prompts) &&
        InsideImage(project, project.ReadRomLong(address), kLzHeadSize, "animation block", prompts);
    if (!inside) {
        return std::nullopt;
    }
    return SpriteDescriptor::ReadAnimationData(project, address);
}

// The address typed into one of the page's offset fields. A text that is no address is said,
// naming the field; an optional field left empty is 0 (none).
std::optional<std::uint32_t> TypedAddress(const std::string& text, std::string_view field,
                                          bool optional, Prompts& prompts) {
    FieldReader reader;
    const std::int64_t address =
        optional ? reader.ReadOptional(text, field, 0, 0xFFFFFF, NumberBase::Hexadecimal)
                 : reader.Read(text, field, 0, 0xFFFFFF, NumberBase::Hexadecimal);
    if (!reader.Ok()) {
        prompts.ShowMessage(reader.Error());
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(address);
}

}  // namespace

std::vector<std::string> SpriteAnimationLines(const std::vector<std::uint8_t>& animData) {
    return NumberedLines("Animation", SpriteDescriptor::AnimationCount(animData));
}

std::vector<std::string> SpriteFrameLines(const std::vector<std::uint8_t>& animData,
                                          std::uint32_t animation) {
    return NumberedLines("Frame", SpriteDescriptor::CountFrames(animData, animation));
}

SpritesPageModel::SpritesPageModel()
    : spriteView(kSpriteViewSize, kSpriteViewSize, kSpriteViewBackground),
      tileView(8 * kSelectedTileZoom, 8 * kSelectedTileZoom, kSpriteViewBackground) {}

void SpritesPageModel::Clear() {
    SpritesPageModel fresh;
    fresh.infoText = infoText;
    fresh.tilesText = tilesText;
    *this = std::move(fresh);
}

void SpritesPageModel::Load(ProjectContext* project, Prompts& prompts) {
    animationLines.clear();
    frameLines.clear();
    animationLine = -1;
    frameLine = -1;
    if (project == nullptr) {
        return;
    }
    const std::optional<std::uint32_t> typed =
        TypedAddress(infoText, "SpriteInfoOffset:", false, prompts);
    if (!typed || *typed == 0) {
        return;
    }
    const std::uint32_t address = *typed;
    descriptor.reset();
    bool inside = true;
    const auto anim = ReadAnimation(*project, address, prompts, inside);
    // An empty block is what zeros decode to: no sprite is there either.
    if (!anim || anim->empty()) {
        if (inside) {
            prompts.ShowMessage(FormatText("This ROM image holds no sprite at 0x%06X: the "
                                           "animation block that its record names does not "
                                           "decode or is empty.",
                                           address));
        }
        return;
    }
    animationLines = SpriteAnimationLines(*anim);
    frameLines = SpriteFrameLines(*anim, 0);
    descriptor.emplace().Load(*project, address);
}

bool SpritesPageModel::DrawFrame(const ProjectContext* project, Prompts& prompts) {
    spriteView.Fill(kSpriteViewBackground);
    if (project == nullptr) {
        return true;
    }
    const int remembered = frameLine;
    bool inside = true;
    const std::optional<std::uint32_t> address =
        TypedAddress(infoText, "SpriteInfoOffset:", false, prompts);
    const std::optional<std::uint32_t> tiles =
        address ? TypedAddress(tilesText, "SpriteTilesOffset:", true, prompts) : std::nullopt;
    if (!tiles) {
        return false;
    }
    const auto anim = ReadAnimation(*project, *address, prompts, inside);
    if (!anim) {
        return inside;
    }
    if (animationLine >= 0) {
        frameLines = SpriteFrameLines(*anim, static_cast<std::uint32_t>(animationLine));
        frameLine = remembered < static_cast<int>(frameLines.size()) ? remembered : -1;
    }
    if (!descriptor || animationLine < 0 || frameLine < 0) {
        return true;
    }
    SpriteDescriptor sprite = *descriptor;
    if (*tiles != 0) {
        if (!InsideImage(*project, *tiles, kLzHeadSize, "tile block", prompts)) {
            return false;
        }
        sprite.graphicsAddress = *tiles;
    }
    auto drawn = sprite.RenderFrame(*project, 0, 0, static_cast<std::uint32_t>(animationLine),
                                    static_cast<std::uint32_t>(frameLine), spriteView);
    if (drawn.sheet) {
        sheetView = std::move(*drawn.sheet);
        SelectTile(tileX, tileY);
    }
    return true;
}

bool SpritesPageModel::AnimationSelChange(const ProjectContext* project, Prompts& prompts) {
    frameLine = frameLines.empty() ? -1 : 0;
    return DrawFrame(project, prompts);
}

bool SpritesPageModel::NextFrame(const ProjectContext* project, Prompts& prompts) {
    // Right after "Load" nothing is chosen yet: the animation plays the listed frames, those
    // of animation 0, from the first.
    if (animationLine < 0 && !animationLines.empty() && !frameLines.empty()) {
        animationLine = 0;
        frameLine = 0;
        return DrawFrame(project, prompts);
    }
    if (animationLine < 0 || frameLine < 0 || frameLines.empty()) {
        return true;
    }
    frameLine = (frameLine + 1) % static_cast<int>(frameLines.size());
    return DrawFrame(project, prompts);
}

void SpritesPageModel::SelectTile(int x, int y) {
    const int rows = sheetView.Height() / 8;
    tileX = std::clamp(x, 0, kSheetColumns - 1);
    tileY = std::clamp(y, 0, std::max(rows - 1, 0));
    tileView.Fill(kSpriteViewBackground);
    tileView.StretchCopy(sheetView.Source(), 0, 0, tileView.Width(), tileView.Height(), 8 * tileX,
                         8 * tileY, 8, 8, false, false);
}

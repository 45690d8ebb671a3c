// Loading sprites from arbitrary sprite-information records and drawing their frames.
//
// Input: two record addresses (u24 each), an animation, a frame, the origin (x, y as signed
// bytes, times 4), then an image description. The second sprite is loaded after the first,
// so a record that names only a palette borrows the first one's graphics. Then the "Sprites"
// page lists the first record's animations and frames and steps through the chosen animation.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editors/SpritesPageModel.h"
#include "fuzz/FuzzImage.h"
#include "fuzz/NullPrompts.h"
#include "maps/SpriteDescriptor.h"
#include "platform/Canvas.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::size_t kPrefix = 10;
constexpr int kView = 512;

std::uint32_t U24(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    static Canvas view(kView, kView);
    if (size <= kPrefix) {
        return 0;
    }
    const std::uint32_t first = U24(data);
    const std::uint32_t second = U24(data + 3);
    const std::uint32_t animation = data[6];
    const std::uint32_t frame = data[7];
    const int x = static_cast<std::int8_t>(data[8]) * 4;
    const int y = static_cast<std::int8_t>(data[9]) * 4;
    std::vector<std::uint8_t>* image = pool.Build({data + kPrefix, size - kPrefix});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);
    view.Fill(0);

    SpriteDescriptor a;
    a.Load(project, first);
    a.RenderFrame(project, x, y, animation, frame, view);
    SpriteDescriptor b;
    b.Load(project, second);
    b.RenderFrame(project, x, y, animation, frame, view);
    // The first keeps its own graphics after the second was loaded.
    a.RenderFrame(project, -x, -y, 0, 0, view);

    if (const auto anim = SpriteDescriptor::ReadAnimationData(project, first)) {
        SpriteAnimationLines(*anim);
        SpriteFrameLines(*anim, animation);
    }
    NullPrompts prompts;
    SpritesPageModel page;
    page.infoText = std::to_string(first);
    page.tilesText = std::to_string(data[8] & 1 ? second : 0);
    page.Load(&project, prompts);
    if (!page.animationLines.empty()) {
        page.animationLine = static_cast<int>(animation % page.animationLines.size());
        page.AnimationSelChange(&project, prompts);
    }
    if (!page.frameLines.empty()) {
        page.frameLine = static_cast<int>(frame % page.frameLines.size());
        page.FrameSelChange(&project, prompts);
        page.NextFrame(&project, prompts);
    }
    page.SheetClick(x, y);
    return 0;
}

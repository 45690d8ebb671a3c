// The "Title Screen" page on an image whose title data comes from the fuzzer: "Load" draws the
// logo, the strip, the tile set and the three tile blocks, then a block is chosen, one of its
// pieces highlighted, retiled by a tile-set click and moved by a screen click, each redrawing
// the screen.
//
// Input: block line, piece line, options (bit 0: "32x32"), the tile-set click (x, y), the
// screen click (x, y), then an image description.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "editors/TitleScreen.h"
#include "editors/TitleScreenPageModel.h"
#include "fuzz/FuzzImage.h"
#include "fuzz/NullPrompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::size_t kPrefix = 7;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzImagePool pool;
    if (size <= kPrefix) {
        return 0;
    }
    std::vector<std::uint8_t>* image = pool.Build({data + kPrefix, size - kPrefix});
    if (image == nullptr) {
        return 0;
    }
    ProjectContext project;
    LentImage lent(project, *image);

    TitleScreenPageModel model;
    NullPrompts prompts;
    model.Load(&project, prompts);
    model.layoutLine = data[0] % 4;
    model.LayoutSelChange(&project);
    model.tileLine = data[1] < model.tileLines.size() ? data[1] : -1;
    model.TileSelChange(&project);
    model.large = (data[2] & 1) != 0;

    // The clicks write into the piece's own bytes; the pool's image gets them back afterwards.
    const std::size_t block = model.layoutLine == 1 || model.layoutLine == 2 ? model.layoutLine : 0;
    const std::uint32_t at = TitleBlockOffset(project, block) + 1 + 7 * data[1];
    std::array<std::uint8_t, kTitlePieceBytes> kept{};
    for (std::size_t i = 0; i < kept.size(); ++i) {
        kept[i] = project.Read8(at + static_cast<std::uint32_t>(i));
    }
    model.TileSetClick(&project, data[3], data[4]);
    model.ScreenClick(&project, data[5], data[6]);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        project.Write8(at + static_cast<std::uint32_t>(i), kept[i]);
    }
    return 0;
}

#include "maps/LayerBitmap.h"

#include <cstdio>

#include "platform/Canvas.h"

std::int32_t ExportLayerBitmap(const std::vector<LayerImage>& layerImages, bool fillFromLayer1,
                               std::uint32_t mapId) {
    if (layerImages.empty()) {
        return 0;
    }
    const LayerImage& base = layerImages[0];
    const std::size_t count = std::size_t{base.width} * base.height;
    if (count == 0 || base.pixels.size() < count) {
        return 0;
    }
    // The layer is encoded as it stands unless layer 1 fills its holes: a map's picture is
    // megabytes, and every load writes one.
    const LayerImage* upper = fillFromLayer1 && layerImages.size() >= 2 ? &layerImages[1] : nullptr;
    if (upper != nullptr && (upper->width != base.width || upper->height != base.height ||
                             upper->pixels.size() < count)) {
        upper = nullptr;
    }
    std::vector<std::uint32_t> filled;
    if (upper != nullptr) {
        filled.assign(base.pixels.begin(), base.pixels.begin() + count);
        for (std::size_t i = 0; i < count; ++i) {
            if (filled[i] == 0) {
                filled[i] = upper->pixels[i];
            }
        }
    }
    char name[32];
    std::snprintf(name, sizeof name, "map_%04X.bmp", mapId);
    if (!WriteBmp32File(name, upper != nullptr ? filled.data() : base.pixels.data(), base.width,
                        base.height)) {
        return 0;
    }
    return static_cast<std::int32_t>(count * 4);
}

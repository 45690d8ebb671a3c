#pragma once

#include <cstdint>
#include <vector>

#include "maps/LayerImage.h"

// Writes layer image 0 as "map_%04X.bmp" in the working folder. With fillFromLayer1, a pixel
// of 0 in layer 0 shows layer 1's pixel when both layers have the same size. Returns the number
// of pixel bytes written, 0 when nothing was written.
std::int32_t ExportLayerBitmap(const std::vector<LayerImage>& layerImages, bool fillFromLayer1,
                               std::uint32_t mapId);

#include "fuzz/FuzzImage.h"

#include <algorithm>

#include "project/ProjectContext.h"
#include "project/RomImport.h"

namespace {

constexpr std::uint32_t kSizes[] = {0x100000, 0x400000, 0x600000};
// Title letters of the known releases and one unknown: D, P, S, M, F, J (with 0xFFC7 'J'), x.
constexpr std::uint8_t kLetters[] = {'D', 'P', 'S', 'M', 'F', 'J', 'x'};
// The internal-header bytes that the selector sets: 0xFFC7 to 0xFFDB.
constexpr std::size_t kHeaderFirst = 0xFFC7;
constexpr std::size_t kHeaderLength = 0xFFDB + 1 - kHeaderFirst;

}  // namespace

std::vector<std::uint8_t>* FuzzImagePool::Build(std::span<const std::uint8_t> input) {
    if (input.empty()) {
        return nullptr;
    }
    const std::uint8_t selector = input[0];
    const std::size_t sizeCode = (selector & 3) % 3;
    const std::uint32_t size = kSizes[sizeCode];
    Slot& slot = slots_[sizeCode];
    if (slot.bytes.size() != lead_ + size) {
        slot.bytes.assign(lead_ + size, 0);
    } else {
        for (const auto& [offset, length] : slot.patched) {
            std::fill_n(slot.bytes.begin() + static_cast<std::ptrdiff_t>(offset), length, 0);
        }
    }
    slot.patched.clear();

    const std::span<std::uint8_t> image = std::span(slot.bytes).subspan(lead_);
    image[0xFFCB] = kLetters[(selector >> 2) % 7];
    image[0xFFC7] = 'J';
    image[0xFFDB] = (selector >> 5) & 1;
    slot.patched.emplace_back(lead_ + kHeaderFirst, kHeaderLength);

    std::size_t at = 1;
    while (at + 4 <= input.size()) {
        const std::uint32_t offset =
            (input[at] | input[at + 1] << 8 | static_cast<std::uint32_t>(input[at + 2]) << 16) %
            size;
        const std::size_t length = std::min<std::size_t>(input[at + 3], input.size() - at - 4);
        const std::size_t fit = std::min<std::size_t>(length, size - offset);
        std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(at + 4), fit,
                    image.begin() + offset);
        slot.patched.emplace_back(lead_ + offset, fit);
        at += 4 + length;
    }
    return &slot.bytes;
}

namespace {

// What loading an image sets besides its bytes.
void SetImageFields(ProjectContext& project) {
    project.romSize = static_cast<std::uint32_t>(project.romImage.size());
    project.flags = project.romSize == kRomSize6MB ? kProjectFlag6MB : 0;
    project.regionIndex = DetectRegion(project.romImage);
}

}  // namespace

LentImage::LentImage(ProjectContext& project, std::vector<std::uint8_t>& image)
    : project_(project), image_(image) {
    project_.romImage.swap(image_);
    SetImageFields(project_);
}

void CopyImage(ProjectContext& project, std::span<const std::uint8_t> image) {
    project.romImage.assign(image.begin(), image.end());
    SetImageFields(project);
}

LentImage::~LentImage() {
    project_.romImage.swap(image_);
}

namespace {

std::vector<std::uint8_t>& SpareImageBuffer() {
    static std::vector<std::uint8_t> spare;
    return spare;
}

}  // namespace

RecycledImageBuffer::RecycledImageBuffer(ProjectContext& project) : project_(project) {
    project_.romImage.swap(SpareImageBuffer());
}

RecycledImageBuffer::~RecycledImageBuffer() {
    project_.romImage.clear();
    project_.romImage.swap(SpareImageBuffer());
}

std::vector<std::uint8_t> DescribeFuzzImage(std::span<const std::uint8_t> image) {
    std::vector<std::uint8_t> out;
    std::uint8_t sizeCode = 0;
    for (std::uint8_t i = 0; i < 3; ++i) {
        if (image.size() == kSizes[i]) {
            sizeCode = i;
        }
    }
    std::uint8_t letterCode = 6;
    for (std::uint8_t i = 0; i < 7; ++i) {
        if (image.size() > 0xFFCB && image[0xFFCB] == kLetters[i]) {
            letterCode = i;
        }
    }
    const std::uint8_t version = image.size() > 0xFFDB ? image[0xFFDB] & 1 : 0;
    out.push_back(static_cast<std::uint8_t>(sizeCode | letterCode << 2 | version << 5));

    // Every run of non-zero bytes becomes a patch (header letters included; harmless).
    std::size_t i = 0;
    while (i < image.size()) {
        if (image[i] == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < image.size() && end - i < 255 &&
               (image[end] != 0 || (end + 1 < image.size() && image[end + 1] != 0))) {
            ++end;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(i);
        out.push_back(static_cast<std::uint8_t>(offset));
        out.push_back(static_cast<std::uint8_t>(offset >> 8));
        out.push_back(static_cast<std::uint8_t>(offset >> 16));
        out.push_back(static_cast<std::uint8_t>(end - i));
        out.insert(out.end(), image.begin() + i, image.begin() + end);
        i = end;
    }
    return out;
}

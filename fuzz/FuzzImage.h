#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

class ProjectContext;

// Fuzz inputs that describe a ROM image instead of spelling out megabytes: a selector byte
// (image size and release), then patches of (u24 offset, u8 length, bytes) applied to a blank
// image of that release. Seeds are made from the synthetic image builder the tests use, so the
// fuzzer starts from images with real structures in them.

// Builds the images that inputs describe into buffers kept from run to run, one per image
// size, behind `lead` bytes that the caller fills (a project file's header). A build first
// zeroes what the previous build of that size patched, so a run costs what its patches
// write, not megabytes.
class FuzzImagePool {
public:
    explicit FuzzImagePool(std::size_t lead = 0) : lead_(lead) {}

    // The lead bytes and the image `input` describes; nothing for an empty input. The buffer
    // stays the pool's and is valid until the next Build; callers may swap it out for the
    // length of a run, as long as it comes back with the same size.
    std::vector<std::uint8_t>* Build(std::span<const std::uint8_t> input);

private:
    struct Slot {
        std::vector<std::uint8_t> bytes;
        std::vector<std::pair<std::size_t, std::size_t>> patched;  // offset, length
    };

    std::size_t lead_;
    std::array<Slot, 3> slots_;
};

// Gives a project the pool's image for one run, without copying, and takes it back. The
// project's region and size are set as a loaded image would set them; its lists stay empty.
class LentImage {
public:
    LentImage(ProjectContext& project, std::vector<std::uint8_t>& image);
    ~LentImage();
    LentImage(const LentImage&) = delete;
    LentImage& operator=(const LentImage&) = delete;

private:
    ProjectContext& project_;
    std::vector<std::uint8_t>& image_;
};

// Copies the pool's image into a project whose code under test writes into it, and sets its
// region and size as LentImage does.
void CopyImage(ProjectContext& project, std::span<const std::uint8_t> image);

// Gives a fresh project, for one run, an empty image buffer whose capacity is kept from run to
// run, so that code which copies an image into the project writes into memory already mapped
// instead of fresh megabytes each run.
class RecycledImageBuffer {
public:
    explicit RecycledImageBuffer(ProjectContext& project);
    ~RecycledImageBuffer();
    RecycledImageBuffer(const RecycledImageBuffer&) = delete;
    RecycledImageBuffer& operator=(const RecycledImageBuffer&) = delete;

private:
    ProjectContext& project_;
};

// The input that describes `image` (of a size the selector can express), for seeds.
std::vector<std::uint8_t> DescribeFuzzImage(std::span<const std::uint8_t> image);

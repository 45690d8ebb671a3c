#include "tests/support/SyntheticImage.h"

#include <fstream>
#include <stdexcept>

SyntheticImage::SyntheticImage(std::uint32_t size, Region region) : bytes_(size, 0) {
    SetRegion(region);
}

std::uint32_t SyntheticImage::RegionIndex(Region region) {
    return static_cast<std::uint32_t>(region);
}

void SyntheticImage::SetRegion(Region region) {
    // 0xFFC7 and 0xFFCB are letters of the game title, 0xFFDB the header's version.
    std::uint8_t titleC7 = 'T';
    std::uint8_t titleCB = 'E';
    std::uint8_t version = 0;
    switch (region) {
        case Region::Japanese:
            titleC7 = 'J';
            titleCB = 'A';
            break;
        case Region::German:
            titleCB = 'D';
            break;
        case Region::UK:
            titleCB = 'P';
            break;
        case Region::Spanish:
            titleCB = 'S';
            break;
        case Region::GermanV1:
            titleCB = 'D';
            version = 1;
            break;
        case Region::ReleaseM:
            titleCB = 'M';
            break;
        case Region::ReleaseF:
            titleCB = 'F';
            break;
        case Region::Unknown:
            break;
    }
    Put8(0xFFC7, titleC7);
    Put8(0xFFCB, titleCB);
    Put8(0xFFDB, version);
}

void SyntheticImage::Put8(std::uint32_t offset, std::uint32_t value) {
    bytes_.at(offset) = static_cast<std::uint8_t>(value);
}

void SyntheticImage::Put16(std::uint32_t offset, std::uint32_t value) {
    Put8(offset, value);
    Put8(offset + 1, value >> 8);
}

void SyntheticImage::Put24(std::uint32_t offset, std::uint32_t value) {
    Put16(offset, value);
    Put8(offset + 2, value >> 16);
}

void SyntheticImage::PutBytes(std::uint32_t offset, std::span<const std::uint8_t> data) {
    if (offset + data.size() > bytes_.size()) {
        throw std::out_of_range("SyntheticImage::PutBytes past the image end");
    }
    std::copy(data.begin(), data.end(), bytes_.begin() + offset);
}

std::uint32_t SyntheticImage::PutLzStream(std::uint32_t offset, std::uint32_t rawSize,
                                          std::span<const std::uint8_t> stream, std::uint8_t head) {
    Put8(offset, head);
    Put16(offset + 1, rawSize);
    PutBytes(offset + 3, stream);
    return static_cast<std::uint32_t>(3 + stream.size());
}

std::uint32_t SyntheticImage::PutLzBlock(std::uint32_t offset, std::span<const std::uint8_t> raw,
                                         std::uint8_t head) {
    const auto stream = LiteralLzStream(raw);
    return PutLzStream(offset, static_cast<std::uint32_t>(raw.size()), stream, head);
}

std::vector<std::uint8_t> SyntheticImage::LiteralLzStream(std::span<const std::uint8_t> raw) {
    if (raw.empty()) {
        throw std::invalid_argument("an LZ stream holds at least one byte");
    }
    // Flag bits: one 1 per literal after the first byte, then 0 1 for the end marker. A flag
    // byte goes in where its first bit is needed, ahead of that unit's data byte.
    std::vector<std::uint8_t> out{raw[0]};
    std::size_t flagAt = 0;
    std::size_t bitsUsed = 8;
    auto flag = [&](bool set) {
        if (bitsUsed == 8) {
            flagAt = out.size();
            out.push_back(0);
            bitsUsed = 0;
        }
        if (set) {
            out[flagAt] |= static_cast<std::uint8_t>(0x80 >> bitsUsed);
        }
        ++bitsUsed;
    };
    for (std::size_t k = 1; k < raw.size(); ++k) {
        flag(true);
        out.push_back(raw[k]);
    }
    flag(false);
    flag(true);
    out.insert(out.end(), {0, 0, 0});
    return out;
}

std::vector<std::uint8_t> SyntheticImage::FileBytes(bool copierHeader) const {
    std::vector<std::uint8_t> out;
    out.reserve(bytes_.size() + 512);
    if (copierHeader) {
        out.assign(512, 0xAA);
    }
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    return out;
}

std::filesystem::path SyntheticImage::WriteFile(const std::filesystem::path& path,
                                                bool copierHeader) const {
    const auto data = FileBytes(copierHeader);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path;
}

std::filesystem::path WriteZeroFile(const std::filesystem::path& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::filesystem::resize_file(path, size);
    return path;
}

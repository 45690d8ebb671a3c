#include "tests/support/HeaderScriptWriter.h"

#include "tests/support/SyntheticImage.h"

namespace {

// The three pointer bytes (as a 24-bit value) that, stored at pointerPos, resolve to the image
// offset target. Bit 15 of a resolved pointer is set below bank 0xC0, so the lower half of a
// bank is reached through its mirror at bank + 0xC0, which the address rule folds back.
std::uint32_t EncodeScriptPointer(std::uint32_t pointerPos, std::uint32_t target) {
    std::uint32_t bank = target >> 16;
    if ((target & 0x8000) == 0) {
        bank += 0xC0;
    }
    const std::uint32_t base = (pointerPos + 3) >> 16;
    const std::uint32_t delta = (bank - base) & 0xFF;
    return delta << 15 | (target & 0x7FFF);
}

}  // namespace

HeaderScriptWriter::HeaderScriptWriter(SyntheticImage& image, std::uint32_t start)
    : image_(image), position_(start) {}

HeaderScriptWriter& HeaderScriptWriter::Byte(std::uint32_t value) {
    image_.Put8(image_.Wrap(position_++), value);
    return *this;
}

HeaderScriptWriter& HeaderScriptWriter::Word(std::uint32_t value) {
    Byte(value);
    return Byte(value >> 8);
}

HeaderScriptWriter& HeaderScriptWriter::Pointer(std::uint32_t target) {
    const std::uint32_t value = EncodeScriptPointer(position_, target);
    Byte(value);
    Byte(value >> 8);
    return Byte(value >> 16);
}

HeaderScriptWriter& HeaderScriptWriter::End() {
    return Byte(0x00);
}

HeaderScriptWriter& HeaderScriptWriter::Ignored01() {
    Byte(0x01);
    for (int i = 0; i < 6; ++i) {
        Byte(0x11 * (i + 1));
    }
    return *this;
}

HeaderScriptWriter& HeaderScriptWriter::Music(std::uint8_t track, std::uint32_t target) {
    return Byte(0x02).Byte(0xEE).Byte(track).Pointer(target);
}

HeaderScriptWriter& HeaderScriptWriter::Unused04(std::uint32_t target) {
    return Byte(0x04).Pointer(target).Byte(0xEE).Byte(0xEE);
}

HeaderScriptWriter& HeaderScriptWriter::Layer(std::uint8_t n, std::uint32_t target) {
    Byte(0x10).Byte(n);
    return n > 2 ? *this : Pointer(target);
}

HeaderScriptWriter& HeaderScriptWriter::Metatiles(std::uint8_t a, std::uint8_t b, std::uint8_t c,
                                                  std::uint8_t d, std::uint32_t target) {
    return Byte(0x20).Byte(a).Byte(b).Byte(c).Byte(d).Pointer(target);
}

HeaderScriptWriter& HeaderScriptWriter::Palette(std::uint8_t count, std::uint8_t first,
                                                std::uint32_t target) {
    return Byte(0x40).Byte(0xEE).Byte(count).Byte(first).Pointer(target);
}

HeaderScriptWriter& HeaderScriptWriter::Tiles(std::uint8_t y, std::uint8_t type,
                                              std::uint32_t target, std::uint8_t placement) {
    return Byte(0x80).Byte(0xEE).Byte(y).Byte(type).Pointer(target).Byte(placement).Byte(0xEE);
}

HeaderScriptWriter& HeaderScriptWriter::FlowWithPiece(std::uint8_t sub, std::uint16_t piece) {
    return Byte(0x08).Byte(sub).Word(piece);
}

HeaderScriptWriter& HeaderScriptWriter::Return() {
    return Flow(0xF8);
}
HeaderScriptWriter& HeaderScriptWriter::Call(std::uint16_t piece) {
    return FlowWithPiece(0xF9, piece);
}
HeaderScriptWriter& HeaderScriptWriter::Defer(std::uint16_t piece) {
    return FlowWithPiece(0xFA, piece);
}
HeaderScriptWriter& HeaderScriptWriter::Flow(std::uint8_t sub) {
    return Byte(0x08).Byte(sub);
}
HeaderScriptWriter& HeaderScriptWriter::MusicTrack(std::uint16_t track) {
    return FlowWithPiece(0xFC, track);
}
HeaderScriptWriter& HeaderScriptWriter::FlagGoto(std::uint16_t flag, std::uint16_t piece) {
    return Byte(0x08).Byte(0xFD).Word(flag).Word(piece);
}
HeaderScriptWriter& HeaderScriptWriter::ReturnOrGoto(std::uint16_t piece) {
    return FlowWithPiece(0xFE, piece);
}
HeaderScriptWriter& HeaderScriptWriter::GotoUnlessCalled(std::uint16_t piece) {
    return FlowWithPiece(0xFF, piece);
}

HeaderScriptWriter& HeaderScriptWriter::Bytes(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) {
        Byte(b);
    }
    return *this;
}

#pragma once

#include <cstdint>
#include <span>

class SyntheticImage;

// Writes a map header script into a synthetic image, one command per call, from a start
// offset onward (or a game address, whose bytes land where the address rule puts them).
// Pointer operands name their targets as image offsets and are stored in the bank-relative
// form that the map loader resolves from the pointer's own position.
class HeaderScriptWriter {
public:
    HeaderScriptWriter(SyntheticImage& image, std::uint32_t start);

    std::uint32_t Position() const { return position_; }

    HeaderScriptWriter& End();        // 00
    HeaderScriptWriter& Ignored01();  // 01 and six bytes
    HeaderScriptWriter& Music(std::uint8_t track, std::uint32_t target = 0x8000);  // 02
    HeaderScriptWriter& Unused04(std::uint32_t target);                            // 04
    // 10 n and the pointer; for n > 2 only the two bytes 10 n.
    HeaderScriptWriter& Layer(std::uint8_t n, std::uint32_t target);
    HeaderScriptWriter& Metatiles(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d,
                                  std::uint32_t target);  // 20
    HeaderScriptWriter& Palette(std::uint8_t count, std::uint8_t first,
                                std::uint32_t target);  // 40
    HeaderScriptWriter& Tiles(std::uint8_t y, std::uint8_t type, std::uint32_t target,
                              std::uint8_t placement);  // 80

    HeaderScriptWriter& Return();                                           // 08 F8
    HeaderScriptWriter& Call(std::uint16_t piece);                          // 08 F9
    HeaderScriptWriter& Defer(std::uint16_t piece);                         // 08 FA
    HeaderScriptWriter& Flow(std::uint8_t sub);                             // 08 sub, two bytes
    HeaderScriptWriter& MusicTrack(std::uint16_t track);                    // 08 FC
    HeaderScriptWriter& FlagGoto(std::uint16_t flag, std::uint16_t piece);  // 08 FD
    HeaderScriptWriter& ReturnOrGoto(std::uint16_t piece);                  // 08 FE
    HeaderScriptWriter& GotoUnlessCalled(std::uint16_t piece);              // 08 FF
    HeaderScriptWriter& Bytes(std::span<const std::uint8_t> bytes);

private:
    HeaderScriptWriter& Byte(std::uint32_t value);
    HeaderScriptWriter& Word(std::uint32_t value);
    HeaderScriptWriter& Pointer(std::uint32_t target);
    HeaderScriptWriter& FlowWithPiece(std::uint8_t sub, std::uint16_t piece);

    SyntheticImage& image_;
    std::uint32_t position_;
};

#pragma once

#include <cstdint>
#include <vector>

class ProjectContext;

// One destination of an exit that is chosen by an event flag; 10 bytes, in the image only.
// An exit whose dstMapId has bit 15 set finds its list at image offset 0x10000 | dstMapId.
struct ConditionalDestination {
    std::uint32_t offset = 0;     // image offset of the record
    std::uint16_t condition = 0;  // EventFlagCode: flag number from bit 3, bit number in bits 0-2
    std::uint16_t dstMapId = 0;
    std::uint8_t transEffect = 0;
    std::uint8_t direction = 0;
    std::uint16_t dstX = 0;
    std::uint16_t dstY = 0;
};

inline constexpr std::uint32_t kConditionalDestinationBank = 0x10000;
inline constexpr std::uint32_t kConditionalDestinationSize = 10;
inline constexpr std::uint16_t kConditionalDestinationFlag = 0x8000;

// The destinations that an exit's dstMapId locates, in order; empty unless bit 15 is set.
// The list ends after a record whose condition is 0 or before one whose condition is 0xFFFF
// (record 0 always belongs to it), and never runs past bank 0x01 or the image end.
std::vector<ConditionalDestination> ReadConditionalDestinations(const ProjectContext& project,
                                                                std::uint16_t dstMapId);

// Writes the record in place at its offset. False when it does not lie inside bank 0x01.
bool WriteConditionalDestination(ProjectContext& project, const ConditionalDestination& record);

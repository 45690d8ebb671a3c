#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One command of a map's object list, with its operand bytes as they stand in the image.
struct SpritePlacementEntry {
    std::uint32_t code = 0;
    std::uint32_t length = 0;  // number of operand bytes
    std::vector<std::uint8_t> data;
    // Where the image holds this command now (its code byte), so that an in-place change of the
    // image (the object editor's) reaches the entry too; 0 while the image does not hold it.
    std::uint32_t imageOffset = 0;
    // For a 0xFA command, its link word as the image held it when the list was read: data
    // keeps the link in a form of its own (see kObjectLinkOutside), this is what to show.
    std::uint16_t imageLink = 0;
    // For a 0xFA command, the commands of its nested list, its ending 0xFF included.
    std::vector<std::unique_ptr<SpritePlacementEntry>> children;
    // For a 0xFA command read from the image, the image offset of its nested list; 0 otherwise.
    std::uint32_t childrenSource = 0;
};

// A map's object list as the project keeps it.
struct SpritePlacementList {
    std::uint32_t selector = 0;  // 0: bank A, 1: bank B
    std::uint16_t headWord = 0;
    // The image offset of the head word when the list was read from the image; 0 otherwise.
    // Lists read from one place are written as one again, while they stay alike.
    std::uint32_t source = 0;
    std::vector<std::unique_ptr<SpritePlacementEntry>> entries;  // ending 0xFF included
};

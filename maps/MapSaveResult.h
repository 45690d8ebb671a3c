#pragma once

#include <string>
#include <utility>

// What a save into the ROM image did, for the page that started it.
struct MapSaveResult {
    bool saved = true;
    // Why nothing was written; empty when the save went through.
    std::string message;

    static MapSaveResult Refused(std::string text) { return {false, std::move(text)}; }
};

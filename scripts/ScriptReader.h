#pragma once

#include <cstdint>

#include "scripts/TextDecoder.h"

class ProjectContext;

// The reader of one disassembly: the image it reads and where it stands. After a walk,
// `position` lies just behind the last byte decoded.
class ScriptReader {
public:
    explicit ScriptReader(const ProjectContext& project) : project(project), decoder(project) {}

    const ProjectContext& project;
    std::uint32_t position = 0;
    // Decodes the texts that script commands print.
    TextDecoder decoder;
};

#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "project/NumberText.h"
#include "project/ProjectContext.h"

// What the floating editors share: numbers shown in their edit fields, and the record that the
// last fill picked.

// One number in the given printf form ("%u", "0x%03X", ...).
inline std::string FieldText(const char* format, std::uint32_t value) {
    char text[24];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    return text;
}

// A chest, a shopkeeper or an object is picked on its own cell and the cells next to it: a cell
// is near `start` when it is `start` or `start` + 1.
inline bool CellNear(std::uint32_t start, std::uint32_t cell) {
    return cell >= start && cell - start <= 1;
}

// Remembers which project a fill picked its record in, so that the record is never written
// into another project, nor after it has been dropped.
class EditorSelection {
public:
    void Select(const ProjectContext& project) { serial_ = project.serial; }
    void Clear() { serial_ = 0; }
    bool ValidFor(const ProjectContext* project) const {
        return project != nullptr && serial_ != 0 && project->serial == serial_;
    }

private:
    std::uint64_t serial_ = 0;
};

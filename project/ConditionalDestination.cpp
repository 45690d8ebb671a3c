#include "project/ConditionalDestination.h"

#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kBankEnd = kConditionalDestinationBank + 0x10000;

bool FitsInBank(const ProjectContext& project, std::uint32_t offset) {
    return offset >= kConditionalDestinationBank &&
           offset + kConditionalDestinationSize <= kBankEnd &&
           InRange(project.romImage.size(), offset, kConditionalDestinationSize);
}

}  // namespace

std::vector<ConditionalDestination> ReadConditionalDestinations(const ProjectContext& project,
                                                                std::uint16_t dstMapId) {
    std::vector<ConditionalDestination> list;
    if ((dstMapId & kConditionalDestinationFlag) == 0) {
        return list;
    }
    for (std::uint32_t at = kConditionalDestinationBank | dstMapId; FitsInBank(project, at);
         at += kConditionalDestinationSize) {
        ConditionalDestination r;
        r.offset = at;
        r.condition = project.Read16(at);
        if (r.condition == 0xFFFF && !list.empty()) {
            break;
        }
        r.dstMapId = project.Read16(at + 2);
        r.transEffect = project.Read8(at + 4);
        r.direction = project.Read8(at + 5);
        r.dstX = project.Read16(at + 6);
        r.dstY = project.Read16(at + 8);
        list.push_back(r);
        if (r.condition == 0) {
            break;
        }
    }
    return list;
}

bool WriteConditionalDestination(ProjectContext& project, const ConditionalDestination& record) {
    if (!FitsInBank(project, record.offset)) {
        return false;
    }
    project.Write16(record.offset, record.condition);
    project.Write16(record.offset + 2, record.dstMapId);
    project.Write8(record.offset + 4, record.transEffect);
    project.Write8(record.offset + 5, record.direction);
    project.Write16(record.offset + 6, record.dstX);
    project.Write16(record.offset + 8, record.dstY);
    return true;
}

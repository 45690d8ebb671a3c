#include "project/ExitLists.h"

#include "project/ProjectContext.h"

void LoadExitLists(ProjectContext& project) {
    project.exitLists.assign(kMapCount, {});
    project.worldMapExits.assign(kWorldMapExitCount, {});
}

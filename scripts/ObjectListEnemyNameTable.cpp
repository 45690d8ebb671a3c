#include "scripts/EnemyNameTable.h"
#include "scripts/MapListings.h"

static_assert(kObjectListEnemyCount == kEnemyNameCount);

const std::array<std::string, kObjectListEnemyCount>& ObjectListEnemyNameTable() {
    static const std::array<std::string, kObjectListEnemyCount> names = [] {
        std::array<std::string, kObjectListEnemyCount> table = EnemyNameTable;
        table[32] = "Spikey";
        return table;
    }();
    return names;
}

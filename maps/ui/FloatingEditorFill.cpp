#include "maps/ui/FloatingEditorFill.h"

#include "maps/ui/ChestEditFloat.h"
#include "maps/ui/ExitEditFloat.h"
#include "maps/ui/ObjectEditFloat.h"
#include "maps/ui/ShopEditFloat.h"

void FillFloatingEditors(const OpenFloatingEditors& editors, std::uint32_t mapId,
                         std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex) {
    if (editors.chest != nullptr) {
        editors.chest->FillAt(mapId, column, row);
    }
    if (editors.shop != nullptr) {
        editors.shop->FillAt(mapId, column, row);
    }
    if (editors.object != nullptr) {
        editors.object->FillAt(mapId, column, row);
    }
    if (editors.exit != nullptr) {
        editors.exit->FillAt(mapId, column, row, exitIndex);
    }
}

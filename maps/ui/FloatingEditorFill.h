#pragma once

#include <cstdint>

class ChestEditFloat;
class ExitEditFloat;
class ObjectEditFloat;
class ShopEditFloat;

// The floating editors that a map page fills; null for one that is closed or that the page
// does not fill.
struct OpenFloatingEditors {
    ChestEditFloat* chest = nullptr;
    ShopEditFloat* shop = nullptr;
    ObjectEditFloat* object = nullptr;
    ExitEditFloat* exit = nullptr;
};

// The Ctrl+right-click of both map pages: every open editor shows what lies on the map cell,
// in the order chest, shop, object, exit. The found exit's index goes to `exitIndex`.
void FillFloatingEditors(const OpenFloatingEditors& editors, std::uint32_t mapId,
                         std::uint32_t column, std::uint32_t row, std::uint32_t& exitIndex);

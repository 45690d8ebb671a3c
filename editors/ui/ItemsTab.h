#pragma once

#include <QWidget>

class ItemsArmorTab;
class ItemsAttributeTab;
class ItemsItemsTab;
class ItemsRingsTab;
class ItemsWeaponsTab;
class Prompts;
class QTabWidget;

// The "Items" page: the item list and the armour, weapon, ring and stat-change editors behind
// a tab strip of its own.
class ItemsTab : public QWidget {
    Q_OBJECT
public:
    explicit ItemsTab(Prompts& prompts, QWidget* parent = nullptr);

    // After File > New or File > Open: refills the armour, weapon, ring and item lists, in this
    // order, and says once which of them lie outside the image. The stat-change grid is emptied;
    // it reads the image when its "Load" is pressed.
    void RefreshAll();

private:
    Prompts& prompts_;
    ItemsArmorTab* armor_ = nullptr;
    ItemsWeaponsTab* weapons_ = nullptr;
    ItemsItemsTab* items_ = nullptr;
    ItemsRingsTab* rings_ = nullptr;
    ItemsAttributeTab* attributes_ = nullptr;
    QTabWidget* tabs_ = nullptr;
};

#pragma once

#include <array>
#include <memory>

#include <QMainWindow>
#include <QPointer>

class ChestEditFloat;
class ExitEditFloat;
class EnemiesTab;
class ExpTab;
class ItemsTab;
class MapTab;
class ObjectEditFloat;
class ShopEditFloat;
class WorldMapTab;
class PractTab;
class Prompts;
class QTabWidget;
class RandomTab;
class ScriptsTab;
class SpritePlaceEditorTab;
class SpritesTab;
class TitleScreenTab;
class QAction;

// The main window: the menu of project commands and the tab strip with the editor pages.
// The strip stays hidden until a project exists.
class CQuenmarkDlg : public QMainWindow {
    Q_OBJECT
public:
    explicit CQuenmarkDlg(Prompts& prompts, QWidget* parent = nullptr);
    ~CQuenmarkDlg() override;

    // The window's starting size on a screen with this available room.
    static QSize SizeFor(QSize available);

    QTabWidget* TabStrip() const { return tabs_; }
    // The menu entry with this object name ("fileNew", "romSaveAs", ...), for tests and wiring.
    QAction* Action(const QString& name) const;
    MapTab* MapsPage() const { return mapTab_; }
    WorldMapTab* WorldMapsPage() const { return worldMapTab_; }
    // The open floating editors; null while closed.
    ExitEditFloat* ExitEditor() const;
    ChestEditFloat* ChestEditor() const;
    ObjectEditFloat* ObjectEditor() const;
    ShopEditFloat* ShopEditor() const;
    EnemiesTab* EnemiesPage() const { return enemiesTab_; }
    ExpTab* ExpPage() const { return expTab_; }
    // The randomizer page: kept, never shown.
    RandomTab* RandomPage() const { return randomTab_.get(); }
    ItemsTab* ItemsPage() const { return itemsTab_; }
    PractTab* PractPage() const { return practTab_.get(); }

    // Menu commands.
    void OnFileNewProject();
    void OnFileOpenProject();
    void OnFileSaveProjectAs();
    void OnRomSaveAs();
    void OnFileExit();
    void OnMapLoad();
    void OnMapSaveAs();
    void OnToolsExitEditor();
    void OnToolsChestEditor();
    void OnToolsObjectEditor();
    void OnToolsShopEditor();
    void OnHelpViewWiki();
    void OnHelpAbout();

protected:
    // Closing the window ends the program, whatever editors are open.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildPages();
    // After File > New or File > Open made a project: show the pages and let them reload.
    void OnProjectReplaced();
    // The open floating editors forget the record of the previous project.
    void TellFloatingEditors();
    // Where the editor of kind `slot` (0 to 3), `size` without its frame, opens: beside this
    // window where the screen has room, else cascaded over the open ones; frame and all inside
    // the screen.
    QPoint FloatingEditorPlace(int slot, QSize size);

    Prompts& prompts_;
    QTabWidget* tabs_ = nullptr;
    ScriptsTab* scriptsTab_ = nullptr;
    MapTab* mapTab_ = nullptr;
    WorldMapTab* worldMapTab_ = nullptr;
    ExpTab* expTab_ = nullptr;
    EnemiesTab* enemiesTab_ = nullptr;
    ItemsTab* itemsTab_ = nullptr;
    SpritesTab* spritesTab_ = nullptr;
    TitleScreenTab* titleScreenTab_ = nullptr;
    QWidget* scriptEditorTab_ = nullptr;
    SpritePlaceEditorTab* spritePlaceEditorTab_ = nullptr;
    // The floating editors, at most one of each kind; each deletes itself when it closes.
    QPointer<ExitEditFloat> exitEditor_;
    QPointer<ChestEditFloat> chestEditor_;
    QPointer<ObjectEditFloat> objectEditor_;
    QPointer<ShopEditFloat> shopEditor_;
    // The cascade place each kind of editor took when it last opened.
    std::array<int, 4> cascadeIndex_{};
    std::unique_ptr<PractTab> practTab_;
    std::unique_ptr<RandomTab> randomTab_;
};

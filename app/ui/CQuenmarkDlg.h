#pragma once

#include <QMainWindow>

class EnemiesTab;
class ExpTab;
class MapTab;
class WorldMapTab;
class Prompts;
class QTabWidget;
class QAction;

// The main window: the menu of project commands and the tab strip with the editor pages.
// The strip stays hidden until a project exists.
class CQuenmarkDlg : public QMainWindow {
    Q_OBJECT
public:
    explicit CQuenmarkDlg(Prompts& prompts, QWidget* parent = nullptr);

    QTabWidget* TabStrip() const { return tabs_; }
    // The menu entry with this object name ("fileNew", "romSaveAs", ...), for tests and wiring.
    QAction* Action(const QString& name) const;
    MapTab* MapsPage() const { return mapTab_; }
    WorldMapTab* WorldMapsPage() const { return worldMapTab_; }
    EnemiesTab* EnemiesPage() const { return enemiesTab_; }
    ExpTab* ExpPage() const { return expTab_; }

    // Menu commands.
    void OnFileNewProject();
    void OnFileOpenProject();
    void OnFileSaveProjectAs();
    void OnRomSaveAs();
    void OnFileExit();
    void OnMapLoad();
    void OnMapSaveAs();
    void OnHelpViewWiki();
    void OnHelpAbout();

private:
    void BuildMenu();
    void BuildPages();
    // After File > New or File > Open made a project: show the pages and let them reload.
    void OnProjectReplaced();

    Prompts& prompts_;
    QTabWidget* tabs_ = nullptr;
    QWidget* scriptsTab_ = nullptr;
    MapTab* mapTab_ = nullptr;
    WorldMapTab* worldMapTab_ = nullptr;
    ExpTab* expTab_ = nullptr;
    EnemiesTab* enemiesTab_ = nullptr;
    QWidget* itemsTab_ = nullptr;
    QWidget* spritesTab_ = nullptr;
    QWidget* titleScreenTab_ = nullptr;
    QWidget* scriptEditorTab_ = nullptr;
    QWidget* spritePlaceEditorTab_ = nullptr;
};

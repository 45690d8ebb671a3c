#include "app/ui/CQuenmarkDlg.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "app/ui/AppInfo.h"
#include "app/ui/CAboutDlg.h"
#include "editors/ui/EnemiesTab.h"
#include "editors/ui/ExpTab.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/Prompts.h"
#include "project/ProjectCommands.h"

namespace {

// A page whose editor is not part of this build yet.
QWidget* MakeEmptyPage(const char* className, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(className);
    return page;
}

}  // namespace

CQuenmarkDlg::CQuenmarkDlg(Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
    setObjectName("CQuenmarkDlg");
    setWindowIcon(QIcon(":/quenmark.png"));
    setWindowTitle(QString::asprintf("Quenmark v%u.%u (Built: %s) Public", kVersionMajor,
                                     kVersionMinor, std::string(kBuildDate).c_str()));
    BuildMenu();
    BuildPages();
    resize(1320, 720);
}

void CQuenmarkDlg::BuildMenu() {
    auto add = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = menuBar()->addMenu("&File");
    add(file, "fileNew", "&New", &CQuenmarkDlg::OnFileNewProject);
    add(file, "fileOpen", "&Open", &CQuenmarkDlg::OnFileOpenProject);
    file->addSeparator();
    QAction* save = file->addAction("&Save");
    save->setObjectName("fileSave");
    save->setEnabled(false);
    add(file, "fileSaveAs", "&Save As ...", &CQuenmarkDlg::OnFileSaveProjectAs);
    file->addSeparator();
    QAction* exit = add(file, "fileExit", "&Exit", &CQuenmarkDlg::OnFileExit);
    exit->setShortcut(QKeySequence("Alt+F4"));

    QMenu* rom = menuBar()->addMenu("&ROM");
    add(rom, "romSaveAs", "&Save As...", &CQuenmarkDlg::OnRomSaveAs);

    QMenu* maps = menuBar()->addMenu("&Maps");
    QMenu* map = maps->addMenu("&Map");
    add(map, "mapLoad", "&Load", &CQuenmarkDlg::OnMapLoad);
    add(map, "mapSaveAs", "&Save As..", &CQuenmarkDlg::OnMapSaveAs);

    // The floating editors are launched from here once they are part of the program.
    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addAction("&Exit Editor...")->setObjectName("toolsExitEditor");
    tools->addAction("&Chest Editor...")->setObjectName("toolsChestEditor");
    tools->addAction("&Object Editor...")->setObjectName("toolsObjectEditor");
    tools->addAction("&Shop Editor...")->setObjectName("toolsShopEditor");

    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "helpViewWiki", "View &Wiki", &CQuenmarkDlg::OnHelpViewWiki);
    help->addSeparator();
    add(help, "helpAbout", "&About Quenmark", &CQuenmarkDlg::OnHelpAbout);
}

void CQuenmarkDlg::BuildPages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabStrip");
    setCentralWidget(tabs_);

    scriptsTab_ = MakeEmptyPage("ScriptsTab", tabs_);
    expTab_ = new ExpTab(prompts_, tabs_);
    mapTab_ = new MapTab(prompts_, tabs_);
    enemiesTab_ = new EnemiesTab(prompts_, tabs_);
    itemsTab_ = MakeEmptyPage("ItemsTab", tabs_);
    spritesTab_ = MakeEmptyPage("SpritesTab", tabs_);
    titleScreenTab_ = MakeEmptyPage("TitleScreenTab", tabs_);
    worldMapTab_ = new WorldMapTab(prompts_, tabs_);
    scriptEditorTab_ = MakeEmptyPage("ScriptEditorTab", tabs_);
    spritePlaceEditorTab_ = MakeEmptyPage("SpritePlaceEditorTab", tabs_);

    tabs_->addTab(scriptsTab_, "Script Viewer");
    tabs_->addTab(mapTab_, "Maps");
    tabs_->addTab(worldMapTab_, "World Maps");
    tabs_->addTab(expTab_, "Experience");
    tabs_->addTab(enemiesTab_, "Enemies");
    tabs_->addTab(itemsTab_, "Items");
    tabs_->addTab(spritesTab_, "Sprites");
    tabs_->addTab(titleScreenTab_, "Title Screen");
    tabs_->addTab(scriptEditorTab_, "Script Editor");
    tabs_->addTab(spritePlaceEditorTab_, "Sprite Placement Editor");
    tabs_->setCurrentIndex(0);
    tabs_->hide();
}

QAction* CQuenmarkDlg::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void CQuenmarkDlg::OnProjectReplaced() {
    tabs_->show();
    // The pages re-read the new image here, in this order: the world-map page resets, the
    // map page unloads its map, then the enemies, experience and items pages refresh.
    worldMapTab_->Reset();
    mapTab_->UnloadMap();
    enemiesTab_->Populate();
    expTab_->LoadTable();
}

void CQuenmarkDlg::OnFileNewProject() {
    if (NewProjectCommand(prompts_)) {
        OnProjectReplaced();
    }
}

void CQuenmarkDlg::OnFileOpenProject() {
    if (OpenProjectCommand(prompts_)) {
        OnProjectReplaced();
    }
}

void CQuenmarkDlg::OnFileSaveProjectAs() {
    SaveProjectAsCommand(prompts_);
}

void CQuenmarkDlg::OnRomSaveAs() {
    SaveRomAsCommand(prompts_);
}

void CQuenmarkDlg::OnFileExit() {
    QApplication::exit(0);
}

// The "Maps" page checks for a project and a map itself.
void CQuenmarkDlg::OnMapLoad() {
    mapTab_->OnImportMapFile();
}

void CQuenmarkDlg::OnMapSaveAs() {
    mapTab_->OnExportMapFile();
}

void CQuenmarkDlg::OnHelpViewWiki() {
    prompts_.OpenUrl(std::string(kWikiUrl));
}

void CQuenmarkDlg::OnHelpAbout() {
    CAboutDlg about(prompts_, this);
    about.exec();
}

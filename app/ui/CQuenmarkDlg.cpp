#include "app/ui/CQuenmarkDlg.h"

#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>

#include "app/ui/AppInfo.h"
#include "app/ui/CAboutDlg.h"
#include "editors/ui/EnemiesTab.h"
#include "editors/ui/ExpTab.h"
#include "editors/ui/ItemsTab.h"
#include "editors/ui/SpritePlaceEditorTab.h"
#include "editors/ui/SpritesTab.h"
#include "editors/ui/TitleScreenTab.h"
#include "maps/FreeAreaSurvey.h"
#include "maps/ui/ChestEditFloat.h"
#include "maps/ui/ExitEditFloat.h"
#include "maps/ui/FloatingEditorFill.h"
#include "maps/ui/MapTab.h"
#include "maps/ui/ObjectEditFloat.h"
#include "maps/ui/ShopEditFloat.h"
#include "maps/ui/WorldMapTab.h"
#include "platform/Prompts.h"
#include "platform/WindowPlacement.h"
#include "project/ProjectCommands.h"
#include "scripts/ui/ScriptEditorTab.h"
#include "scripts/ui/ScriptsTab.h"
#include "tools/ui/PractTab.h"
#include "tools/ui/RandomTab.h"

namespace {

// A page in the tab strip, in a scroll area: a page larger than the window scrolls rather than
// making the window larger than the screen.
QWidget* Scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName() + "Scroll");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

// A second request while the editor is open does nothing. The editor is a window of its own
// owned by `owner`, so that it stays above the main window.
template <typename Editor, typename Place, typename... Args>
void OpenFloatingEditor(QPointer<Editor>& editor, QWidget* owner, const Place& place,
                        Args&... args) {
    if (editor) {
        return;
    }
    editor = new Editor(args..., owner);
    editor->adjustSize();
    editor->move(place(editor->frameGeometry().size()));
    editor->show();
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
    resize(SizeFor(screen()->availableGeometry().size()));
}

QSize CQuenmarkDlg::SizeFor(QSize available) {
    // Room for the largest page where the screen has it, the window frame left room as well;
    // the pages scroll where it has not.
    return QSize(1320, 720).boundedTo(available - QSize(16, 48));
}

CQuenmarkDlg::~CQuenmarkDlg() {
    delete exitEditor_.data();
    delete chestEditor_.data();
    delete objectEditor_.data();
    delete shopEditor_.data();
}

ExitEditFloat* CQuenmarkDlg::ExitEditor() const {
    return exitEditor_;
}

ChestEditFloat* CQuenmarkDlg::ChestEditor() const {
    return chestEditor_;
}

ObjectEditFloat* CQuenmarkDlg::ObjectEditor() const {
    return objectEditor_;
}

ShopEditFloat* CQuenmarkDlg::ShopEditor() const {
    return shopEditor_;
}

void CQuenmarkDlg::closeEvent(QCloseEvent* event) {
    for (QWidget* editor :
         std::initializer_list<QWidget*>{exitEditor_, chestEditor_, objectEditor_, shopEditor_}) {
        if (editor != nullptr) {
            editor->close();
        }
    }
    QMainWindow::closeEvent(event);
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

    QMenu* tools = menuBar()->addMenu("&Tools");
    add(tools, "toolsExitEditor", "&Exit Editor...", &CQuenmarkDlg::OnToolsExitEditor);
    add(tools, "toolsChestEditor", "&Chest Editor...", &CQuenmarkDlg::OnToolsChestEditor);
    add(tools, "toolsObjectEditor", "&Object Editor...", &CQuenmarkDlg::OnToolsObjectEditor);
    add(tools, "toolsShopEditor", "&Shop Editor...", &CQuenmarkDlg::OnToolsShopEditor);

    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "helpViewWiki", "View &Wiki", &CQuenmarkDlg::OnHelpViewWiki);
    help->addSeparator();
    add(help, "helpAbout", "&About Quenmark", &CQuenmarkDlg::OnHelpAbout);
}

void CQuenmarkDlg::BuildPages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabStrip");
    setCentralWidget(tabs_);

    scriptsTab_ = new ScriptsTab(prompts_, tabs_);
    expTab_ = new ExpTab(prompts_, tabs_);
    mapTab_ = new MapTab(prompts_, tabs_);
    enemiesTab_ = new EnemiesTab(prompts_, tabs_);
    itemsTab_ = new ItemsTab(prompts_, tabs_);
    spritesTab_ = new SpritesTab(prompts_, tabs_);
    titleScreenTab_ = new TitleScreenTab(prompts_, tabs_);
    worldMapTab_ = new WorldMapTab(prompts_, tabs_);
    scriptEditorTab_ = new ScriptEditorTab(prompts_, tabs_);
    spritePlaceEditorTab_ = new SpritePlaceEditorTab(prompts_, tabs_);
    // Kept without a window of its own and never shown.
    practTab_ = std::make_unique<PractTab>(prompts_);
    // Kept without a window of its own and never shown.
    randomTab_ = std::make_unique<RandomTab>(prompts_);

    tabs_->addTab(Scrolled(scriptsTab_), "Script Viewer");
    tabs_->addTab(Scrolled(mapTab_), "Maps");
    tabs_->addTab(Scrolled(worldMapTab_), "World Maps");
    tabs_->addTab(Scrolled(expTab_), "Experience");
    tabs_->addTab(Scrolled(enemiesTab_), "Enemies");
    tabs_->addTab(Scrolled(itemsTab_), "Items");
    tabs_->addTab(Scrolled(spritesTab_), "Sprites");
    tabs_->addTab(Scrolled(titleScreenTab_), "Title Screen");
    tabs_->addTab(Scrolled(scriptEditorTab_), "Script Editor");
    tabs_->addTab(Scrolled(spritePlaceEditorTab_), "Sprite Placement Editor");
    tabs_->setCurrentIndex(0);
    tabs_->hide();

    // A Ctrl+right-click fills the open editors: all four from the "Maps" page, the object
    // and exit editors from the "World Maps" page.
    mapTab_->SetEditorFill([this](std::uint32_t mapId, std::uint32_t column, std::uint32_t row,
                                  std::uint32_t& exitIndex) {
        FillFloatingEditors({chestEditor_, shopEditor_, objectEditor_, exitEditor_}, mapId, column,
                            row, exitIndex);
    });
    worldMapTab_->SetEditorFill([this](std::uint32_t mapId, std::uint32_t column, std::uint32_t row,
                                       std::uint32_t& exitIndex) {
        FillFloatingEditors({nullptr, nullptr, objectEditor_, exitEditor_}, mapId, column, row,
                            exitIndex);
    });
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
    itemsTab_->RefreshAll();
    // The pages that show what their own "Load" read forget it, so that nothing of the
    // previous project is shown or written into the new one.
    scriptsTab_->Reset();
    spritesTab_->Reset();
    titleScreenTab_->Reset();
    spritePlaceEditorTab_->Reset();
    TellFloatingEditors();
}

// A refused or cancelled New or Open keeps the project, and the pages keep showing it.
void CQuenmarkDlg::OnFileNewProject() {
    if (NewProjectCommand(prompts_, RecordUsedFreeArea)) {
        OnProjectReplaced();
    }
}

void CQuenmarkDlg::OnFileOpenProject() {
    if (OpenProjectCommand(prompts_, RecordUsedFreeArea)) {
        OnProjectReplaced();
    }
}

void CQuenmarkDlg::TellFloatingEditors() {
    if (exitEditor_) {
        exitEditor_->ProjectChanged();
    }
    if (chestEditor_) {
        chestEditor_->ProjectChanged();
    }
    if (objectEditor_) {
        objectEditor_->ProjectChanged();
    }
    if (shopEditor_) {
        shopEditor_->ProjectChanged();
    }
}

QPoint CQuenmarkDlg::FloatingEditorPlace(int slot, QSize size) {
    // An editor gets its frame only when it is shown; it will have one like this window's.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QRect room = screen()->availableGeometry();
    const EditorDesk desk{{room.x(), room.y(), room.width(), room.height()},
                          {frame.x(), frame.y(), frame.width(), frame.height()},
                          inner.top() - frame.top()};
    std::vector<int> open;
    const QWidget* editors[4] = {exitEditor_, chestEditor_, objectEditor_, shopEditor_};
    for (int kind = 0; kind < 4; ++kind) {
        if (kind != slot && editors[kind] != nullptr) {
            open.push_back(cascadeIndex_[kind]);
        }
    }
    cascadeIndex_[slot] = NextCascadeIndex(open);
    const ScreenRect place = PlaceFloatingEditor(desk, size.width() + frame.width() - inner.width(),
                                                 size.height() + frame.height() - inner.height(),
                                                 slot, cascadeIndex_[slot]);
    return {place.x, place.y};
}

void CQuenmarkDlg::OnToolsExitEditor() {
    OpenFloatingEditor(
        exitEditor_, this, [this](QSize size) { return FloatingEditorPlace(0, size); }, prompts_);
}

void CQuenmarkDlg::OnToolsChestEditor() {
    OpenFloatingEditor(
        chestEditor_, this, [this](QSize size) { return FloatingEditorPlace(1, size); }, prompts_);
}

void CQuenmarkDlg::OnToolsObjectEditor() {
    OpenFloatingEditor(
        objectEditor_, this, [this](QSize size) { return FloatingEditorPlace(2, size); }, prompts_);
}

void CQuenmarkDlg::OnToolsShopEditor() {
    OpenFloatingEditor(
        shopEditor_, this, [this](QSize size) { return FloatingEditorPlace(3, size); }, prompts_);
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
    OpenWebAddress(prompts_, std::string(kWikiUrl));
}

void CQuenmarkDlg::OnHelpAbout() {
    CAboutDlg about(prompts_, this);
    about.exec();
}

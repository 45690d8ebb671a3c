#pragma once

#include <cstdint>
#include <functional>

#include <QWidget>

struct ScriptTreeNode;
class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The "Script Viewer" page: one tree that lists a script at a typed offset, the header script
// of a map or the object list of a map. It only reads the image.
class ScriptsTab : public QWidget {
    Q_OBJECT
public:
    explicit ScriptsTab(Prompts& prompts, QWidget* parent = nullptr);

    // After File > New or File > Open: the tree of the previous image is emptied.
    void Reset();

    // Handlers of the three "Load" buttons and the two up-down arrows (delta below 0 or 0
    // is the up arrow).
    void OnLoadScript();
    void OnLoadMapScripts();
    void OnLoadSpritePlacement();
    void OnMapIdSpin(int delta);
    void OnSpritePlacementSpin(int delta);

private:
    void BuildControls();
    // Runs a handler when an image is loaded; refuses otherwise.
    void Exchange(const std::function<void()>& handler);
    void ShowListing(const ScriptTreeNode& top);
    // Lists the header script of the stored map id.
    void ListMapScripts();
    // How many map ids the header-script or the object-list listing accepts.
    std::uint32_t MapIdCount(bool headerScripts) const;
    // Shows the range message when the id is outside them.
    bool AcceptMapId(std::uint32_t mapId, bool headerScripts);
    static std::uint32_t Step(std::uint32_t id, int delta, std::uint32_t count);
    QWidget* UpDown(const char* name, void (ScriptsTab::*handler)(int));

    Prompts& prompts_;
    QTreeWidget* tree_ = nullptr;
    QLineEdit* scriptOffset_ = nullptr;
    QCheckBox* header_ = nullptr;
    QCheckBox* mFlag_ = nullptr;
    QLineEdit* mapIdText_ = nullptr;
    QLineEdit* spritePlacementText_ = nullptr;
    std::uint32_t mapId_ = 0;
    std::uint32_t spritePlacementMapId_ = 0;
};

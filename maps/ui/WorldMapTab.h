#pragma once

#include <cstdint>
#include <functional>

#include <QWidget>

#include "maps/WorldMapPageModel.h"
#include "maps/ui/MapTab.h"

class MapRenderer;
class PictureView;
class ProjectContext;
class Prompts;
class QCheckBox;
class QComboBox;
class QPushButton;

// The "World Maps" page: load one of the four world maps, scroll the view (832 x 560, or the
// room a larger window gives it) with the wheel, pick a tile from the tile set or the map and
// put it into cells, show the exits and objects, and save the map back. The page is glue: every
// handler reads the controls into the model, calls it, and writes it back.
class WorldMapTab : public QWidget {
    Q_OBJECT
public:
    // The fill that both map pages share; this page fills the Object and Exit editors only.
    using EditorFill = MapTab::EditorFill;

    explicit WorldMapTab(Prompts& prompts, QWidget* parent = nullptr);
    ~WorldMapTab() override;

    // The world-map object; other pages reach it here. Null while no world map of the current
    // project is loaded.
    MapRenderer* WorldMapRenderer();
    const WorldMapPageModel& Model() const { return model_; }
    void SetEditorFill(EditorFill fill) { editorFill_ = std::move(fill); }

    // After File > New or File > Open made a new project: no map, empty pictures, "Save" off.
    void Reset();

    // Handlers of the controls.
    void OnLoad();
    void OnSave();
    void OnMapViewClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnTileSetClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnShowExits();
    void OnShowObjects();
    void OnMouseWheel(int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                      QPoint globalPosition);
    // A button going down over the map view; only the right button does anything.
    void OnMouseActivate(Qt::MouseButton button, bool ctrl, QPoint position);
    // The map view's area got a new size from the layout.
    void OnViewResized(QSize room);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void BuildControls();
    void ReadControls();
    void WriteControls();
    // Runs a handler between reading the controls into the model and writing them back.
    void Exchange(const std::function<void()>& handler);
    // A left click at a point of a picture goes to the model's handler; other buttons, and
    // points left of or above the picture, do nothing.
    using ClickHandler = bool (WorldMapPageModel::*)(ProjectContext*, std::uint32_t, std::uint32_t);
    void LeftClick(Qt::MouseButton button, QPoint position, ClickHandler handler);

    Prompts& prompts_;
    WorldMapPageModel model_;
    EditorFill editorFill_;

    PictureView* tileSetView_ = nullptr;
    PictureView* tileView_ = nullptr;
    PictureView* mapView_ = nullptr;
    QCheckBox* exits_ = nullptr;
    QCheckBox* objects_ = nullptr;
    QComboBox* maps_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
};

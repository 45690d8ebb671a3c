#pragma once

#include <cstdint>
#include <functional>

#include <QWidget>

#include "maps/MapPageModel.h"

class MapRenderer;
class PictureView;
class Prompts;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Maps" page: load a map by its id, look at it through the view (512 x 512, or the room a
// larger window gives it), pick metatiles from the tile panels or the map, paint them into a
// layer and switch the overlays. The page is glue: every handler reads the controls into the
// model, calls it, and writes it back.
class MapTab : public QWidget {
    Q_OBJECT
public:
    // Fills the open floating editors from a map cell; the found exit's index goes to the last
    // argument.
    using EditorFill = std::function<void(std::uint32_t mapId, std::uint32_t column,
                                          std::uint32_t row, std::uint32_t& exitIndex)>;

    explicit MapTab(Prompts& prompts, QWidget* parent = nullptr);
    ~MapTab() override;

    // The page's map object; other pages reach it here. Null until a map is loaded, and while
    // the object still belongs to a project that has been replaced.
    MapRenderer* MapTabRenderer() const;
    const MapPageModel& Model() const { return model_; }
    void SetEditorFill(EditorFill fill) { editorFill_ = std::move(fill); }

    // After File > New or File > Open made a new project.
    void UnloadMap();

    // Handlers of the controls.
    void OnLoadMap();
    void OnOK() { OnLoadMap(); }
    void OnMapIdSelChange(int index);
    void OnLoadByOffsets();
    void OnMapViewClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnLayer0TilesClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnLayer1TilesClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnMouseWheel(int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                      QPoint globalPosition);
    void OnMouseMove(QPoint position);
    // The map view's area got a new size from the layout.
    void OnViewResized(QSize room);
    void OnShowExits();
    void OnShowObjects();
    void OnShowLayer1();
    void OnLayer0Priority();
    void OnLayer1Tilemap0();
    void OnEditLayer0();
    void OnEditLayer1();
    void OnCollisionHide();
    void OnCollisionShow();
    void OnCollisionNumbers();
    void OnSaveMap();
    void OnNewMap();
    // Maps > Map > Save As and Load of the main window: the edited layer to and from a layer
    // file. False when refused for want of a map.
    bool OnExportMapFile();
    bool OnImportMapFile();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void BuildControls();
    void ReadControls();
    void WriteControls();
    // Runs a handler between reading the controls into the model and writing them back.
    void Exchange(const std::function<void()>& handler);
    void OnTilePanelClick(std::uint32_t layer, Qt::MouseButton button, QPoint position);
    void OnCollisionMode(std::uint32_t mode);

    Prompts& prompts_;
    MapPageModel model_;
    EditorFill editorFill_;

    PictureView* mapView_ = nullptr;
    PictureView* paletteBox_ = nullptr;
    PictureView* tilePanels_[2] = {};
    PictureView* spriteScratch_ = nullptr;
    PictureView* tileBox_ = nullptr;

    QComboBox* mapNames_ = nullptr;
    QLineEdit* mapId_ = nullptr;
    QPushButton* load_ = nullptr;
    QCheckBox* alternativeMap_ = nullptr;
    QComboBox* music_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* new_ = nullptr;
    QCheckBox* exits_ = nullptr;
    QCheckBox* objects_ = nullptr;
    QCheckBox* layer1_ = nullptr;
    QCheckBox* layer1Tilemap0_ = nullptr;
    QCheckBox* layer0Priority_ = nullptr;
    QRadioButton* editLayer_[2] = {};
    QRadioButton* collision_[3] = {};
    QLineEdit* scrollX_ = nullptr;
    QLineEdit* scrollY_ = nullptr;
    QLineEdit* layerSize_[4] = {};
    QLineEdit* offsets_[5] = {};
    QPushButton* loadByOffsets_ = nullptr;
};

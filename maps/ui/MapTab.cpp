#include "maps/ui/MapTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "maps/MapNameTable.h"
#include "maps/MapRenderer.h"
#include "maps/MusicNameTable.h"
#include "platform/ui/PictureGroup.h"
#include "platform/ui/PictureView.h"
#include "project/ProjectContext.h"

namespace {

// The view answers within its whole area and the panels within 512 pixels of their origin,
// even where a small map leaves the picture smaller.
bool WithinArea(QPoint p, std::uint32_t width, std::uint32_t height) {
    return p.x() >= 0 && p.y() >= 0 && p.x() <= static_cast<int>(width) &&
           p.y() <= static_cast<int>(height);
}

void SetText(QLineEdit* edit, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (edit->text() != value) {
        edit->setText(value);
    }
}

}  // namespace

MapTab::MapTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("MapTab");
    setFocusPolicy(Qt::ClickFocus);
    BuildControls();

    QFont listFont("Lucida Console");
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPointSize(9);
    mapNames_->setFont(listFont);
    music_->setFont(listFont);
    for (const std::string& name : MusicNameTable) {
        music_->addItem(QString::fromStdString(name));
    }
    for (const std::string& name : MapNameTable) {
        mapNames_->addItem(QString::fromStdString(name));
    }
    model_.options.showLayer1 = true;
    WriteControls();
}

MapTab::~MapTab() = default;

MapRenderer* MapTab::MapTabRenderer() const {
    MapRenderer* renderer = model_.mapTabRenderer.get();
    return renderer != nullptr && &renderer->Project() == currentProject ? renderer : nullptr;
}

void MapTab::BuildControls() {
    mapView_ = new PictureView;
    mapView_->setObjectName("mapView");
    mapView_->setMouseTracking(true);
    paletteBox_ = new PictureView;
    paletteBox_->setObjectName("paletteBox");
    tileBox_ = new PictureView;
    tileBox_->setObjectName("tileBox");
    spriteScratch_ = new PictureView;
    spriteScratch_->setObjectName("spriteScratch");
    for (int layer = 0; layer < 2; ++layer) {
        tilePanels_[layer] = new PictureView;
        tilePanels_[layer]->setObjectName(QString("layer%1Tiles").arg(layer));
    }

    auto* page = new QHBoxLayout(this);
    // The map view takes the room a larger window gives; the other panels keep their size.
    page->addWidget(GrowingPictureGroup("Map:", mapView_, QSize(kMapViewSize, kMapViewSize),
                                        QColor::fromRgb(kPageBackground),
                                        [this](QSize room) { OnViewResized(room); }),
                    1);
    page->addWidget(
        PictureGroup("Layer 0 tiles:", tilePanels_[0], kTilePanelWidth, kTilePanelHeight), 0,
        Qt::AlignTop);
    page->addWidget(
        PictureGroup("Layer 1 tiles:", tilePanels_[1], kTilePanelWidth, kTilePanelHeight), 0,
        Qt::AlignTop);

    // The map, its music and the display options.
    QVBoxLayout* mapColumn = TopColumn(page);
    mapNames_ = new QComboBox;
    mapNames_->setObjectName("mapNames");
    mapNames_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    mapNames_->setMinimumContentsLength(28);
    mapColumn->addWidget(mapNames_);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(new QLabel("Map ID:"));
    mapId_ = new QLineEdit;
    mapId_->setObjectName("mapId");
    idRow->addWidget(mapId_);
    load_ = new QPushButton("Load");
    load_->setObjectName("load");
    idRow->addWidget(load_);
    mapColumn->addLayout(idRow);
    alternativeMap_ = new QCheckBox("Alternative Map");
    alternativeMap_->setObjectName("alternativeMap");
    mapColumn->addWidget(alternativeMap_);
    auto* musicRow = new QHBoxLayout;
    musicRow->addWidget(new QLabel("SPC Track:"));
    music_ = new QComboBox;
    music_->setObjectName("music");
    music_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    music_->setMinimumContentsLength(16);
    musicRow->addWidget(music_, 1);
    mapColumn->addLayout(musicRow);
    auto* saveRow = new QHBoxLayout;
    save_ = new QPushButton("Save");
    save_->setObjectName("save");
    new_ = new QPushButton("New");
    new_->setObjectName("new");
    saveRow->addWidget(save_);
    saveRow->addWidget(new_);
    mapColumn->addLayout(saveRow);

    auto addCheck = [mapColumn](const char* name, const char* text) {
        auto* box = new QCheckBox(text);
        box->setObjectName(name);
        mapColumn->addWidget(box);
        return box;
    };
    exits_ = addCheck("exits", "Exits");
    objects_ = addCheck("objects", "Objects/Triggers");
    layer1_ = addCheck("layer1", "Layer 1");
    layer1Tilemap0_ = addCheck("layer1Tilemap0", "Layer 1 tilemap 0");
    layer0Priority_ = addCheck("layer0Priority", "Layer 0 priority");

    auto* radios = new QHBoxLayout;
    auto* editGroup = new QGroupBox("Edit:");
    auto* editLayout = new QVBoxLayout(editGroup);
    auto* editButtons = new QButtonGroup(this);
    for (int layer = 0; layer < 2; ++layer) {
        editLayer_[layer] = new QRadioButton(QString("Layer %1").arg(layer));
        editLayer_[layer]->setObjectName(QString("editLayer%1").arg(layer));
        editButtons->addButton(editLayer_[layer]);
        editLayout->addWidget(editLayer_[layer]);
    }
    editLayout->addStretch();
    radios->addWidget(editGroup);
    auto* collisionGroup = new QGroupBox("Collision:");
    auto* collisionLayout = new QVBoxLayout(collisionGroup);
    auto* collisionButtons = new QButtonGroup(this);
    const char* collisionNames[3] = {"Hide", "Show", "Numbers"};
    for (int mode = 0; mode < 3; ++mode) {
        collision_[mode] = new QRadioButton(collisionNames[mode]);
        collision_[mode]->setObjectName(QString("collision") + collisionNames[mode]);
        collisionButtons->addButton(collision_[mode]);
        collisionLayout->addWidget(collision_[mode]);
    }
    radios->addWidget(collisionGroup);
    mapColumn->addLayout(radios);

    auto numberEdit = [](const QString& name, bool readOnly) {
        auto* edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setReadOnly(readOnly);
        edit->setMaximumWidth(80);
        if (!readOnly) {
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), edit));
        }
        return edit;
    };
    auto* scrollGroup = new QGroupBox("Map Scroll:");
    auto* scrollLayout = new QGridLayout(scrollGroup);
    scrollX_ = numberEdit("scrollX", true);
    scrollY_ = numberEdit("scrollY", true);
    scrollLayout->addWidget(new QLabel("X:"), 0, 0);
    scrollLayout->addWidget(scrollX_, 0, 1);
    scrollLayout->addWidget(new QLabel("Y:"), 0, 2);
    scrollLayout->addWidget(scrollY_, 0, 3);
    mapColumn->addWidget(scrollGroup);
    auto* sizeGroup = new QGroupBox("Layer Sizes:");
    auto* sizeLayout = new QGridLayout(sizeGroup);
    for (int i = 0; i < 4; ++i) {
        layerSize_[i] = numberEdit(QString("layerSize%1").arg(i), false);
        sizeLayout->addWidget(new QLabel(i % 2 == 0 ? "X:" : "Y:"), i / 2, (i % 2) * 2);
        sizeLayout->addWidget(layerSize_[i], i / 2, (i % 2) * 2 + 1);
    }
    mapColumn->addWidget(sizeGroup);
    mapColumn->addStretch();

    // The selected metatile, the palette and the data at typed offsets.
    QVBoxLayout* dataColumn = TopColumn(page);
    dataColumn->addWidget(PictureGroup("Tile:", tileBox_, 16, 16));
    dataColumn->addWidget(PictureGroup("Palette:", paletteBox_, 148, 80));
    auto* offsetGroup = new QGroupBox("Map Offsets:");
    auto* offsetLayout = new QGridLayout(offsetGroup);
    const char* offsetNames[5] = {"Palette:", "Map:", "Tiles:", "TileMap:", "Collision:"};
    for (int i = 0; i < 5; ++i) {
        offsets_[i] = new QLineEdit;
        offsets_[i]->setObjectName(QString("offset%1").arg(i));
        offsetLayout->addWidget(new QLabel(offsetNames[i]), i, 0);
        offsetLayout->addWidget(offsets_[i], i, 1);
    }
    loadByOffsets_ = new QPushButton("Load");
    loadByOffsets_->setObjectName("loadByOffsets");
    offsetLayout->addWidget(loadByOffsets_, 5, 1);
    dataColumn->addWidget(offsetGroup);
    dataColumn->addWidget(spriteScratch_, 0, Qt::AlignLeft);
    dataColumn->addStretch();

    mapView_->SetCanvas(&model_.view);
    paletteBox_->SetCanvas(&model_.paletteBox);
    tileBox_->SetCanvas(&model_.tileBox);
    spriteScratch_->SetCanvas(&model_.spriteScratch);
    for (int layer = 0; layer < 2; ++layer) {
        tilePanels_[layer]->SetCanvas(&model_.tilePanels[layer]);
    }

    connect(load_, &QPushButton::clicked, this, &MapTab::OnLoadMap);
    connect(mapNames_, &QComboBox::activated, this, &MapTab::OnMapIdSelChange);
    connect(loadByOffsets_, &QPushButton::clicked, this, &MapTab::OnLoadByOffsets);
    connect(mapView_, &PictureView::Clicked, this, &MapTab::OnMapViewClick);
    connect(mapView_, &PictureView::Moved, this, &MapTab::OnMouseMove);
    connect(tilePanels_[0], &PictureView::Clicked, this, &MapTab::OnLayer0TilesClick);
    connect(tilePanels_[1], &PictureView::Clicked, this, &MapTab::OnLayer1TilesClick);
    for (PictureView* picture : {mapView_, tilePanels_[0], tilePanels_[1]}) {
        connect(picture, &PictureView::WheelTurned, this,
                [this, picture](int delta, Qt::KeyboardModifiers modifiers,
                                Qt::MouseButtons buttons, QPoint position) {
                    OnMouseWheel(delta, modifiers, buttons, picture->mapToGlobal(position));
                });
    }
    connect(exits_, &QCheckBox::clicked, this, &MapTab::OnShowExits);
    connect(objects_, &QCheckBox::clicked, this, &MapTab::OnShowObjects);
    connect(layer1_, &QCheckBox::clicked, this, &MapTab::OnShowLayer1);
    connect(layer0Priority_, &QCheckBox::clicked, this, &MapTab::OnLayer0Priority);
    connect(layer1Tilemap0_, &QCheckBox::clicked, this, &MapTab::OnLayer1Tilemap0);
    connect(editLayer_[0], &QRadioButton::clicked, this, &MapTab::OnEditLayer0);
    connect(editLayer_[1], &QRadioButton::clicked, this, &MapTab::OnEditLayer1);
    connect(collision_[0], &QRadioButton::clicked, this, &MapTab::OnCollisionHide);
    connect(collision_[1], &QRadioButton::clicked, this, &MapTab::OnCollisionShow);
    connect(collision_[2], &QRadioButton::clicked, this, &MapTab::OnCollisionNumbers);
    connect(save_, &QPushButton::clicked, this, &MapTab::OnSaveMap);
    connect(new_, &QPushButton::clicked, this, &MapTab::OnNewMap);
}

void MapTab::Exchange(const std::function<void()>& handler) {
    ReadControls();
    handler();
    WriteControls();
}

void MapTab::ReadControls() {
    model_.mapIdText = mapId_->text().toStdString();
    for (int i = 0; i < 5; ++i) {
        model_.offsetTexts[i] = offsets_[i]->text().toStdString();
    }
    model_.state.horizontalScrollText = scrollX_->text().toStdString();
    model_.state.verticalScrollText = scrollY_->text().toStdString();
    for (int i = 0; i < 4; ++i) {
        model_.state.layerSize[i] = layerSize_[i]->text().toUInt();
    }
    MapPageOptions& options = model_.options;
    options.showExits = exits_->isChecked();
    options.showObjects = objects_->isChecked();
    options.showLayer1 = layer1_->isChecked();
    options.layer1Tilemap0 = layer1Tilemap0_->isChecked();
    options.layer0Priority = layer0Priority_->isChecked();
    options.alternativeMap = alternativeMap_->isChecked();
    model_.state.editLayer = editLayer_[1]->isChecked() ? 1 : 0;
    for (std::uint32_t mode = 0; mode < 3; ++mode) {
        if (collision_[mode]->isChecked()) {
            model_.state.collisionMode = mode;
        }
    }
    model_.mapNameIndex = mapNames_->currentIndex();
    model_.musicIndex = music_->currentIndex();
}

void MapTab::WriteControls() {
    SetText(mapId_, model_.mapIdText);
    for (int i = 0; i < 5; ++i) {
        SetText(offsets_[i], model_.offsetTexts[i]);
    }
    SetText(scrollX_, model_.state.horizontalScrollText);
    SetText(scrollY_, model_.state.verticalScrollText);
    for (int i = 0; i < 4; ++i) {
        SetText(layerSize_[i], std::to_string(model_.state.layerSize[i]));
    }
    const MapPageOptions& options = model_.options;
    exits_->setChecked(options.showExits);
    objects_->setChecked(options.showObjects);
    layer1_->setChecked(options.showLayer1);
    layer1Tilemap0_->setChecked(options.layer1Tilemap0);
    layer0Priority_->setChecked(options.layer0Priority);
    alternativeMap_->setChecked(options.alternativeMap);
    editLayer_[model_.state.editLayer & 1]->setChecked(true);
    collision_[model_.state.collisionMode < 3 ? model_.state.collisionMode : 0]->setChecked(true);
    mapNames_->setCurrentIndex(model_.mapNameIndex);
    music_->setCurrentIndex(model_.musicIndex);
    save_->setEnabled(model_.saveEnabled);

    for (PictureView* picture :
         {mapView_, paletteBox_, tileBox_, spriteScratch_, tilePanels_[0], tilePanels_[1]}) {
        picture->Refresh();
    }
}

void MapTab::UnloadMap() {
    Exchange([&] { model_.UnloadMap(); });
}

void MapTab::OnLoadMap() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return;
    }
    Exchange([&] { model_.LoadMap(currentProject, prompts_); });
}

void MapTab::OnMapIdSelChange(int index) {
    if (index < 0) {
        return;
    }
    Exchange([&] { model_.SelectMapName(currentProject, prompts_, index); });
}

void MapTab::OnLoadByOffsets() {
    Exchange([&] { model_.LoadByOffsets(currentProject, prompts_); });
}

void MapTab::OnMapViewClick(Qt::MouseButton button, bool ctrl, QPoint position) {
    if (position.x() < 0 || position.y() < 0) {
        return;
    }
    const auto x = static_cast<std::uint32_t>(position.x());
    const auto y = static_cast<std::uint32_t>(position.y());
    Exchange([&] {
        if (button == Qt::LeftButton) {
            model_.PlaceTile(currentProject, x, y);
        } else if (button == Qt::RightButton) {
            const auto fill = model_.RightClick(currentProject, x, y, ctrl);
            if (fill && editorFill_) {
                editorFill_(fill->mapId, fill->column, fill->row, model_.state.exitIndex);
            }
        }
    });
}

void MapTab::OnTilePanelClick(std::uint32_t layer, Qt::MouseButton button, QPoint position) {
    if (button != Qt::LeftButton || position.x() < 0 || position.y() < 0) {
        return;
    }
    Exchange([&] {
        model_.SelectFromPanel(currentProject, layer, static_cast<std::uint32_t>(position.x()),
                               static_cast<std::uint32_t>(position.y()));
    });
}

void MapTab::OnLayer0TilesClick(Qt::MouseButton button, bool, QPoint position) {
    OnTilePanelClick(0, button, position);
}

void MapTab::OnLayer1TilesClick(Qt::MouseButton button, bool, QPoint position) {
    OnTilePanelClick(1, button, position);
}

void MapTab::OnMouseWheel(int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                          QPoint globalPosition) {
    if (delta == 0) {
        return;
    }
    const bool up = delta > 0;
    if (WithinArea(mapView_->mapFromGlobal(globalPosition), model_.state.viewWidth,
                   model_.state.viewHeight)) {
        Exchange([&] {
            model_.WheelOverView(currentProject, up, (modifiers & Qt::ControlModifier) != 0,
                                 (modifiers & Qt::ShiftModifier) != 0, buttons != Qt::NoButton);
        });
    } else if (WithinArea(tilePanels_[0]->mapFromGlobal(globalPosition), kTilePanelHeight,
                          kTilePanelHeight)) {
        Exchange([&] { model_.WheelOverPanels(currentProject, up); });
    }
}

void MapTab::wheelEvent(QWheelEvent* event) {
    OnMouseWheel(event->angleDelta().y(), event->modifiers(), event->buttons(),
                 event->globalPosition().toPoint());
    event->accept();
}

void MapTab::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            Exchange([&] { model_.PanelDown(currentProject); });
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnOK();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void MapTab::OnMouseMove(QPoint position) {
    ReadControls();
    if (WithinArea(position, model_.state.viewWidth, model_.state.viewHeight)) {
        WriteControls();
    }
}

void MapTab::OnViewResized(QSize room) {
    ReadControls();
    if (model_.SetViewSize(currentProject, room.width(), room.height())) {
        WriteControls();
    }
}

void MapTab::OnShowExits() {
    Exchange([&] { model_.ShowExitsChanged(currentProject); });
}

void MapTab::OnShowObjects() {
    Exchange([&] { model_.ShowObjectsChanged(currentProject); });
}

void MapTab::OnShowLayer1() {
    Exchange([&] { model_.ShowLayer1Changed(currentProject); });
}

void MapTab::OnLayer0Priority() {
    Exchange([&] { model_.Layer0PriorityChanged(currentProject); });
}

void MapTab::OnLayer1Tilemap0() {
    Exchange([&] { model_.Layer1Tilemap0Changed(currentProject, prompts_); });
}

void MapTab::OnEditLayer0() {
    Exchange([&] { model_.state.editLayer = 0; });
}

void MapTab::OnEditLayer1() {
    Exchange([&] { model_.state.editLayer = 1; });
}

void MapTab::OnCollisionMode(std::uint32_t mode) {
    Exchange([&] { model_.CollisionModeChanged(currentProject, mode); });
}

void MapTab::OnCollisionHide() {
    OnCollisionMode(0);
}
void MapTab::OnCollisionShow() {
    OnCollisionMode(1);
}
void MapTab::OnCollisionNumbers() {
    OnCollisionMode(2);
}

void MapTab::OnSaveMap() {
    Exchange([&] { model_.SaveMap(currentProject, prompts_); });
}

void MapTab::OnNewMap() {
    Exchange([&] { model_.NewMap(currentProject, prompts_); });
}

bool MapTab::OnExportMapFile() {
    bool acted = false;
    Exchange([&] { acted = model_.ExportMapFile(currentProject, prompts_); });
    return acted;
}

bool MapTab::OnImportMapFile() {
    bool acted = false;
    Exchange([&] { acted = model_.ImportMapFile(currentProject, prompts_); });
    return acted;
}

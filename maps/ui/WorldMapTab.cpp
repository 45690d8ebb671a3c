#include "maps/ui/WorldMapTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "maps/MapRenderer.h"
#include "platform/ui/PictureGroup.h"
#include "platform/ui/PictureView.h"
#include "project/ProjectContext.h"

namespace {

// The wheel and the right button answer within the view's area, edges included.
bool WithinViewArea(QPoint p, const WorldMapPageModel& model) {
    return p.x() >= 0 && p.y() >= 0 && p.x() <= static_cast<int>(model.ViewWidth()) &&
           p.y() <= static_cast<int>(model.ViewHeight());
}

}  // namespace

WorldMapTab::WorldMapTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("WorldMapTab");
    BuildControls();

    QFont listFont("Lucida Console");
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPointSize(9);
    maps_->setFont(listFont);
    for (const char* caption : kWorldMapCaptions) {
        maps_->addItem(caption);
    }
    model_.mapLine = 0;  // "Overworld"
    WriteControls();
}

WorldMapTab::~WorldMapTab() = default;

MapRenderer* WorldMapTab::WorldMapRenderer() {
    return model_.Renderer(currentProject);
}

void WorldMapTab::BuildControls() {
    mapView_ = new PictureView;
    mapView_->setObjectName("mapView");
    tileView_ = new PictureView;
    tileView_->setObjectName("tileView");
    tileSetView_ = new PictureView;
    tileSetView_->setObjectName("tileSetView");

    auto* page = new QHBoxLayout(this);
    // The map view takes the room a larger window gives; the other panels keep their size.
    page->addWidget(GrowingPictureGroup("Map:", mapView_, QSize(kWorldViewWidth, kWorldViewHeight),
                                        QColor::fromRgb(kPageBackground),
                                        [this](QSize room) { OnViewResized(room); }),
                    1);

    QVBoxLayout* controls = TopColumn(page);
    auto* selectGroup = new QGroupBox("Select Map:");
    auto* selectLayout = new QVBoxLayout(selectGroup);
    maps_ = new QComboBox;
    maps_->setObjectName("maps");
    selectLayout->addWidget(maps_);
    controls->addWidget(selectGroup);
    load_ = new QPushButton("Load");
    load_->setObjectName("load");
    controls->addWidget(load_);
    save_ = new QPushButton("Save");
    save_->setObjectName("save");
    controls->addWidget(save_);
    auto* showGroup = new QGroupBox("Show:");
    auto* showLayout = new QVBoxLayout(showGroup);
    exits_ = new QCheckBox("Exits/Harbors");
    exits_->setObjectName("exits");
    objects_ = new QCheckBox("Objects/Triggers");
    objects_->setObjectName("objects");
    showLayout->addWidget(exits_);
    showLayout->addWidget(objects_);
    controls->addWidget(showGroup);
    controls->addWidget(PictureGroup("Tile:", tileView_, 16, 16));
    controls->addStretch(1);

    page->addWidget(PictureGroup("Tiles:", tileSetView_, 128, 512), 0, Qt::AlignTop);

    mapView_->SetCanvas(&model_.view);
    tileView_->SetCanvas(&model_.tileView);
    tileSetView_->SetCanvas(&model_.tileSet);

    connect(load_, &QPushButton::clicked, this, &WorldMapTab::OnLoad);
    connect(save_, &QPushButton::clicked, this, &WorldMapTab::OnSave);
    connect(mapView_, &PictureView::Clicked, this, &WorldMapTab::OnMapViewClick);
    connect(mapView_, &PictureView::Clicked, this, &WorldMapTab::OnMouseActivate);
    connect(tileSetView_, &PictureView::Clicked, this, &WorldMapTab::OnTileSetClick);
    connect(mapView_, &PictureView::WheelTurned, this,
            [this](int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                   QPoint position) {
                OnMouseWheel(delta, modifiers, buttons, mapView_->mapToGlobal(position));
            });
    connect(exits_, &QCheckBox::clicked, this, &WorldMapTab::OnShowExits);
    connect(objects_, &QCheckBox::clicked, this, &WorldMapTab::OnShowObjects);
}

void WorldMapTab::Exchange(const std::function<void()>& handler) {
    ReadControls();
    handler();
    WriteControls();
}

void WorldMapTab::ReadControls() {
    model_.mapLine = maps_->currentIndex();
    model_.showExits = exits_->isChecked();
    model_.showObjects = objects_->isChecked();
}

void WorldMapTab::WriteControls() {
    maps_->setCurrentIndex(model_.mapLine);
    exits_->setChecked(model_.showExits);
    objects_->setChecked(model_.showObjects);
    save_->setEnabled(model_.saveEnabled);
    for (PictureView* picture : {mapView_, tileView_, tileSetView_}) {
        picture->Refresh();
    }
}

void WorldMapTab::Reset() {
    Exchange([&] { model_.Clear(); });
}

void WorldMapTab::OnLoad() {
    Exchange([&] { model_.Load(currentProject, prompts_); });
}

void WorldMapTab::OnSave() {
    Exchange([&] { model_.Save(currentProject, prompts_); });
}

void WorldMapTab::LeftClick(Qt::MouseButton button, QPoint position, ClickHandler handler) {
    if (button != Qt::LeftButton || position.x() < 0 || position.y() < 0) {
        return;
    }
    Exchange([&] {
        (model_.*handler)(currentProject, static_cast<std::uint32_t>(position.x()),
                          static_cast<std::uint32_t>(position.y()));
    });
}

void WorldMapTab::OnMapViewClick(Qt::MouseButton button, bool, QPoint position) {
    LeftClick(button, position, &WorldMapPageModel::MapViewClick);
}

void WorldMapTab::OnTileSetClick(Qt::MouseButton button, bool, QPoint position) {
    LeftClick(button, position, &WorldMapPageModel::TileSetClick);
}

void WorldMapTab::OnMouseActivate(Qt::MouseButton button, bool ctrl, QPoint position) {
    if (button != Qt::RightButton || !WithinViewArea(position, model_)) {
        return;
    }
    Exchange([&] {
        const auto fill =
            model_.RightClick(currentProject, static_cast<std::uint32_t>(position.x()),
                              static_cast<std::uint32_t>(position.y()), ctrl);
        if (fill && editorFill_) {
            editorFill_(fill->mapId, fill->column, fill->row, model_.state.exitIndex);
        }
    });
}

void WorldMapTab::OnShowExits() {
    Exchange([&] { model_.ShowExitsChanged(currentProject); });
}

void WorldMapTab::OnShowObjects() {
    Exchange([&] { model_.ShowObjectsChanged(currentProject); });
}

void WorldMapTab::OnMouseWheel(int delta, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                               QPoint globalPosition) {
    // A turn with no vertical part (a sideways wheel) is not a turn of this wheel.
    if (delta == 0 || !WithinViewArea(mapView_->mapFromGlobal(globalPosition), model_)) {
        return;
    }
    Exchange([&] {
        model_.Wheel(currentProject, delta > 0, (modifiers & Qt::ControlModifier) != 0,
                     (modifiers & Qt::ShiftModifier) != 0, buttons != Qt::NoButton);
    });
}

void WorldMapTab::OnViewResized(QSize room) {
    ReadControls();
    if (model_.SetViewSize(currentProject, room.width(), room.height())) {
        WriteControls();
    }
}

void WorldMapTab::wheelEvent(QWheelEvent* event) {
    OnMouseWheel(event->angleDelta().y(), event->modifiers(), event->buttons(),
                 event->globalPosition().toPoint());
    event->accept();
}

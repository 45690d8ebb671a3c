#include "editors/ui/SpritesTab.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/ui/PictureGroup.h"
#include "platform/ui/PictureView.h"
#include "project/ProjectContext.h"

namespace {

constexpr int kSheetAreaHeight = 256;

QGroupBox* ListGroup(const QString& title, QListWidget* list) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list);
    return group;
}

void SetLines(QListWidget* list, const std::vector<std::string>& lines, int current) {
    bool same = list->count() == static_cast<int>(lines.size());
    for (int i = 0; same && i < list->count(); ++i) {
        same = list->item(i)->text().toStdString() == lines[i];
    }
    if (!same) {
        list->clear();
        for (const std::string& line : lines) {
            list->addItem(QString::fromStdString(line));
        }
    }
    list->setCurrentRow(current);
}

}  // namespace

SpritesTab::SpritesTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("SpritesTab");
    timer_ = new QTimer(this);
    timer_->setObjectName("animationTimer");
    timer_->setInterval(kAnimationStepMs);
    timer_->setSingleShot(true);
    BuildControls();
    WriteControls();
}

SpritesTab::~SpritesTab() = default;

void SpritesTab::BuildControls() {
    infoOffset_ = new QLineEdit;
    infoOffset_->setObjectName("spriteInfoOffset");
    tilesOffset_ = new QLineEdit;
    tilesOffset_->setObjectName("spriteTilesOffset");
    load_ = new QPushButton("Load");
    load_->setObjectName("load");
    animations_ = new QListWidget;
    animations_->setObjectName("animations");
    frames_ = new QListWidget;
    frames_->setObjectName("frames");
    animate_ = new QCheckBox("Animate");
    animate_->setObjectName("animate");
    spriteView_ = new PictureView;
    spriteView_->setObjectName("spriteView");
    sheetView_ = new PictureView;
    sheetView_->setObjectName("sheetView");
    tileView_ = new PictureView;
    tileView_->setObjectName("tileView");
    tileX_ = new QSpinBox;
    tileX_->setObjectName("tileX");
    tileY_ = new QSpinBox;
    tileY_->setObjectName("tileY");

    auto* page = new QHBoxLayout(this);
    auto* controls = new QVBoxLayout;
    page->addLayout(controls);
    auto* addresses = new QFormLayout;
    addresses->addRow("SpriteInfoOffset:", infoOffset_);
    addresses->addRow("SpriteTilesOffset:", tilesOffset_);
    controls->addLayout(addresses);
    controls->addWidget(load_);
    auto* lists = new QHBoxLayout;
    lists->addWidget(ListGroup("Animations:", animations_));
    lists->addWidget(ListGroup("Frames:", frames_));
    controls->addLayout(lists, 1);
    controls->addWidget(animate_);

    page->addWidget(PictureGroup("Sprite:", spriteView_, kSpriteViewSize, kSpriteViewSize), 0,
                    Qt::AlignTop);
    page->addWidget(PictureGroup("Tiles:", sheetView_, kSpriteSheetWidth, kSheetAreaHeight), 0,
                    Qt::AlignTop);

    auto* tileGroup = new QGroupBox("Selected Tile:");
    auto* tileLayout = new QVBoxLayout(tileGroup);
    auto* tileArea = new QWidget;
    tileArea->setFixedSize(8 * kSelectedTileZoom, 8 * kSelectedTileZoom);
    tileView_->setParent(tileArea);
    tileLayout->addWidget(tileArea);
    auto* position = new QFormLayout;
    position->addRow("X:", tileX_);
    position->addRow("Y:", tileY_);
    tileLayout->addLayout(position);
    page->addWidget(tileGroup, 0, Qt::AlignTop);
    page->addStretch(1);

    spriteView_->SetCanvas(&model_.spriteView);
    sheetView_->SetCanvas(&model_.sheetView);
    tileView_->SetCanvas(&model_.tileView);

    connect(load_, &QPushButton::clicked, this, &SpritesTab::OnLoad);
    connect(infoOffset_, &QLineEdit::returnPressed, this, &SpritesTab::OnLoad);
    // A new graphics address shows at once on the frame and the sheet.
    connect(tilesOffset_, &QLineEdit::returnPressed, this, &SpritesTab::OnFrameSelChange);
    connect(animations_, &QListWidget::currentRowChanged, this, [this] {
        if (!writing_) {
            OnAnimationSelChange();
        }
    });
    connect(frames_, &QListWidget::currentRowChanged, this, [this] {
        if (!writing_) {
            OnFrameSelChange();
        }
    });
    connect(animate_, &QCheckBox::toggled, this, &SpritesTab::OnAnimate);
    connect(timer_, &QTimer::timeout, this, &SpritesTab::OnAnimationStep);
    for (QSpinBox* spin : {tileX_, tileY_}) {
        connect(spin, &QSpinBox::valueChanged, this, [this] {
            if (!writing_) {
                OnSelectedTileChange();
            }
        });
    }
    connect(sheetView_, &PictureView::Clicked, this, &SpritesTab::OnSheetClick);
}

void SpritesTab::Exchange(const std::function<void()>& handler) {
    ReadControls();
    handler();
    WriteControls();
}

void SpritesTab::ReadControls() {
    model_.infoText = infoOffset_->text().toStdString();
    model_.tilesText = tilesOffset_->text().toStdString();
    model_.animationLine = animations_->currentRow();
    model_.frameLine = frames_->currentRow();
    model_.tileX = tileX_->value();
    model_.tileY = tileY_->value();
}

void SpritesTab::WriteControls() {
    writing_ = true;
    // Texts are only put back when they changed, so that an edit being typed into while the
    // animation runs keeps its cursor.
    for (auto [edit, text] :
         {std::pair{infoOffset_, &model_.infoText}, std::pair{tilesOffset_, &model_.tilesText}}) {
        if (edit->text().toStdString() != *text) {
            edit->setText(QString::fromStdString(*text));
        }
    }
    SetLines(animations_, model_.animationLines, model_.animationLine);
    SetLines(frames_, model_.frameLines, model_.frameLine);
    tileX_->setRange(0, kSpriteSheetWidth / 8 - 1);
    tileY_->setRange(0, std::max(model_.sheetView.Height() / 8 - 1, 0));
    tileX_->setValue(model_.tileX);
    tileY_->setValue(model_.tileY);
    for (PictureView* picture : {spriteView_, sheetView_, tileView_}) {
        picture->Refresh();
    }
    writing_ = false;
}

void SpritesTab::Reset() {
    animate_->setChecked(false);
    // The typed addresses are the person's, not the project's: they stay.
    ReadControls();
    model_.Clear();
    WriteControls();
}

void SpritesTab::OnLoad() {
    Exchange([&] { model_.Load(currentProject, prompts_); });
}

void SpritesTab::OnAnimationSelChange() {
    Exchange([&] { model_.AnimationSelChange(currentProject, prompts_); });
}

void SpritesTab::OnFrameSelChange() {
    Exchange([&] { model_.FrameSelChange(currentProject, prompts_); });
}

void SpritesTab::OnAnimate() {
    if (animate_->isChecked()) {
        timer_->start();
    } else {
        timer_->stop();
    }
}

void SpritesTab::OnAnimationStep() {
    // The timer stays off while a step runs, so that a message it shows is not repeated.
    bool drawn = true;
    Exchange([&] { drawn = model_.NextFrame(currentProject, prompts_); });
    if (!drawn) {
        animate_->setChecked(false);
    } else if (animate_->isChecked()) {
        timer_->start();
    }
}

void SpritesTab::OnSelectedTileChange() {
    Exchange([&] { model_.SelectTile(model_.tileX, model_.tileY); });
}

void SpritesTab::OnSheetClick(Qt::MouseButton button, bool, QPoint position) {
    if (button == Qt::LeftButton) {
        Exchange([&] { model_.SheetClick(position.x(), position.y()); });
    }
}

#include "editors/ui/TitleScreenTab.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editors/TitleScreen.h"
#include "platform/ui/PictureGroup.h"
#include "platform/ui/PictureView.h"
#include "project/ProjectContext.h"

TitleScreenTab::TitleScreenTab(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("TitleScreenTab");
    BuildControls();

    QFont listFont("Lucida Console");
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPointSize(9);
    layouts_->setFont(listFont);
    tiles_->setFont(listFont);
    for (const char* name : TitleScreenLayoutNames) {
        layouts_->addItem(name);
    }
    WriteControls();
}

void TitleScreenTab::BuildControls() {
    screenView_ = new PictureView;
    screenView_->setObjectName("screenView");
    tileSetView_ = new PictureView;
    tileSetView_->setObjectName("tileSetView");

    auto* page = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    page->addLayout(left);
    left->addWidget(
        PictureGroup("Title Screen:", screenView_, kTitleScreenWidth, kTitleScreenHeight), 0,
        Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    load_ = new QPushButton("Load");
    load_->setObjectName("load");
    save_ = new QPushButton("Save");
    save_->setObjectName("save");
    buttons->addWidget(load_);
    buttons->addWidget(save_);
    buttons->addStretch();
    left->addLayout(buttons);
    left->addStretch();

    auto* right = new QVBoxLayout;
    page->addLayout(right);
    right->addWidget(PictureGroup("Tiles:", tileSetView_, kTitleTileSetSize, kTitleTileSetSize), 0,
                     Qt::AlignLeft);
    auto* layoutGroup = new QGroupBox("Layout:");
    auto* layoutBox = new QVBoxLayout(layoutGroup);
    layouts_ = new QComboBox;
    layouts_->setObjectName("layouts");
    tiles_ = new QListWidget;
    tiles_->setObjectName("tiles");
    small_ = new QRadioButton("8x8");
    small_->setObjectName("small");
    large_ = new QRadioButton("32x32");
    large_->setObjectName("large");
    auto* sizes = new QButtonGroup(this);
    sizes->addButton(small_);
    sizes->addButton(large_);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(small_);
    sizeRow->addWidget(large_);
    layoutBox->addWidget(layouts_);
    layoutBox->addWidget(tiles_);
    layoutBox->addLayout(sizeRow);
    right->addWidget(layoutGroup, 0, Qt::AlignLeft);
    right->addStretch();
    page->addStretch(1);

    screenView_->SetCanvas(&model_.screen);
    tileSetView_->SetCanvas(&model_.tileSet);

    connect(load_, &QPushButton::clicked, this, &TitleScreenTab::OnLoad);
    connect(save_, &QPushButton::clicked, this, &TitleScreenTab::OnSave);
    connect(layouts_, &QComboBox::activated, this, &TitleScreenTab::OnLayoutSelChange);
    connect(tiles_, &QListWidget::currentRowChanged, this, [this] {
        if (!writing_) {
            OnTileSelChange();
        }
    });
    connect(screenView_, &PictureView::Clicked, this, &TitleScreenTab::OnScreenClick);
    connect(tileSetView_, &PictureView::Clicked, this, &TitleScreenTab::OnTileSetClick);
}

void TitleScreenTab::Exchange(const std::function<void()>& handler) {
    ReadControls();
    handler();
    WriteControls();
}

void TitleScreenTab::ReadControls() {
    model_.layoutLine = layouts_->currentIndex();
    model_.tileLine = tiles_->currentRow();
    model_.large = large_->isChecked();
}

void TitleScreenTab::WriteControls() {
    writing_ = true;
    layouts_->setCurrentIndex(model_.layoutLine);
    layouts_->setEnabled(model_.layoutEnabled);
    // The lines are "Tile 0" onwards, so their count tells whether they changed; refilling only
    // then keeps the list where the person scrolled it.
    if (tiles_->count() != static_cast<int>(model_.tileLines.size())) {
        tiles_->clear();
        for (const std::string& line : model_.tileLines) {
            tiles_->addItem(QString::fromStdString(line));
        }
    }
    tiles_->setCurrentRow(model_.tileLine);
    (model_.large ? large_ : small_)->setChecked(true);
    save_->setEnabled(model_.saveEnabled);
    screenView_->Refresh();
    tileSetView_->Refresh();
    writing_ = false;
}

void TitleScreenTab::Reset() {
    model_.Clear();
    WriteControls();
}

void TitleScreenTab::OnLoad() {
    Exchange([&] { model_.Load(currentProject, prompts_); });
}

void TitleScreenTab::OnSave() {
    Exchange([&] { model_.Save(currentProject, prompts_); });
}

void TitleScreenTab::OnLayoutSelChange() {
    Exchange([&] { model_.LayoutSelChange(currentProject); });
}

void TitleScreenTab::OnTileSelChange() {
    Exchange([&] { model_.TileSelChange(currentProject); });
}

void TitleScreenTab::OnTileSetClick(Qt::MouseButton button, bool, QPoint position) {
    if (button == Qt::LeftButton) {
        Exchange([&] { model_.TileSetClick(currentProject, position.x(), position.y()); });
    }
}

void TitleScreenTab::OnScreenClick(Qt::MouseButton button, bool, QPoint position) {
    if (button == Qt::LeftButton) {
        Exchange([&] { model_.ScreenClick(currentProject, position.x(), position.y()); });
    }
}

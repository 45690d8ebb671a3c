#pragma once

#include <functional>

#include <QWidget>

#include "editors/SpritesPageModel.h"

class PictureView;
class Prompts;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

// The "Sprites" page: load a sprite by the address of its information record, pick one of its
// animations and frames, and see the frame beside the sprite's tile sheet. "Animate" steps
// through the frames of the chosen animation. The page changes nothing in the image.
class SpritesTab : public QWidget {
    Q_OBJECT
public:
    // Time between two frames while "Animate" is on.
    static constexpr int kAnimationStepMs = 125;

    explicit SpritesTab(Prompts& prompts, QWidget* parent = nullptr);
    ~SpritesTab() override;

    const SpritesPageModel& Model() const { return model_; }

    // After File > New or File > Open: no sprite, lists and pictures empty, the animation off.
    void Reset();

    // Handlers of the controls.
    void OnLoad();
    void OnAnimationSelChange();
    void OnFrameSelChange();
    void OnAnimate();
    void OnAnimationStep();
    void OnSelectedTileChange();
    void OnSheetClick(Qt::MouseButton button, bool ctrl, QPoint position);

private:
    void BuildControls();
    void ReadControls();
    void WriteControls();
    void Exchange(const std::function<void()>& handler);

    Prompts& prompts_;
    SpritesPageModel model_;
    QTimer* timer_ = nullptr;
    // Set while the members are written back, so that the lists' own signals stay unanswered.
    bool writing_ = false;

    QLineEdit* infoOffset_ = nullptr;
    QLineEdit* tilesOffset_ = nullptr;
    QPushButton* load_ = nullptr;
    QListWidget* animations_ = nullptr;
    QListWidget* frames_ = nullptr;
    QCheckBox* animate_ = nullptr;
    PictureView* spriteView_ = nullptr;
    PictureView* sheetView_ = nullptr;
    PictureView* tileView_ = nullptr;
    QSpinBox* tileX_ = nullptr;
    QSpinBox* tileY_ = nullptr;
};

#pragma once

#include <functional>

#include <QWidget>

#include "editors/TitleScreenPageModel.h"

class PictureView;
class Prompts;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

// The "Title Screen" page: draws the title screen from the image, moves and retiles the pieces
// of its three tile blocks, and imports a new palette and new title graphics. The page is glue:
// every handler reads the controls into the model, calls it, and writes it back.
class TitleScreenTab : public QWidget {
    Q_OBJECT
public:
    explicit TitleScreenTab(Prompts& prompts, QWidget* parent = nullptr);

    const TitleScreenPageModel& Model() const { return model_; }

    // After File > New or File > Open: no picture, no pieces, "Save" off until "Load".
    void Reset();

    // Handlers of the controls.
    void OnLoad();
    void OnSave();
    void OnLayoutSelChange();
    void OnTileSelChange();
    void OnTileSetClick(Qt::MouseButton button, bool ctrl, QPoint position);
    void OnScreenClick(Qt::MouseButton button, bool ctrl, QPoint position);

private:
    void BuildControls();
    void ReadControls();
    void WriteControls();
    void Exchange(const std::function<void()>& handler);

    Prompts& prompts_;
    TitleScreenPageModel model_;
    // The tile list is being refilled from the model: its selection signals are not the user's.
    bool writing_ = false;

    PictureView* screenView_ = nullptr;
    PictureView* tileSetView_ = nullptr;
    QComboBox* layouts_ = nullptr;
    QListWidget* tiles_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* load_ = nullptr;
    QRadioButton* small_ = nullptr;
    QRadioButton* large_ = nullptr;
};

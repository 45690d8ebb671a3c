#pragma once

#include <cstdint>

#include <QDialog>

#include "maps/ChestEditModel.h"

class Prompts;
class QLineEdit;
class QPushButton;

// "Chest Edit": the position and the item of one chest, which a Ctrl+right-click on the
// "Maps" page picks; Save writes them into the image at once.
class ChestEditFloat : public QDialog {
    Q_OBJECT
public:
    // `owner`: the window it stays above; it is still a window of its own.
    explicit ChestEditFloat(Prompts& prompts, QWidget* owner = nullptr);

    const ChestEditModel& Model() const { return model_; }

    void FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row);
    // After File > New or File > Open: the fields are emptied and the buttons turned off.
    void ProjectChanged();
    void OnSave();

private:
    void ReadControls();
    void WriteControls();

    Prompts& prompts_;
    ChestEditModel model_;

    QLineEdit* posX_ = nullptr;
    QLineEdit* posY_ = nullptr;
    QLineEdit* item_ = nullptr;
    QLineEdit* eventFlag_ = nullptr;
    QLineEdit* chestId_ = nullptr;
    QPushButton* save_ = nullptr;
};

#pragma once

#include <cstdint>

#include <QDialog>

#include "maps/ShopEditModel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Shop Edit": one shop and one entry of its item list, which a Ctrl+right-click on the
// "Maps" page picks; Save writes them into the image at once.
class ShopEditFloat : public QDialog {
    Q_OBJECT
public:
    // `owner`: the window it stays above; it is still a window of its own.
    explicit ShopEditFloat(Prompts& prompts, QWidget* owner = nullptr);

    const ShopEditModel& Model() const { return model_; }

    void FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row);
    // After File > New or File > Open: the fields are emptied and the buttons turned off.
    void ProjectChanged();
    void OnSave();
    void OnSlotSelChange(int index);

private:
    void ReadControls();
    void WriteControls();

    Prompts& prompts_;
    ShopEditModel model_;

    QLineEdit* mapId_ = nullptr;
    QLineEdit* shopId_ = nullptr;
    QLineEdit* eventFlag_ = nullptr;
    QLineEdit* posX_ = nullptr;
    QLineEdit* posY_ = nullptr;
    QComboBox* greeting_ = nullptr;
    QComboBox* slots_ = nullptr;
    QLineEdit* itemId_ = nullptr;
    QLineEdit* price_ = nullptr;
    QCheckBox* unique_ = nullptr;
    QPushButton* save_ = nullptr;
};

#pragma once

#include <array>
#include <cstdint>

#include <QDialog>

#include "maps/ObjectEditModel.h"

class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;

// "Object/Trigger Edit": one object of a map's object list, which a Ctrl+right-click on a map
// page picks; Save writes it into the image in place at once.
class ObjectEditFloat : public QDialog {
    Q_OBJECT
public:
    // `owner`: the window it stays above; it is still a window of its own.
    explicit ObjectEditFloat(Prompts& prompts, QWidget* owner = nullptr);

    const ObjectEditModel& Model() const { return model_; }

    void FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row);
    // After File > New or File > Open: the fields are emptied and the buttons turned off.
    void ProjectChanged();
    void OnSave();
    void OnAdd();

private:
    void ReadControls();
    void WriteControls();

    Prompts& prompts_;
    ObjectEditModel model_;

    QLineEdit* script_ = nullptr;
    QLineEdit* spriteLayout_ = nullptr;
    QLineEdit* posX_ = nullptr;
    QLineEdit* posY_ = nullptr;
    QLineEdit* flag_ = nullptr;
    QLineEdit* animationId_ = nullptr;
    QLineEdit* enemyId_ = nullptr;
    std::array<QCheckBox*, 16> interactionFlags_{};
    QPushButton* save_ = nullptr;
    QPushButton* add_ = nullptr;
};

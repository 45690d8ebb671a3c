#pragma once

#include <cstdint>

#include <QDialog>

#include "maps/ExitEditModel.h"

class Prompts;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Exit Editor": one exit of a map, which a Ctrl+right-click on a map page picks; its Save,
// Delete and Add change the project's exit lists at once.
class ExitEditFloat : public QDialog {
    Q_OBJECT
public:
    // `owner`: the window it stays above; it is still a window of its own.
    explicit ExitEditFloat(Prompts& prompts, QWidget* owner = nullptr);

    const ExitEditModel& Model() const { return model_; }

    // The fill of the map pages: the exit that holds the cell; `exitIndex` is the page's.
    void FillAt(std::uint32_t mapId, std::uint32_t column, std::uint32_t row,
                std::uint32_t& exitIndex);
    // The current project changed: a pick in another project no longer counts.
    // After File > New or File > Open: the fields are emptied and the buttons turned off.
    void ProjectChanged();

    void OnSave();
    void OnDelete();
    void OnAdd();
    void OnExitSelChange(int index);

private:
    void ReadControls();
    void WriteControls();

    Prompts& prompts_;
    ExitEditModel model_;

    QLineEdit* srcMapId_ = nullptr;
    QLineEdit* dstMapId_ = nullptr;
    QComboBox* destinations_ = nullptr;
    QLineEdit* event_ = nullptr;
    QLineEdit* flag_ = nullptr;
    QLineEdit* posX_ = nullptr;
    QLineEdit* posY_ = nullptr;
    QLineEdit* sizeX_ = nullptr;
    QLineEdit* sizeY_ = nullptr;
    QLineEdit* dstX_ = nullptr;
    QLineEdit* dstY_ = nullptr;
    QLineEdit* transEffect_ = nullptr;
    QLineEdit* direction_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* save_ = nullptr;
};

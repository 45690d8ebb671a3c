#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "editors/SpritePlacePageModel.h"

class Prompts;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The "Sprite Placement Editor" page: shows a map's object list as a tree, adds entries built
// from the fields to the project's lists and writes all lists into the image with "Save".
class SpritePlaceEditorTab : public QWidget {
    Q_OBJECT
public:
    explicit SpritePlaceEditorTab(Prompts& prompts, QWidget* parent = nullptr);
    ~SpritePlaceEditorTab() override;

    const SpritePlacePageModel& Model() const { return model_; }

    // After File > New or File > Open: the page shows nothing of the previous project.
    void Reset();

    // Handlers of the controls.
    void OnLoad();
    void OnTypeSelChange();
    void OnAdd();
    void OnSave();

private:
    void BuildControls();
    void ReadControls();
    void WriteControls();
    void Exchange(const std::function<void()>& handler);

    Prompts& prompts_;
    SpritePlacePageModel model_;

    QTreeWidget* tree_ = nullptr;
    QLineEdit* mapId_ = nullptr;
    QPushButton* load_ = nullptr;
    QLineEdit* headWord_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* flag_ = nullptr;
    QLineEdit* script_ = nullptr;
    QLineEdit* sprite_ = nullptr;
    QGroupBox* extra_ = nullptr;
    std::array<QLineEdit*, 4> extraFF_{};
    std::array<QLineEdit*, 2> extraC0_{};
    QPushButton* add_ = nullptr;
    QPushButton* save_ = nullptr;
};

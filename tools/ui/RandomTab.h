#pragma once

#include <array>
#include <vector>

#include <QWidget>

#include "tools/Randomizer.h"

class Prompts;
class QCheckBox;
class QComboBox;

// The randomizer page: lists every chest with its contents and applies the randomizer's
// changes to the current project's image. The main window keeps one but never shows it.
class RandomTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kChestBoxCount = 132;

    explicit RandomTab(Prompts& prompts, QWidget* parent = nullptr);

    // Handlers of the buttons.
    void LoadChestCombos();
    void RandomizeChestItems();
    void ApplyRandomizerPatches();
    void ApplyBingoPatch();
    void ShuffleBosses();
    void ShuffleEntrances();

    const std::vector<RandomChest>& Chests() const { return chests_; }

private:
    void ReadControls();

    Prompts& prompts_;
    std::array<QComboBox*, kChestBoxCount> chestBoxes_{};
    QCheckBox* asmPatchesBox_ = nullptr;
    bool asmPatches_ = false;
    std::vector<RandomChest> chests_;
};

#include "tools/ui/RandomTab.h"

#include <ctime>
#include <random>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/DataFolder.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

// The ids of the chest lists, in the order the chests are shown.
std::vector<int> ChestBoxIds() {
    std::vector<int> ids{1009};
    const auto range = [&ids](int first, int last) {
        for (int id = first; id <= last; ++id) {
            ids.push_back(id);
        }
    };
    range(1102, 1106);
    range(1112, 1127);
    range(1010, 1087);
    range(1209, 1240);
    return ids;
}

ProjectContext* ProjectWithImage() {
    return currentProject != nullptr && currentProject->HasImage() ? currentProject : nullptr;
}

RandomizerGenerator ClockSeeded() {
    return RandomizerGenerator(static_cast<RandomizerGenerator::result_type>(std::time(nullptr)));
}

}  // namespace

RandomTab::RandomTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    auto* grid = new QGridLayout;
    const std::vector<int> ids = ChestBoxIds();
    for (int k = 0; k < kChestBoxCount; ++k) {
        auto* box = new QComboBox;
        box->setObjectName(QString("chest%1").arg(ids[k]));
        box->setMinimumContentsLength(14);
        chestBoxes_[k] = box;
        grid->addWidget(box, k / 6, k % 6);
    }
    auto* chestsWidget = new QWidget;
    chestsWidget->setLayout(grid);
    auto* scroll = new QScrollArea;
    scroll->setWidget(chestsWidget);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* caption, const char* name, void (RandomTab::*handler)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button("Bingo", "bingo", &RandomTab::ApplyBingoPatch);
    asmPatchesBox_ = new QCheckBox("ASM Patches");
    asmPatchesBox_->setObjectName("asmPatches");
    buttons->addWidget(asmPatchesBox_);
    button("Patches", "patches", &RandomTab::ApplyRandomizerPatches);
    button("Bosses", "bosses", &RandomTab::ShuffleBosses);
    button("Random", "random", &RandomTab::RandomizeChestItems);
    button("Entrance", "entrance", &RandomTab::ShuffleEntrances);
    button("Load", "load", &RandomTab::LoadChestCombos);
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("cancel");
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
}

void RandomTab::ReadControls() {
    asmPatches_ = asmPatchesBox_->isChecked();
}

void RandomTab::LoadChestCombos() {
    ReadControls();
    ProjectContext* project = ProjectWithImage();
    if (project == nullptr) {
        return;
    }
    for (QComboBox* box : chestBoxes_) {
        box->clear();
    }
    const ChestWalk walk = WalkChests(*project);
    const std::size_t shown = std::min<std::size_t>(walk.chests.size(), kChestBoxCount);
    for (std::size_t k = 0; k < shown; ++k) {
        chestBoxes_[k]->addItem(QString::fromStdString(ChestComboText(walk.chests[k])));
        chestBoxes_[k]->setCurrentIndex(0);
    }
    if (walk.unknownFlag) {
        prompts_.ShowMessage(kUnknownChestFlag);
    } else if (walk.chests.size() > shown) {
        prompts_.ShowMessage(std::to_string(walk.chests.size() - shown) +
                             " more chests are not listed.");
    }
}

void RandomTab::RandomizeChestItems() {
    ReadControls();
    ProjectContext* project = ProjectWithImage();
    if (project == nullptr) {
        return;
    }
    RandomizerGenerator rng = ClockSeeded();
    std::string message;
    chests_ = ::RandomizeChestItems(*project, rng, message);
    if (!message.empty()) {
        prompts_.ShowMessage(message);
    }
}

void RandomTab::ApplyRandomizerPatches() {
    ReadControls();
    if (ProjectContext* project = ProjectWithImage()) {
        RandomizerGenerator rng = ClockSeeded();
        ::ApplyRandomizerPatches(*project, rng, prompts_, asmPatches_,
                                 DataSubfolder(kRandomizerDataFolder));
    }
}

void RandomTab::ApplyBingoPatch() {
    ProjectContext* project = ProjectWithImage();
    if (project != nullptr && !::ApplyBingoPatch(*project)) {
        prompts_.ShowMessage(kRandomizerNeeds4MB);
    }
}

void RandomTab::ShuffleBosses() {
    if (ProjectContext* project = ProjectWithImage()) {
        RandomizerGenerator rng = ClockSeeded();
        const std::string report = ::ShuffleBosses(*project, rng);
        if (!report.empty()) {
            prompts_.ShowMessage(report);
        }
    }
}

void RandomTab::ShuffleEntrances() {
    ReadControls();
    if (ProjectContext* project = ProjectWithImage()) {
        RandomizerGenerator rng(std::random_device{}());
        ::ShuffleEntrances(*project, rng, prompts_);
    }
}

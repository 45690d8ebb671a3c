#include "tools/ui/PractTab.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "platform/DataFolder.h"
#include "platform/Prompts.h"
#include "project/ProjectContext.h"
#include "tools/PracticePatches.h"

PractTab::PractTab(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
    setObjectName("PractTab");
    auto* patch = new QPushButton("Patch");
    patch->setObjectName("patch");
    patch->setDefault(true);
    auto* ccPatch = new QPushButton("CC Patch");
    ccPatch->setObjectName("ccPatch");
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("cancel");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(patch);
    layout->addWidget(ccPatch);
    layout->addWidget(cancel);
    connect(patch, &QPushButton::clicked, this, &PractTab::ApplyPracticePatches);
    connect(ccPatch, &QPushButton::clicked, this, &PractTab::ApplyCcPatches);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

ProjectContext* PractTab::Project() {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        prompts_.ShowMessage("Please load a ROM first", "Error");
        return nullptr;
    }
    return currentProject;
}

void PractTab::ApplyPracticePatches() {
    if (ProjectContext* project = Project()) {
        ::ApplyPracticePatches(*project, DataSubfolder(kPracticeDataFolder), prompts_);
    }
}

void PractTab::ApplyCcPatches() {
    if (ProjectContext* project = Project()) {
        ::ApplyCcPatches(*project, DataSubfolder(kPracticeDataFolder), prompts_);
    }
}

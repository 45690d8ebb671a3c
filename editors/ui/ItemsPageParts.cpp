#include "editors/ui/ItemsPageParts.h"


#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "project/NumberText.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::array<const char*, kElementCount> kElementNames = {"Light", "Earth", "Thunder",
                                                                  "Ice", "Fire"};

}  // namespace

QComboBox* AddNameRow(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Name:"));
    auto* list = new QComboBox;
    list->setObjectName("names");
    list->setMinimumWidth(220);
    row->addWidget(list);
    row->addStretch(1);
    layout->addLayout(row);
    return list;
}

bool FillNameList(QComboBox* list, const std::optional<std::vector<std::string>>& names) {
    list->clear();
    if (!names) {
        return false;
    }
    // The first name added becomes the selection.
    for (const std::string& name : *names) {
        list->addItem(QString::fromStdString(name));
    }
    return true;
}

int ChosenRecord(const QComboBox* list, std::uint32_t count) {
    const int chosen = list->currentIndex();
    if (currentProject == nullptr || !currentProject->HasImage() || chosen < 0 ||
        chosen >= static_cast<int>(count)) {
        return -1;
    }
    return chosen;
}

QLineEdit* AddNumberRow(QGridLayout* grid, const char* caption, const char* name) {
    const int row = grid->count() / 2;
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaximumWidth(90);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(edit, row, 1);
    // The edits stand beside their captions, whatever the width of the page.
    grid->setColumnStretch(2, 1);
    return edit;
}

std::uint32_t NumberIn(FieldReader& reader, const QLineEdit* edit, const char* field,
                       std::uint32_t maximum) {
    return reader.ReadUnclamped(edit->text().toStdString(), field, maximum,
                                FieldReader::Negative::Largest);
}

void ShowNumber(QLineEdit* edit, std::uint32_t value) {
    edit->setText(QString::number(value));
}

QGroupBox* AddElementBoxes(const char* caption, const char* prefix, ElementBoxes& boxes) {
    auto* group = new QGroupBox(caption);
    auto* row = new QHBoxLayout(group);
    for (std::size_t k = 0; k < kElementCount; ++k) {
        boxes[k] = new QCheckBox(kElementNames[k]);
        boxes[k]->setObjectName(QString(prefix) + kElementNames[k]);
        row->addWidget(boxes[k]);
    }
    return group;
}

ElementFlags CheckedElements(const ElementBoxes& boxes) {
    ElementFlags elements{};
    for (std::size_t k = 0; k < kElementCount; ++k) {
        elements[k] = boxes[k]->isChecked();
    }
    return elements;
}

void CheckElements(const ElementBoxes& boxes, const ElementFlags& elements) {
    for (std::size_t k = 0; k < kElementCount; ++k) {
        boxes[k]->setChecked(elements[k]);
    }
}

QGroupBox* StatChangeCaptions(const std::vector<const char*>& captions) {
    auto* group = new QGroupBox("Stat Changes:");
    auto* column = new QVBoxLayout(group);
    for (const char* caption : captions) {
        column->addWidget(new QLabel(caption));
    }
    return group;
}

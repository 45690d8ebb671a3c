#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editors/EquipmentRecords.h"
#include "editors/ItemTexts.h"
#include "platform/Prompts.h"
#include "project/NumberText.h"
#include "project/ProjectContext.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QWidget;

// Pieces the sub-pages of the "Items" page share.

// A "Name:" row holding the drop-down list of names, added to `layout`.
QComboBox* AddNameRow(QBoxLayout* layout);
// Empties the list and fills it with `names` in record order, selecting entry 0. Without names
// the list stays empty; returns whether there were names.
bool FillNameList(QComboBox* list, const std::optional<std::vector<std::string>>& names);
// The entry chosen in a list of `count` records while the project has an image, else -1.
int ChosenRecord(const QComboBox* list, std::uint32_t count);

// The equipment pages: a list of `count` names from the table `names`, one per record that
// `read` and `save` find in the image.
template <typename Record>
using RecordReader = std::optional<Record> (*)(const ProjectContext&, std::uint32_t);
template <typename Record>
using RecordSaver = bool (*)(ProjectContext&, std::uint32_t, const Record&);

// Refills the list when the records lie inside the image, else leaves it empty and returns
// false. Without an image the list stays as it is.
template <typename Record>
bool FillRecordNames(QComboBox* list, RegionTable names, std::uint32_t count,
                     RecordReader<Record> read) {
    if (currentProject == nullptr || !currentProject->HasImage()) {
        return true;
    }
    return FillNameList(list, read(*currentProject, 0)
                                  ? ReadItemTexts(*currentProject, names, count)
                                  : std::nullopt);
}

// The record chosen in the list; nothing when none is chosen or it cannot be read.
template <typename Record>
std::optional<Record> ChosenRecordOf(const QComboBox* list, std::uint32_t count,
                                     RecordReader<Record> read) {
    const int chosen = ChosenRecord(list, count);
    return chosen < 0 ? std::nullopt : read(*currentProject, static_cast<std::uint32_t>(chosen));
}

// Saves `record`, read from the page's edits through `reader`, as the record chosen in the
// list; says so when a field was refused or the record cannot be found. False when nothing was
// saved.
template <typename Record>
bool SaveChosenRecord(const QComboBox* list, std::uint32_t count, RecordSaver<Record> save,
                      const Record& record, const FieldReader& reader, Prompts& prompts,
                      const char* outsideMessage) {
    const int chosen = ChosenRecord(list, count);
    if (chosen < 0) {
        return false;
    }
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), "Error");
        return false;
    }
    if (!save(*currentProject, static_cast<std::uint32_t>(chosen), record)) {
        prompts.ShowMessage(outsideMessage, "Error");
        return false;
    }
    return true;
}

// An edit with its caption, added as the next row of a grid that holds only such rows.
QLineEdit* AddNumberRow(QGridLayout* grid, const char* caption, const char* name);
// The number typed (hexadecimal with "0x") into an edit whose record clamps a new value to
// `maximum`; it is given unclamped, so that a stored value above `maximum` left as shown is
// kept. A negative number counts as the largest. Text that is no number is refused through
// `reader`, naming `field`.
std::uint32_t NumberIn(FieldReader& reader, const QLineEdit* edit, const char* field,
                       std::uint32_t maximum);
void ShowNumber(QLineEdit* edit, std::uint32_t value);

using ElementBoxes = std::array<QCheckBox*, kElementCount>;
// Check boxes Light to Fire in a row inside a group box; object names are `prefix` + element.
QGroupBox* AddElementBoxes(const char* caption, const char* prefix, ElementBoxes& boxes);
ElementFlags CheckedElements(const ElementBoxes& boxes);
void CheckElements(const ElementBoxes& boxes, const ElementFlags& elements);

// The "Stat Changes:" group box with its fixed reference captions.
QGroupBox* StatChangeCaptions(const std::vector<const char*>& captions);

#pragma once
// The fillers of the dialogs' drop-down lists and the lookup that selects a
// stored value in a list.
#include "forms/Controls.h"

#include <QString>

namespace vi {

// The sixteen colour names; selects "Gray".
void FillColourList(ComboBox& list);
// The seven font sizes; selects "2".
void FillFontSizeList(ComboBox& list);
// The five item heights; selects "20 Pixels".
void FillItemHeightList(ComboBox& list);

// One entry per sub-folder of the line-picture folder, in name order, each
// with its first letter upper-cased; selects "Black" when present. A missing
// or unreadable folder leaves the list empty.
void FillLineColourList(ComboBox& list, const QString& treeLinesFolder);
// The line-picture folder of the data folder: DataFolder()/TreeLines.
QString TreeLinesFolder();

// The index of the first entry equal to the text, ignoring letter case and
// leading and trailing spaces on both sides; -1 when none matches.
int ListLookup(const ComboBox& list, const QString& text);

} // namespace vi

#pragma once

class QWidget;

namespace vi {

struct ItemRecord;
struct TreeSettings;

// The modal calling protocol of the property dialogs: create, load from the
// document, show modally, store back only when the dialog's Tag is "OK",
// unload. Each returns true on OK.
bool RunItemPropDialog(QWidget* parent, ItemRecord& record, const TreeSettings& settings);
bool RunTreePropDialog(QWidget* parent, TreeSettings& settings);

} // namespace vi

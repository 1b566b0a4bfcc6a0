#include "app/PropertyDialogs.h"

// Placeholder until the property dialogs land.
namespace vi {
bool RunItemPropDialog(QWidget*, ItemRecord&, const TreeSettings&) { return false; }
bool RunTreePropDialog(QWidget*, TreeSettings&) { return false; }
} // namespace vi

#include "script/ExportTree.h"

// Placeholder until the export driver lands.
namespace vi {
ExportResult ExportTree(TreeDocument&, const QString&, bool, UserInterface&) { return {}; }
} // namespace vi

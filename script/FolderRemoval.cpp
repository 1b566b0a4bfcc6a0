#include "script/FolderRemoval.h"

// Placeholder until folder removal lands.
namespace vi {
void RemoveFolder(const QString&) {}
void ClearFolder(const QString&) {}
} // namespace vi

#include "app/FolderDialog.h"

// Placeholder until the folder chooser lands.
namespace vi {
std::optional<QString> RunFolderChooser(QWidget*) { return std::nullopt; }
} // namespace vi

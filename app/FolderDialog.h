#pragma once
#include <QString>
#include <optional>

class QWidget;

namespace vi {

// Shows the program-wide export folder chooser modally; the chosen folder on OK.
std::optional<QString> RunFolderChooser(QWidget* parent);

} // namespace vi

#pragma once
#include <QString>
#include <QStringList>

namespace vi {

class TreeDocument;
class UserInterface;

struct ExportResult {
    bool Opened = false;   // custom.js could be written at all
    QStringList Failures;  // every step that failed, in order
    bool Complete() const { return Opened && Failures.isEmpty(); }
};

// Exports the document into folder: custom.js, tree.html and treePics. Clears
// TreeChanged only when no step failed. Reports an unwritable folder, and a
// summary of failed steps, through the user interface.
ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui);

} // namespace vi

#pragma once
#include "script/FileSystem.h"

#include <QString>
#include <QStringList>

namespace vi {

class TreeDocument;
class UserInterface;

struct ExportResult {
    bool Written = false;   // the new custom.js is in place; when false any old one is as it was
    bool HasItems = false;  // a tree with only the root is an incomplete export, as its walk over no items fails
    QStringList Failures;   // every step that failed, in order, as "what: why"
    FileFingerprint Script; // the custom.js written, when Written
    bool Complete() const { return Written && HasItems && Failures.isEmpty(); }
};

// Exports the document into folder: custom.js, tree.html and treePics. Clears
// TreeChanged only when no step failed. Reports an unwritable folder, and a
// summary of failed steps, through the user interface. Every file is replaced
// whole or not at all, nothing is written outside the folder, and a second
// export into the same folder waits until the first has ended. A picture of
// the folder's with other bytes is never replaced (only line pictures as
// delivered are), and only files with an image's content are copied as pictures.
ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui);
// The same with another limit on the size of custom.js than the loader's own.
ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui,
                        qint64 maxScriptBytes);

// The message for a custom.js that could not be written.
QString ExportErrorMessage(const QString& folder, const QString& reason);

// The message after an export in which steps failed: the folder, at most ten
// of the failures, then how many more there were.
QString ExportFailuresMessage(const QString& folder, const QStringList& failures);

} // namespace vi

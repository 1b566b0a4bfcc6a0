#pragma once
#include "script/ScriptFile.h"

#include <QByteArray>
#include <QString>

namespace vi {

class TreeDocument;
class UserInterface;

struct LoadResult {
    bool Opened = false;           // false: the document is unchanged
    bool ForeignGenerator = false; // stopped at the generator check
    bool VersionDeclined = false;  // stopped at the version question
    bool TooManyItems = false;     // item lines past the record limit were left out
    int ItemLines = 0;             // item lines read, whether they made an item or not
    int ItemsAdded = 0;            // items (node and record) added to the document
    int ItemsLeftOut = 0;          // item lines whose parent row names no item before them
};

// Replaces the document by the tree read from an exported custom.js. When the
// file cannot be read, says so and leaves the document as it was.
LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui);

// The same for a file already read into memory; path gives the folder whose
// treePics the picture paths point into.
LoadResult LoadTreeScriptBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui);

} // namespace vi

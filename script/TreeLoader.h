#pragma once
#include <QString>

namespace vi {

class TreeDocument;
class UserInterface;

struct LoadResult {
    bool Opened = false;          // false: the document is unchanged
    bool ForeignGenerator = false; // stopped at the generator check
    bool VersionDeclined = false;  // stopped at the version question
    bool TooManyItems = false;     // item lines past the record limit were left out
};

// Replaces the document by the tree read from an exported custom.js.
LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui);

} // namespace vi

#pragma once
#include "script/ScriptFile.h"

#include <QByteArray>
#include <QString>

namespace vi {

class TreeDocument;
class UserInterface;

// The editor loads regular files only: reading a FIFO or a device may never
// end. The command line reads pipes and standard input too.
enum class LoadSource { RegularFile, AnyFile };

// What became of a load.
enum class LoadOutcome {
    Loaded,       // the document holds the file's tree
    LeftItemsOut, // the document holds the file's tree less item lines it could not place (the user was told)
    Declined,     // the user declined a file of another version; the document is unchanged
    Refused,      // the file could not be read or holds no menu of ours (the user was told); the document is unchanged
};

struct LoadResult {
    LoadOutcome Outcome = LoadOutcome::Refused;
    int ItemLines = 0;    // item lines read, whether they made an item or not
    int ItemsAdded = 0;   // items (node and record) the document holds
    int ItemsLeftOut = 0; // item lines whose parent row names no item before them

    // True when the document now holds the file's tree.
    bool Replaced() const { return Outcome == LoadOutcome::Loaded || Outcome == LoadOutcome::LeftItemsOut; }
};

// Replaces the document by the tree read from an exported custom.js, all or
// nothing: the file is read into a document of its own, which takes the open
// one's place only when the file is accepted. A file that cannot be read,
// holds no menu of ours, or whose version question the user declines, leaves
// the open document exactly as it was.
LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui,
                          LoadSource source = LoadSource::RegularFile);

// The same for a file already read into memory; path gives the folder whose
// treePics the picture paths point into.
LoadResult LoadTreeScriptBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui);

} // namespace vi

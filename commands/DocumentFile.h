#pragma once
#include "script/FileSystem.h"

#include <QHash>
#include <QString>

namespace vi {

// What this editor knows of the custom.js files it loaded or exported in this
// run: the folder the document belongs to, and each file's content as the
// editor last read or wrote it, so that an export notices when another editor
// or a hand edit changed the file meanwhile. It is no part of the tree: the
// commands keep it beside the document.
class DocumentFile {
public:
    // The folder of the file the document was last loaded from or exported
    // to; empty for a new tree.
    const QString& Folder() const { return folder_; }
    // The content of path as this editor last read or wrote it; a Size of -1
    // when it never did.
    FileFingerprint Known(const QString& path) const { return known_.value(Key(path)); }
    // Remembers the content of path as read or written, and makes its folder the document's.
    void Remember(const QString& path, const FileFingerprint& content);
    // The document belongs to no folder any more (a new tree); what is known of the files stays.
    void Leave() { folder_.clear(); }
    // True when the custom.js in folder is one this editor read or wrote and
    // it holds something else now. A file that is gone has nothing to lose.
    bool ChangedSince(const QString& folder) const;

    // The custom.js an export into folder writes.
    static QString ScriptIn(const QString& folder);

private:
    static QString Key(const QString& path);

    QString folder_;
    QHash<QString, FileFingerprint> known_;
};

} // namespace vi

#pragma once
#include "document/TreeDocument.h"
#include "script/FileSystem.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>

namespace vi {

// Where the open document lives: the folder of the custom.js it was loaded
// from or last exported to, where exporting again writes without asking. A new
// tree has none, and neither has a tree that undo or redo puts in place, so
// that one tree is never written over another tree's file unasked.
class DocumentPlace final : private DocumentObserver {
public:
    struct Export {
        QString Folder;
        int Items = 0;
        QDateTime Time;
    };

    explicit DocumentPlace(TreeDocument& document);
    ~DocumentPlace() override;
    DocumentPlace(const DocumentPlace&) = delete;
    DocumentPlace& operator=(const DocumentPlace&) = delete;

    const QString& Folder() const { return folder_; }
    // The file the document was last loaded from or exported to, which may
    // be one of another name or read with items left out; empty for a new tree.
    const QString& File() const { return file_; }
    const std::optional<Export>& LastExport() const { return lastExport_; }

    // A file was loaded: the document's folder is its folder when it is a
    // custom.js read whole; any other file leaves the document without one.
    void Loaded(const QString& file, bool whole);
    // A custom.js was written into the folder; complete when nothing failed.
    void Exported(const QString& folder, int items, bool complete);

    // What this editor last read or wrote at path (a load, an export): the
    // content's fingerprint, with a Size of -1 when it never did. It outlives
    // new trees and undo, so that another editor's work is noticed whatever
    // this editor shows.
    FileFingerprint Known(const QString& path) const { return known_.value(Key(path)); }
    void Remember(const QString& path, const FileFingerprint& content) { known_.insert(Key(path), content); }
    // True when the custom.js in folder is one this editor read or wrote and
    // it holds something else now (another editor, a hand edit). A file that
    // is gone has nothing to lose.
    bool ChangedSince(const QString& folder) const;
    // The custom.js an export into folder writes.
    static QString ScriptIn(const QString& folder);

    // Told of every change of the folder and of every file loaded or exported
    // (its path, empty when only the folder went).
    std::function<void(const QString& file)> Changed;

private:
    void AfterReset() override;
    void Set(const QString& folder, const QString& file);
    static QString Key(const QString& path);

    TreeDocument& document_;
    QString folder_;
    QString file_;
    std::optional<Export> lastExport_;
    QHash<QString, FileFingerprint> known_;
};

} // namespace vi

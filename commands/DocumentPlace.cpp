#include "commands/DocumentPlace.h"

#include "document/AppInfo.h"
#include "script/FileSystem.h"
#include "script/ScriptText.h"

#include <QDir>
#include <QFileInfo>

namespace vi {

namespace {
const QString kScriptName = QStringLiteral("custom.js");

bool IsScriptName(const QString& fileName)
{
    return fileName.compare(kScriptName, FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}
} // namespace

DocumentPlace::DocumentPlace(TreeDocument& document) : document_(document) { document_.AddObserver(this); }

DocumentPlace::~DocumentPlace() { document_.RemoveObserver(this); }

void DocumentPlace::Loaded(const QString& file, bool whole)
{
    lastExport_.reset();
    // A file of another name, or one read with items left out, would be
    // replaced by a custom.js beside it or lose those items unseen.
    Set(whole && IsScriptName(FileNameOf(file)) ? FolderOf(file) : QString(), file);
}

void DocumentPlace::Exported(const QString& folder, int items, bool complete)
{
    if (complete)
        lastExport_ = Export{folder, items, QDateTime::currentDateTime()};
    else
        lastExport_.reset();
    Set(folder, JoinPath(folder, kScriptName));
}

QString DocumentPlace::ScriptIn(const QString& folder) { return JoinPath(folder, kScriptName); }

QString DocumentPlace::Key(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return FileNamesAreCaseSensitive() ? absolute : absolute.toCaseFolded();
}

bool DocumentPlace::ChangedSince(const QString& folder) const
{
    const QString script = ScriptIn(folder);
    const FileFingerprint known = Known(script);
    if (known.Size < 0 || !QFileInfo::exists(script))
        return false;
    return FingerprintOf(script) != known;
}

void DocumentPlace::AfterReset()
{
    // Loads and new trees replace the document; the load sets the folder again after it.
    lastExport_.reset();
    if (!file_.isEmpty())
        Set(QString(), QString());
}

void DocumentPlace::Set(const QString& folder, const QString& file)
{
    folder_ = folder;
    file_ = file;
    if (Changed)
        Changed(file);
}

} // namespace vi

#include "commands/DocumentFile.h"

#include "document/AppInfo.h"

#include <QDir>
#include <QFileInfo>

namespace vi {

QString DocumentFile::Key(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return FileNamesAreCaseSensitive() ? absolute : absolute.toCaseFolded();
}

QString DocumentFile::ScriptIn(const QString& folder) { return JoinPath(folder, QStringLiteral("custom.js")); }

void DocumentFile::Remember(const QString& path, const FileFingerprint& content)
{
    known_.insert(Key(path), content);
    folder_ = QFileInfo(path).path();
}

bool DocumentFile::ChangedSince(const QString& folder) const
{
    const QString script = ScriptIn(folder);
    const FileFingerprint known = Known(script);
    if (known.Size < 0 || !QFileInfo(script).exists())
        return false;
    return FingerprintOf(script) != known;
}

} // namespace vi

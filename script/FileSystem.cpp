#include "script/FileSystem.h"

#include "document/AppInfo.h"
#include "script/ScriptText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vi {

namespace {
constexpr qint64 kCopyBlockSize = 1024 * 1024;
}

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isExecutable();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

bool SameFile(const QString& first, const QString& second)
{
    const QString a = QFileInfo(first).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(second).canonicalFilePath();
}

bool CopyFileOver(const QString& source, const QString& destination)
{
    if (!QFileInfo(source).isFile())
        return false;
    if (SameFile(source, destination))
        return true;
    // A link is replaced, never written through; a file is overwritten in place.
    const QFileInfo target(destination);
    if (target.isSymLink() && !QFile::remove(destination))
        return false;
    // A plain copy: pictures and the page can be copied again at any time, so
    // they need neither the temporary file nor the flush to disk of QFile::copy.
    QFile in(source);
    QFile out(destination);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray block;
    bool ok = true;
    while (ok && !in.atEnd()) {
        block = in.read(kCopyBlockSize);
        ok = !block.isEmpty() && out.write(block) == block.size();
    }
    out.close();
    ok = ok && out.error() == QFileDevice::NoError;
    if (!ok)
        out.remove();
    return ok;
}

bool CopyPictureTo(const QString& picturePath, const QString& destinationFolder)
{
    if (picturePath.isEmpty())
        return true;
    const QString destination = JoinPath(destinationFolder, FileNameOf(picturePath));
    if (FolderOf(picturePath).trimmed().toLower() == FolderOf(destination).trimmed().toLower())
        return true; // already in place: a tree loaded from this folder
    return CopyFileOver(picturePath, destination);
}

QString LineColourFolder(const QString& colour)
{
    if (colour.isEmpty())
        return {};
    const QString lines = JoinPath(DataFolder(), QStringLiteral("TreeLines"));
    const QStringList folders = QDir(lines).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    if (folders.contains(colour))
        return JoinPath(lines, colour);
    for (const QString& name : folders) {
        if (name.compare(colour, Qt::CaseInsensitive) == 0)
            return JoinPath(lines, name);
    }
    return {};
}

QStringList SubFolderNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

} // namespace vi

#include "script/FolderRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vi {

namespace {

// A real folder, not a link to one: only such a folder is ever entered.
bool IsPlainFolder(const QFileInfo& info) { return info.isDir() && !info.isSymLink() && !info.isJunction(); }

bool IsReadOnly(const QFileInfo& info)
{
    // The read-only attribute: removal leaves such a file, whatever the folder allows.
    return !(info.permissions() & QFileDevice::WriteOwner);
}

// The path without separators at its end: "link/" would name the folder the
// link points to, and the link test would look through it.
QString WithoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && (path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator())))
        path.chop(1);
    return path;
}

void RemoveLink(const QFileInfo& link)
{
    if (!QFile::remove(link.filePath()))
        QDir().rmdir(link.filePath()); // a link to a folder on platforms that remove it as a folder
}

} // namespace

void ClearFolder(const QString& given)
{
    const QString path = WithoutTrailingSeparators(given);
    if (path.trimmed().isEmpty() || !IsPlainFolder(QFileInfo(path)))
        return;
    const QDir folder(path);
    const QFileInfoList entries =
        folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);

    // Sub-folders first, each emptied before it is removed; then the files.
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || entry.isJunction()) {
            if (entry.isDir()) // listed as a sub-folder: the link goes, its target stays
                RemoveLink(entry);
        } else if (entry.isDir()) {
            ClearFolder(entry.filePath());
            folder.rmdir(entry.fileName());
        }
    }
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink() && !entry.isJunction())
            continue;
        const bool listed = !entry.isHidden() && (entry.isFile() || entry.isSymLink());
        if (listed && (entry.isSymLink() ? !entry.isDir() : !IsReadOnly(entry)))
            QFile::remove(entry.filePath());
    }
}

void RemoveFolder(const QString& given)
{
    const QString path = WithoutTrailingSeparators(given);
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !IsPlainFolder(info))
        return;
    ClearFolder(path);
    QDir().rmdir(info.absoluteFilePath());
}

} // namespace vi

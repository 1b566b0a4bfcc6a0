#include "app/RecentFolder.h"

#include "document/AppInfo.h"
#include "script/FileSystem.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vi {

namespace {
const QString kKey = QStringLiteral("Places/LastFolder");
const QString kRecentKey = QStringLiteral("Places/RecentFiles");

QSettings Settings() { return EditorSettings(); }

bool SameName(const QString& first, const QString& second)
{
    return first.compare(second, FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

// The folder when it still exists, else the documents folder (home where there is none).
QString ExistingOrDocuments(const QString& folder)
{
    if (!folder.isEmpty() && QDir(folder).exists())
        return QDir::toNativeSeparators(folder);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
}
} // namespace

QSettings EditorSettings() { return QSettings(QStringLiteral("Vevadev"), ProductName()); }

QStringList WithRecentFile(const QStringList& files, const QString& file)
{
    QStringList list{file};
    for (const QString& other : files) {
        if (list.size() < kRecentFiles && !other.isEmpty() && !SameName(other, file))
            list << other;
    }
    return list;
}

QStringList RecentFiles()
{
    // Settings are outside input: kept to the list's length and to texts.
    const QStringList stored = Settings().value(kRecentKey).toStringList();
    QStringList files;
    for (const QString& file : stored) {
        if (!file.isEmpty() && files.size() < kRecentFiles)
            files << file;
    }
    return files;
}

void AddRecentFile(const QString& file)
{
    if (!file.isEmpty())
        Settings().setValue(kRecentKey, WithRecentFile(RecentFiles(), QDir::toNativeSeparators(file)));
}

void RemoveRecentFile(const QString& file)
{
    QStringList files = RecentFiles();
    files.removeIf([&](const QString& other) { return SameName(other, file); });
    Settings().setValue(kRecentKey, files);
}

QString LastUsedFolder() { return ExistingOrDocuments(Settings().value(kKey).toString()); }

void RememberFolder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    Settings().setValue(kKey, QDir::toNativeSeparators(QDir(folder).absolutePath()));
}

} // namespace vi

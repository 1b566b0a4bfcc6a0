#include "app/RecentFolder.h"

#include "document/AppInfo.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vi {

namespace {
const QString kKey = QStringLiteral("Places/LastFolder");

QSettings Settings() { return QSettings(QStringLiteral("Vevadev"), ProductName()); }

// The folder when it still exists, else the documents folder (home where there is none).
QString ExistingOrDocuments(const QString& folder)
{
    if (!folder.isEmpty() && QDir(folder).exists())
        return QDir::toNativeSeparators(folder);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
}
} // namespace

QString LastUsedFolder() { return ExistingOrDocuments(Settings().value(kKey).toString()); }

void RememberFolder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    Settings().setValue(kKey, QDir::toNativeSeparators(QDir(folder).absolutePath()));
}

} // namespace vi

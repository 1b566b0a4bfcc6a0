#include "app/RecentFolder.h"

#include "document/AppInfo.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vi {

namespace {
const QString kKey = QStringLiteral("Places/LastFolder");

QSettings Settings() { return QSettings(QStringLiteral("Vevadev"), ProductName()); }
} // namespace

QString LastUsedFolder()
{
    const QString remembered = Settings().value(kKey).toString();
    if (!remembered.isEmpty() && QDir(remembered).exists())
        return QDir::toNativeSeparators(remembered);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
}

void RememberFolder(const QString& folder)
{
    if (!folder.isEmpty())
        Settings().setValue(kKey, QDir::toNativeSeparators(QDir(folder).absolutePath()));
}

} // namespace vi

#include "preview/PreviewFolder.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vi {

namespace {

QString& CurrentPreviewFolder()
{
    static QString folder;
    return folder;
}

// A name for the user's own sub-folder of a temporary folder that all users may share.
QString UserFolderName()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    user.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('-'); });
#ifdef Q_OS_UNIX
    user += QLatin1Char('-') + QString::number(::getuid());
#endif
    return ProductName() + QLatin1Char('-') + (user.isEmpty() ? QStringLiteral("user") : user);
}

// The user's sub-folder must be a real folder of the user's own, or another
// user could read the preview or plant links in its place.
bool IsOwnFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return false;
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    return true;
#endif
}

// Removes the folder if it is there and creates it anew; false when it could
// not be created, also when the removal left it in place.
bool MakeFresh(const QString& path)
{
    if (FolderExists(path))
        RemoveFolder(path);
    return QDir().mkdir(path);
}

} // namespace

QString FallbackPreviewPath()
{
    const QString temp = QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
    return JoinPath(JoinPath(temp, UserFolderName()), QStringLiteral("TmpTree"));
}

QString PreparePreviewFolder(const QString& primary, const QString& fallback)
{
    if (MakeFresh(primary))
        return primary;
    const QString userFolder = QFileInfo(fallback).path();
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QFileInfo(userFolder).exists())
        QDir().mkdir(userFolder, ownerOnly);
    if (IsOwnFolder(userFolder) && MakeFresh(fallback))
        return fallback;
    return primary;
}

void ExportPreview(TreeDocument& document, const QString& folder, bool staticSelected, UserInterface& ui)
{
    const bool treeChanged = document.TreeChanged();
    ExportTree(document, folder, staticSelected, ui);
    document.SetTreeChanged(treeChanged);
}

QString PreviewFolder()
{
    return CurrentPreviewFolder().isEmpty() ? TmpTreePath() : CurrentPreviewFolder();
}

void SetPreviewFolder(const QString& folder) { CurrentPreviewFolder() = folder; }

void RemovePreviewFolder()
{
    for (const QString& folder : {TmpTreePath(), FallbackPreviewPath()}) {
        if (FolderExists(folder))
            RemoveFolder(folder);
    }
}

} // namespace vi

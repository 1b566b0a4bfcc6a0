#include "preview/PreviewFolder.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"

#include <QDir>
#include <QFileInfo>

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

QString FallbackPreviewPath() { return UserPreviewPath(); }

QString PreparePreviewFolder(const QString& primary, const QString& fallback)
{
    if (MakeFresh(primary))
        return primary;
    const QString userFolder = QFileInfo(fallback).path();
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QFileInfo(userFolder).exists() && QDir().mkpath(QFileInfo(userFolder).path()))
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

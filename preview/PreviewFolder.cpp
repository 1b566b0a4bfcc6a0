#include "preview/PreviewFolder.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vi {

namespace {

QString& CurrentPreviewFolder()
{
    static QString folder;
    return folder;
}

// Removes the folder if it is there and makes it anew, a private folder of
// the user's; false when that could not be done, also when the removal left
// it in place.
bool MakeFresh(const QString& path)
{
    const QFileInfo info(path);
    if (FolderExists(path) && !info.isSymLink()) {
        RemoveFolder(path);
        if (QFileInfo::exists(path))
            return false;
    }
    return MakePrivateFolder(path);
}

} // namespace

QString FallbackPreviewPath() { return UserPreviewPath(); }

QString PreparePreviewFolder(const QString& primary, const QString& fallback)
{
    if (MakeFresh(primary))
        return primary;
    // The user's own folder for the stand-in: another user could have made
    // it, or planted a link in its place.
    const QString userFolder = QFileInfo(fallback).path();
    QDir().mkpath(QFileInfo(userFolder).path());
    if (MakePrivateFolder(userFolder) && MakeFresh(fallback))
        return fallback;
    return primary;
}

void ExportPreview(TreeDocument& document, const QString& folder, bool staticSelected, UserInterface& ui)
{
    const bool treeChanged = document.TreeChanged();
    ExportTree(document, folder, staticSelected, ui);
    document.SetTreeChanged(treeChanged);
}

QString PreviewFolder() { return CurrentPreviewFolder().isEmpty() ? TmpTreePath() : CurrentPreviewFolder(); }

void SetPreviewFolder(const QString& folder) { CurrentPreviewFolder() = folder; }

bool PreviewMayLoad(const QUrl& url, const QString& folder)
{
    if (!url.isLocalFile())
        return true;
    const QString inside = QDir::cleanPath(QDir::fromNativeSeparators(folder)) + QLatin1Char('/');
    return QDir::cleanPath(url.toLocalFile())
        .startsWith(inside, FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void RemovePreviewFolder()
{
    for (const QString& folder : {TmpTreePath(), FallbackPreviewPath()}) {
        if (FolderExists(folder))
            RemoveFolder(folder);
    }
}

} // namespace vi

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

QString PreviewFileOf(const QUrl& url, const QString& folder)
{
    if (url.scheme() != QLatin1String(kPreviewScheme) || url.host() != QLatin1String(kPreviewHost))
        return {};
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(QDir::cleanPath(root + QLatin1Char('/') + url.path(QUrl::FullyDecoded)));
    const QString path = file.canonicalFilePath();
    if (root.isEmpty() || !file.isFile() || !path.startsWith(root + QLatin1Char('/')))
        return {};
    return path;
}

bool PreviewMayLoad(const QUrl& url)
{
    static const QStringList allowed = {
        QLatin1String(kPreviewScheme), QStringLiteral("http"),  QStringLiteral("https"),
        QStringLiteral("ws"),          QStringLiteral("wss"),   QStringLiteral("data"),
        QStringLiteral("blob"),        QStringLiteral("about"), QStringLiteral("mailto")};
    return allowed.contains(url.scheme());
}

void RemovePreviewFolder()
{
    for (const QString& folder : {TmpTreePath(), FallbackPreviewPath()}) {
        if (FolderExists(folder))
            RemoveFolder(folder);
    }
}

} // namespace vi

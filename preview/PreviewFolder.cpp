#include "preview/PreviewFolder.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"
#include "script/UserInterface.h"

#include <QCoreApplication>
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

// Holds back the export's own messages: they name the scratch folder, which
// the user never chose, and missing pictures were named at the load.
class QuietExport final : public UserInterface {
public:
    explicit QuietExport(UserInterface& ui) : ui_(ui) {}
    QStringList HeldBack;
    void ShowMessage(const QString& text, Icon) override { HeldBack << text; }
    Answer Ask(const QString& text, Buttons buttons) override { return ui_.Ask(text, buttons); }
    bool EditItemRecord(ItemRecord& record, const TreeSettings& settings) override
    {
        return ui_.EditItemRecord(record, settings);
    }
    bool EditTreeSettings(TreeSettings& settings) override { return ui_.EditTreeSettings(settings); }
    std::optional<QString> ChooseExportFolder(const QString& initialFolder) override
    {
        return ui_.ChooseExportFolder(initialFolder);
    }
    std::optional<QString> ChooseFileToLoad(const QString& title, const QString& filter,
                                            const QString& initialFolder) override
    {
        return ui_.ChooseFileToLoad(title, filter, initialFolder);
    }

private:
    UserInterface& ui_;
};

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
    QuietExport quiet(ui);
    const ExportResult result = ExportTree(document, folder, staticSelected, quiet);
    document.SetTreeChanged(treeChanged);
    if (result.Written)
        return;
    // The reason, without the scratch folder's name.
    const QString withFolder = ExportErrorMessage(folder, QString());
    QString reason;
    for (const QString& held : quiet.HeldBack) {
        if (held.startsWith(withFolder))
            reason = held.mid(withFolder.size());
    }
    const QString message = QCoreApplication::translate("Preview", "The preview could not be made.");
    ui.ShowMessage(reason.isEmpty() ? message
                                    : message + QLatin1Char('\r')
                                          + QCoreApplication::translate("Preview", "Reason: %1").arg(reason));
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

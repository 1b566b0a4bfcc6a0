#include "script/ExportTree.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/FileSystem.h"
#include "script/ItemStatement.h"
#include "script/ReplacingFile.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"
#include "script/ScriptWriter.h"
#include "script/Sitemap.h"
#include "script/TreeLoader.h"
#include "script/UserInterface.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace vi {

namespace {

constexpr qsizetype kListedFailures = 10;

// How long an export waits for another one into the same folder to end.
constexpr int kFolderLockWaitMs = 10000;

// True when both are regular files with the same bytes.
bool SameContents(const QString& a, const QString& b)
{
    QFile first(a), second(b);
    if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile() || !first.open(QIODevice::ReadOnly)
        || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(1 << 16) != second.read(1 << 16))
            return false;
    }
    return first.error() == QFileDevice::NoError && second.error() == QFileDevice::NoError;
}

// Copies the page and the pictures into the export folder and keeps the
// failures. Each source picture is copied once, however many items use it.
// The page names a picture by its file name alone, so one name can stand for
// one picture only: the first copied keeps it.
class PictureCopier {
public:
    explicit PictureCopier(const QString& picsFolder) : pics_(picsFolder) {}

    void MakePicsFolder()
    {
        QString reason;
        if (!MakePlainFolder(pics_, &reason))
            failures_ << pics_ + QStringLiteral(": ") + reason;
    }

    void CopyData(const QString& source, const QString& destination)
    {
        if (!CopyFileOver(source, destination))
            failures_ << destination + QStringLiteral(": could not copy ") + source;
    }

    void CopyDataPicture(const QString& source, const QString& fileName)
    {
        if (!Unclaimed(source, fileName))
            return;
        const int before = failures_.size();
        CopyData(source, JoinPath(pics_, fileName));
        if (failures_.size() == before)
            sourceOfName_.insert(NameKey(fileName), source);
    }

    void CopyLinePictures(const QString& colour, std::initializer_list<const char*> names)
    {
        const QString folder = LineColourFolder(colour);
        for (const char* name : names) {
            const QString fileName = QLatin1String(name);
            if (folder.isEmpty()) {
                failures_ << JoinPath(pics_, fileName) + QStringLiteral(": there is no line colour folder named ")
                                 + colour;
            } else {
                CopyDataPicture(JoinPath(folder, fileName), fileName);
            }
        }
    }

    void CopyPicture(const QString& picture)
    {
        if (picture.isEmpty() || copied_.contains(picture))
            return;
        copied_.insert(picture, true);
        const QString fileName = FileNameOf(picture);
        if (!Unclaimed(picture, fileName))
            return;
        QString reason;
        if (CopyPictureTo(picture, pics_, &reason))
            sourceOfName_.insert(NameKey(fileName), picture);
        else
            failures_ << JoinPath(pics_, fileName) + QStringLiteral(": ") + reason;
    }

    const QStringList& Failures() const { return failures_; }

private:
    // False when another picture of this name is in the folder already; a
    // different one is a failure, the same bytes from elsewhere are not.
    bool Unclaimed(const QString& source, const QString& fileName)
    {
        const auto first = sourceOfName_.constFind(NameKey(fileName));
        if (first == sourceOfName_.cend())
            return true;
        if (!SameContents(*first, source))
            failures_ << JoinPath(pics_, fileName) + QStringLiteral(": another picture of this name is in the tree: ")
                             + *first;
        return false;
    }

    static QString NameKey(const QString& fileName)
    {
        return FileNamesAreCaseSensitive() ? fileName : fileName.toCaseFolded();
    }

    QString pics_;
    QStringList failures_;
    QHash<QString, bool> copied_;
    QHash<QString, QString> sourceOfName_; // a file name in treePics, and the picture copied there
};

} // namespace

QString ExportErrorMessage(const QString& folder, const QString& reason)
{
    return QCoreApplication::translate("ExportTree",
                                       "There was an error trying to export to the directory: %1\rReason: %2")
        .arg(folder, reason);
}

QString ExportFailuresMessage(const QString& folder, const QStringList& failures)
{
    QStringList lines;
    lines << QCoreApplication::translate("ExportTree", "Not everything could be exported to the directory: %1")
                 .arg(folder)
          << QCoreApplication::translate("ExportTree", "These could not be written or copied:");
    lines << failures.mid(0, kListedFailures);
    if (failures.size() > kListedFailures)
        lines << QCoreApplication::translate("ExportTree", "... and %1 more.").arg(failures.size() - kListedFailures);
    return lines.join(QLatin1Char('\r'));
}

ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui)
{
    return ExportTree(document, folder, browserSwitch, ui, kMaxScriptFileBytes);
}

ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui,
                        qint64 maxScriptBytes)
{
    ExportResult result;
    FolderLock lock;
    if (!lock.Acquire(folder, kFolderLockWaitMs)) {
        ui.ShowMessage(
            ExportErrorMessage(
                folder, QCoreApplication::translate("ExportTree", "Another export into this folder is still running.")),
            UserInterface::Icon::Information);
        return result;
    }
    // An export killed at the wrong moment may have left a named temporary file.
    RemoveLeftOverTemporaryFiles(folder);
    RemoveLeftOverTemporaryFiles(JoinPath(folder, QStringLiteral("treePics")));
    ReplacingFile file(JoinPath(folder, QStringLiteral("custom.js")), ReplacingFile::Sync::Yes);
    if (!file.Open()) {
        ui.ShowMessage(ExportErrorMessage(folder, file.Reason()), UserInterface::Icon::Information);
        return result;
    }

    const TreeSettings& settings = document.Settings();
    const QString data = DataFolder();
    const QString lines = JoinPath(data, QStringLiteral("TreeLines"));
    const QString pics = JoinPath(folder, QStringLiteral("treePics"));
    PictureCopier copier(pics);
    copier.MakePicsFolder();
    copier.CopyData(JoinPath(data, QStringLiteral("tree.html")), JoinPath(folder, QStringLiteral("tree.html")));
    copier.CopyDataPicture(JoinPath(lines, QStringLiteral("2x2.gif")), QStringLiteral("2x2.gif"));
    if (settings.TreeLines > 0) {
        if (settings.TreeLines == 1)
            copier.CopyLinePictures(settings.TreeLineColor,
                                    {"top.gif", "mid.gif", "btm.gif", "hline.gif", "vline.gif"});
        copier.CopyLinePictures(settings.TreePMColor, {"plus.gif", "minus.gif"});
    }
    copier.CopyPicture(settings.TreeBExpanded);
    copier.CopyPicture(settings.TreeLeaf);
    copier.CopyPicture(settings.TreeBNonExpanded);

    ScriptLineWriter writer(file);
    for (const QString& line : ScriptHeaderLines(settings, browserSwitch))
        writer.WriteLine(line);
    writer.WriteLine(RootStatementOf(document));

    // One pre-order walk builds, writes and copies every item; paths and
    // parent numbers come with the walk, so the export stays linear.
    bool hasItems = false;
    bool tooLarge = false;
    const TreeNode* brokenItem = nullptr; // a node whose Tag names no record
    WalkItems(document, [&](TreeNode* node, const QString& path, int parentRow) {
        hasItems = true;
        if (!document.HasRecord(node->Tag()) || node->Tag() == 1) {
            brokenItem = node;
            return false;
        }
        ItemRecord& record = document.RecordOf(node);
        // A statement that comes out as the record holds it (a loaded tree
        // exported again) keeps its bytes: no allocation per item.
        const QByteArrayView line = ItemStatementView(record, settings, path, parentRow);
        if (record.ScriptLine != line)
            record.ScriptLine = line.toByteArray();
        writer.WriteUtf8Line(line);
        // A file the loader would refuse could never be opened again.
        if (writer.Size() > maxScriptBytes) {
            tooLarge = true;
            return false;
        }
        if (!record.UseGlobalBNonExpanded)
            copier.CopyPicture(record.BNonExpanded);
        if (!record.UseGlobalBExpanded)
            copier.CopyPicture(record.BExpanded);
        copier.CopyPicture(record.MouseOutPic);
        copier.CopyPicture(record.MouseOverPic);
        return writer.Ok();
    });

    QString reason;
    if (brokenItem)
        reason = QCoreApplication::translate("ExportTree", "The item \"%1\" has no record.").arg(brokenItem->Text());
    else if (tooLarge || writer.Size() > maxScriptBytes)
        reason = QCoreApplication::translate("ExportTree",
                                             "The tree is too large: its custom.js would be larger than %1 MB, "
                                             "more than the editor can load back.")
                     .arg(maxScriptBytes >> 20);
    if (reason.isEmpty() && writer.Finish() && file.Commit()) {
        result.Written = true;
    } else {
        if (reason.isEmpty())
            reason = file.Reason();
        file.Discard();
        ui.ShowMessage(ExportErrorMessage(folder, reason), UserInterface::Icon::Information);
    }

    result.Failures = copier.Failures();
    // The site map goes with the custom.js it was made from.
    QString sitemapFailure;
    if (result.Written && !WriteSitemap(document, folder, &sitemapFailure))
        result.Failures << sitemapFailure;
    if (!result.Failures.isEmpty())
        ui.ShowMessage(ExportFailuresMessage(folder, result.Failures), UserInterface::Icon::Information);
    if (!result.Written)
        result.Failures << file.Destination() + QStringLiteral(": ") + reason;

    result.HasItems = hasItems;
    if (result.Complete())
        document.SetTreeChanged(false);
    return result;
}

} // namespace vi

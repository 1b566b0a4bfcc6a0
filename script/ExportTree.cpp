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

// True when file holds the delivered line picture of its name in one of the
// colours, or the filler: a picture an earlier export wrote, the export's own.
bool IsDeliveredLinePicture(const QString& file, const QString& fileName)
{
    const QString lines = JoinPath(DataFolder(), QStringLiteral("TreeLines"));
    if (SameBytes(file, JoinPath(lines, fileName)))
        return true;
    for (const QString& colour : SubFolderNames(lines)) {
        if (SameBytes(file, JoinPath(JoinPath(lines, colour), fileName)))
            return true;
    }
    return false;
}

// Copies the page and the pictures into the export folder and keeps the
// failures. Each source picture is copied once, however many items use it.
// The page names a picture by its file name alone, so one name can stand for
// one picture only: the first copied keeps it.
class PictureCopier {
public:
    explicit PictureCopier(const QString& picsFolder) : pics_(picsFolder) {}

    // A treePics that links to a folder becomes a real folder; the pictures
    // that lay in it through the link are copied from where the link led.
    void MakePicsFolder()
    {
        const QFileInfo existing(pics_);
        if (existing.isSymLink() && existing.isDir())
            linkedFolder_ = existing.canonicalFilePath();
        QString reason;
        picsReady_ = MakePlainFolder(pics_, &reason);
        if (!picsReady_)
            failures_ << pics_ + QStringLiteral(": ") + reason;
        else
            RemoveLeftOverTemporaryFiles(pics_);
    }

    void CopyData(const QString& source, const QString& destination)
    {
        if (!CopyFileOver(source, destination))
            failures_ << destination + QStringLiteral(": could not copy ") + source;
    }

    // A file of the name with other bytes is replaced only when it is one of
    // the delivered pictures, so that another colour replaces the old one.
    void CopyDataPicture(const QString& source, const QString& fileName)
    {
        if (!Unclaimed(source, fileName) || !PicsReady(fileName))
            return;
        const QString destination = JoinPath(pics_, fileName);
        const CopyTarget existing = CompareCopyTarget(source, destination);
        if (existing == CopyTarget::OtherBytes && !IsDeliveredLinePicture(destination, fileName)) {
            failures_ << destination + QStringLiteral(": a different file of this name is already there");
            return;
        }
        const int before = failures_.size();
        if (existing != CopyTarget::SameBytes)
            CopyData(source, destination);
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
        if (!PicsReady(fileName))
            return;
        QString source = picture;
        if (!linkedFolder_.isEmpty() && SameFolderName(FolderOf(picture), FolderOf(JoinPath(pics_, fileName))))
            source = JoinPath(linkedFolder_, fileName);
        if (!Unclaimed(source, fileName))
            return;
        QString reason;
        if (CopyPictureTo(source, pics_, &reason))
            sourceOfName_.insert(NameKey(fileName), source);
        else
            failures_ << JoinPath(pics_, fileName) + QStringLiteral(": ") + reason;
    }

    const QStringList& Failures() const { return failures_; }

private:
    // Nothing is copied into a treePics that is no real folder: not through a link left in its place.
    bool PicsReady(const QString& fileName)
    {
        if (!picsReady_)
            failures_ << JoinPath(pics_, fileName) + QStringLiteral(": treePics is not a folder");
        return picsReady_;
    }

    // False when another picture of this name is in the folder already; a
    // different one is a failure, the same bytes from elsewhere are not.
    bool Unclaimed(const QString& source, const QString& fileName)
    {
        const auto first = sourceOfName_.constFind(NameKey(fileName));
        if (first == sourceOfName_.cend())
            return true;
        if (!SameBytes(*first, source))
            failures_ << JoinPath(pics_, fileName) + QStringLiteral(": another picture of this name is in the tree: ")
                             + *first;
        return false;
    }

    static QString NameKey(const QString& fileName)
    {
        return FileNamesAreCaseSensitive() ? fileName : fileName.toCaseFolded();
    }

    QString pics_;
    QString linkedFolder_; // the folder a link at treePics led to
    bool picsReady_ = false;
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
    // An export killed at the wrong moment may have left a named temporary file;
    // treePics is cleaned once it is sure to be a folder of the export's own.
    RemoveLeftOverTemporaryFiles(folder);
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
        const ItemRecord& record = document.RecordOf(node);
        writer.WriteUtf8Line(ItemStatementView(record, settings, path, parentRow));
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
        result.Script = file.Written();
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

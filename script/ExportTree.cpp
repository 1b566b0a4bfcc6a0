#include "script/ExportTree.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "document/UserInterface.h"
#include "script/FileSystem.h"
#include "script/ItemStatement.h"
#include "script/ScriptText.h"
#include "script/ScriptWriter.h"

#include <cerrno>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace vi {

namespace {

constexpr qsizetype kListedFailures = 10;

// Opens the temporary file that replaces custom.js on commit.
bool OpenScript(QSaveFile& file, QString& reason)
{
    // A write-protected custom.js stays protected, as a write in place would find it.
    const QFileInfo existing(file.fileName());
    if (existing.isFile() && !(existing.permissions() & QFileDevice::WriteOwner)) {
        reason = qt_error_string(EACCES);
        return false;
    }
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    return true;
}

// Copies the page and the pictures into the export folder and keeps the
// failures. Each source picture is copied once, however many items use it.
class PictureCopier {
public:
    explicit PictureCopier(const QString& picsFolder) : pics_(picsFolder) {}

    void MakePicsFolder()
    {
        if (!FolderExists(pics_) && !QDir().mkdir(pics_))
            failures_ << pics_ + QStringLiteral(": the folder could not be created");
    }

    void CopyData(const QString& source, const QString& destination)
    {
        if (!CopyFileOver(source, destination))
            failures_ << destination + QStringLiteral(": could not copy ") + source;
    }

    void CopyLinePictures(const QString& colour, std::initializer_list<const char*> names)
    {
        const QString folder = LineColourFolder(colour);
        for (const char* name : names) {
            const QString fileName = QLatin1String(name);
            if (folder.isEmpty()) {
                failures_ << JoinPath(pics_, fileName) + QStringLiteral(": there is no line colour folder named ") +
                                 colour;
            } else {
                CopyData(JoinPath(folder, fileName), JoinPath(pics_, fileName));
            }
        }
    }

    void CopyPicture(const QString& picture)
    {
        if (picture.isEmpty() || copied_.contains(picture))
            return;
        copied_.insert(picture, true);
        if (!CopyPictureTo(picture, pics_))
            failures_ << JoinPath(pics_, FileNameOf(picture)) + QStringLiteral(": could not copy ") + picture;
    }

    const QStringList& Failures() const { return failures_; }

private:
    QString pics_;
    QStringList failures_;
    QHash<QString, bool> copied_;
};

} // namespace

QString ExportErrorMessage(const QString& folder, const QString& reason)
{
    return QStringLiteral("There was an error trying to export to the directory: ") + folder + QLatin1Char('\r') +
           QStringLiteral("Reason: ") + reason;
}

QString ExportFailuresMessage(const QString& folder, const QStringList& failures)
{
    QStringList lines;
    lines << QStringLiteral("Not everything could be exported to the directory: ") + folder
          << QStringLiteral("These could not be written or copied:");
    lines << failures.mid(0, kListedFailures);
    if (failures.size() > kListedFailures)
        lines << QStringLiteral("... and %1 more.").arg(failures.size() - kListedFailures);
    return lines.join(QLatin1Char('\r'));
}

ExportResult ExportTree(TreeDocument& document, const QString& folder, bool browserSwitch, UserInterface& ui)
{
    ExportResult result;
    QSaveFile file(JoinPath(folder, QStringLiteral("custom.js")));
    QString reason;
    if (!OpenScript(file, reason)) {
        ui.ShowMessage(ExportErrorMessage(folder, reason), UserInterface::Icon::Information);
        return result;
    }

    const TreeSettings& settings = document.Settings();
    const QString data = DataFolder();
    const QString lines = JoinPath(data, QStringLiteral("TreeLines"));
    const QString pics = JoinPath(folder, QStringLiteral("treePics"));
    PictureCopier copier(pics);
    copier.MakePicsFolder();
    copier.CopyData(JoinPath(data, QStringLiteral("tree.html")), JoinPath(folder, QStringLiteral("tree.html")));
    copier.CopyData(JoinPath(lines, QStringLiteral("2x2.gif")), JoinPath(pics, QStringLiteral("2x2.gif")));
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
    writer.WriteLine(document.RootStatement());

    // One pre-order walk builds, writes and copies every item; paths and
    // parent numbers come with the walk, so the export stays linear.
    bool hasItems = false;
    const TreeNode* brokenItem = nullptr; // a node whose Tag names no record
    WalkItems(document, [&](TreeNode* node, const QString& path, int parentRow) {
        hasItems = true;
        if (!document.HasRecord(node->Tag()) || node->Tag() == 1) {
            brokenItem = node;
            return false;
        }
        ItemRecord& record = document.RecordOf(node);
        record.ScriptLine = ItemStatementText(record, settings, path, parentRow);
        writer.WriteLine(record.ScriptLine);
        if (!record.UseGlobalBNonExpanded)
            copier.CopyPicture(record.BNonExpanded);
        if (!record.UseGlobalBExpanded)
            copier.CopyPicture(record.BExpanded);
        copier.CopyPicture(record.MouseOutPic);
        copier.CopyPicture(record.MouseOverPic);
        return writer.Ok();
    });

    const bool written = writer.Finish() && !brokenItem;
    if (written && file.commit()) {
        result.Opened = true;
    } else {
        reason =
            brokenItem ? QStringLiteral("The item \"%1\" has no record.").arg(brokenItem->Text()) : file.errorString();
        file.cancelWriting();
        ui.ShowMessage(ExportErrorMessage(folder, reason), UserInterface::Icon::Information);
    }

    result.Failures = copier.Failures();
    if (!result.Failures.isEmpty())
        ui.ShowMessage(ExportFailuresMessage(folder, result.Failures), UserInterface::Icon::Information);
    if (!result.Opened)
        result.Failures << file.fileName() + QStringLiteral(": ") + reason;

    result.HasItems = hasItems;
    if (result.Complete())
        document.SetTreeChanged(false);
    return result;
}

} // namespace vi

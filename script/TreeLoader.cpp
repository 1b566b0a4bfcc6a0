#include "script/TreeLoader.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ScriptLines.h"
#include "script/ScriptParser.h"
#include "script/ScriptText.h"
#include "script/TreeBuilder.h"
#include "script/UserInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <functional>

namespace vi {

namespace {

QString ForeignFileMessage()
{
    return QCoreApplication::translate("TreeLoader", "This file was not created by %1.  Unable to load.")
        .arg(ProductName());
}

// A file edited by hand may have lost an item that others name as their
// parent: those lines are left out, and exporting over the file would drop
// them for good, so the user is told.
QString LeftOutMessage(int count)
{
    return QCoreApplication::translate("TreeLoader",
                                       "%n item(s) of this file could not be placed in the tree and were left out: "
                                       "each names a parent item that does not come before it in the file.",
                                       nullptr, count);
}

QString VersionQuestion()
{
    return QCoreApplication::translate("TreeLoader", "This file was not created by your current %1 software version.\r"
                                                     "This file may not load correctly.\r\rContinue to load tree?")
        .arg(ProductName());
}

QString ScriptFolderOf(const QString& path)
{
    // A bare or relative name still needs a real folder for the pictures.
    if (QDir::isRelativePath(path))
        return FolderOf(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    return FolderOf(path);
}

// Loads the bytes; release(upTo) is told when the bytes before upTo are done with.
LoadResult LoadBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui,
                     const std::function<void(qsizetype)>& release)
{
    LoadResult result;
    ScriptParser parser(ScriptFolderOf(path));
    document.NewTree();
    TreeBuilder builder(document);
    // Room for as many items as the file has lines, up to the limit.
    builder.Reserve(CountScriptLines(bytes));
    bool bulk = false;
    SplitScriptLines(
        bytes,
        [&](QStringView line) {
            using Kind = ScriptParser::LineKind;
            switch (parser.Read(line)) {
            case Kind::Generator:
                if (parser.Value().compare(ProductName().trimmed(), Qt::CaseInsensitive) != 0) {
                    ui.ShowMessage(ForeignFileMessage(), UserInterface::Icon::Information);
                    result.ForeignGenerator = true;
                    return false;
                }
                break;
            case Kind::Version:
                if (parser.Value().compare(AppVersion().trimmed(), Qt::CaseInsensitive) != 0
                    && ui.Ask(VersionQuestion(), UserInterface::Buttons::YesNo) != UserInterface::Answer::Yes) {
                    result.VersionDeclined = true;
                    return false;
                }
                break;
            case Kind::HeaderEnd:
                // The body may add thousands of nodes: observers get one reset.
                // No question is asked from here on, so no box opens mid-change.
                document.BeginBulkChange();
                bulk = true;
                break;
            case Kind::Item:
                ++result.ItemLines;
                builder.Add(parser.Item());
                break;
            default:
                break;
            }
            return true;
        },
        release);
    builder.Finish(parser.Settings(), parser.RootStatement());
    if (bulk)
        document.EndBulkChange();
    document.SetTreeChanged(false);
    result.Opened = true;
    result.ItemsAdded = builder.ItemsAdded();
    result.ItemsLeftOut = builder.ItemsLeftOut();
    result.TooManyItems = builder.TooManyItems();
    if (result.TooManyItems)
        ui.ShowMessage(kTooManyItemsMessage);
    if (result.ItemsLeftOut > 0)
        ui.ShowMessage(LeftOutMessage(result.ItemsLeftOut));
    return result;
}

} // namespace

LoadResult LoadTreeScriptBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui)
{
    return LoadBytes(document, bytes, path, ui, {});
}

LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui)
{
    QString reason;
    ScriptBytes bytes;
    if (!ReadScriptFile(path, false, bytes, reason)) {
        ui.ShowMessage(
            QCoreApplication::translate("TreeLoader", "Unable to open the file: %1\rReason: %2").arg(path, reason),
            UserInterface::Icon::Information);
        return {};
    }
    return LoadBytes(document, bytes.Bytes(), path, ui, [&bytes](qsizetype upTo) { bytes.Release(upTo); });
}

} // namespace vi

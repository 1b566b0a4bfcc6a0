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
#include <memory>
#include <optional>

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

QString NotAMenuMessage()
{
    return QCoreApplication::translate("TreeLoader", "This file is not a menu made by %1.  Unable to load.")
        .arg(ProductName());
}

// The whole document of another, which takes its place in one step: the
// replaced tree goes where a new tree's would (the history keeps it for undo).
void ReplaceContent(TreeDocument& document, TreeDocument& loaded)
{
    auto content = std::make_unique<TreeDocument::Content>();
    loaded.SwapContent(content);
    document.NewTree();
    document.SwapContent(content);
}

// Loads the bytes; release(upTo) is told when the bytes before upTo are done with.
LoadResult LoadBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui,
                     const std::function<void(qsizetype)>& release)
{
    LoadResult result;
    ScriptParser parser(ScriptFolderOf(path));
    TreeDocument loaded;
    TreeBuilder builder(loaded);
    // Room for as many items as the file has lines, up to the limit.
    builder.Reserve(CountScriptLines(bytes));
    bool generator = false;
    std::optional<LoadOutcome> stopped;
    SplitScriptLines(
        bytes,
        [&](QStringView line) {
            using Kind = ScriptParser::LineKind;
            switch (parser.Read(line)) {
            case Kind::Generator:
                if (parser.Value().compare(ProductName().trimmed(), Qt::CaseInsensitive) != 0) {
                    ui.ShowMessage(ForeignFileMessage(), UserInterface::Icon::Information);
                    stopped = LoadOutcome::Refused;
                }
                generator = true;
                break;
            case Kind::Version:
                if (parser.Value().compare(AppVersion().trimmed(), Qt::CaseInsensitive) != 0
                    && ui.Ask(VersionQuestion(), UserInterface::Buttons::YesNo) != UserInterface::Answer::Yes)
                    stopped = LoadOutcome::Declined;
                break;
            case Kind::Item:
                ++result.ItemLines;
                builder.Add(parser.Item());
                break;
            default:
                break;
            }
            return !stopped;
        },
        release);
    result.ItemsAdded = builder.ItemsAdded();
    result.ItemsLeftOut = builder.ItemsLeftOut();
    if (stopped) {
        result.Outcome = *stopped;
        return result;
    }
    // An empty file, a binary one or another script would otherwise become
    // an empty tree, which an export then writes over a real menu.
    if (!generator && builder.ItemsAdded() == 0 && builder.ItemsLeftOut() == 0) {
        ui.ShowMessage(NotAMenuMessage(), UserInterface::Icon::Information);
        return result;
    }
    builder.Finish(parser.Settings(), parser.RootStatement());
    ReplaceContent(document, loaded);
    document.SetTreeChanged(false);
    const bool whole = !builder.TooManyItems() && builder.ItemsLeftOut() == 0;
    result.Outcome = whole ? LoadOutcome::Loaded : LoadOutcome::LeftItemsOut;
    if (builder.TooManyItems())
        ui.ShowMessage(kTooManyItemsMessage);
    if (builder.ItemsLeftOut() > 0)
        ui.ShowMessage(LeftOutMessage(builder.ItemsLeftOut()));
    return result;
}

} // namespace

LoadResult LoadTreeScriptBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui)
{
    return LoadBytes(document, bytes, path, ui, {});
}

LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui, LoadSource source)
{
    QString reason;
    ScriptBytes bytes;
    if (!ReadScriptFile(path, source == LoadSource::RegularFile, bytes, reason)) {
        ui.ShowMessage(
            QCoreApplication::translate("TreeLoader", "Unable to open the file: %1\rReason: %2").arg(path, reason),
            UserInterface::Icon::Information);
        return {};
    }
    return LoadBytes(document, bytes.Bytes(), path, ui, [&bytes](qsizetype upTo) { bytes.Release(upTo); });
}

} // namespace vi

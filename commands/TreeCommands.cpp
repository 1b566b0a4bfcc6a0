#include "commands/TreeCommands.h"

#include "commands/DocumentFile.h"
#include "commands/EditHistory.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "script/UserInterface.h"

#include <QDir>

namespace vi {

namespace {

void Load(TreeDocument& document, const QString& path, UserInterface& ui, DocumentFile* file)
{
    // Taken before the load: a change while it reads counts as a change since.
    const FileFingerprint before = file ? FingerprintOf(path) : FileFingerprint{};
    if (LoadTreeScript(document, path, ui).Replaced() && file)
        file->Remember(path, before);
}

} // namespace

bool AskToExportChanges(TreeDocument& document, UserInterface& ui, DocumentFile* file)
{
    if (!document.TreeChanged())
        return false;
    switch (ui.Ask(kExportChangesQuestion, UserInterface::Buttons::YesNoCancel)) {
    case UserInterface::Answer::Yes:
        ExportTreeCommand(document, ui, file);
        // Changes that did not reach a file must not be thrown away by the caller.
        return document.TreeChanged();
    case UserInterface::Answer::No:
        return false;
    case UserInterface::Answer::Cancel:
        break;
    }
    return true;
}

void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history, DocumentFile* file)
{
    if (AskToExportChanges(document, ui, file))
        return;
    if (history)
        history->NameNextReplace(kNewTreeStep);
    document.NewTree();
    if (file)
        file->Leave();
}

void LoadTreeCommand(TreeDocument& document, UserInterface& ui, DocumentFile* file)
{
    if (AskToExportChanges(document, ui, file))
        return;
    // The dialog opens where the user last worked, never in the program's folder.
    const std::optional<QString> path = ui.ChooseFileToLoad(kLoadDialogTitle, kLoadDialogFilter, QString());
    if (!path)
        return;
    Load(document, *path, ui, file);
}

void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui, DocumentFile* file)
{
    if (!AskToExportChanges(document, ui, file))
        Load(document, path, ui, file);
}

void ExportTreeCommand(TreeDocument& document, UserInterface& ui, DocumentFile* file)
{
    if (document.NodeCount() < 2) {
        ui.ShowMessage(kNoTreeToExportMessage);
        return;
    }
    const std::optional<QString> folder = ui.ChooseExportFolder();
    if (!folder)
        return;
    ExportTreeToFolder(document, *folder, ui, file);
}

bool ExportTreeToFolder(TreeDocument& document, const QString& folder, UserInterface& ui, DocumentFile* file)
{
    if (document.NodeCount() < 2) {
        ui.ShowMessage(kNoTreeToExportMessage);
        return false;
    }
    if (file && file->ChangedSince(folder)
        && ui.Ask(kScriptChangedQuestion.Text().arg(QDir::toNativeSeparators(DocumentFile::ScriptIn(folder))),
                  UserInterface::Buttons::YesNo)
               != UserInterface::Answer::Yes)
        return false;
    const ExportResult result = ExportTree(document, folder, false, ui);
    if (file && result.Written)
        file->Remember(DocumentFile::ScriptIn(folder), result.Script);
    return result.Complete();
}

void EditTreeProperties(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    ui.ProcessPendingEvents();
    TreeSettings edited = document.Settings();
    if (!ui.EditTreeSettings(edited))
        return;
    const TreeSettings before = document.Settings();
    const QString rootBefore = document.RootStatement();
    document.Settings() = edited;
    document.SetRootStatement(BuildRootStatement(document.Settings()));
    Commit(document, history, SettingsStep(kTreePropertiesStep, document, before, rootBefore));
}

} // namespace vi

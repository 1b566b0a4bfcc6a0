#include "commands/TreeCommands.h"

#include "commands/EditHistory.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "script/UserInterface.h"

namespace vi {

bool AskToExportChanges(TreeDocument& document, UserInterface& ui)
{
    if (!document.TreeChanged())
        return false;
    switch (ui.Ask(kExportChangesQuestion, UserInterface::Buttons::YesNoCancel)) {
    case UserInterface::Answer::Yes:
        ExportTreeCommand(document, ui);
        // Changes that did not reach a file must not be thrown away by the caller.
        return document.TreeChanged();
    case UserInterface::Answer::No:
        return false;
    case UserInterface::Answer::Cancel:
        break;
    }
    return true;
}

void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    if (AskToExportChanges(document, ui))
        return;
    if (history)
        history->NameNextReplace(kNewTreeStep);
    document.NewTree();
}

void LoadTreeCommand(TreeDocument& document, UserInterface& ui)
{
    if (AskToExportChanges(document, ui))
        return;
    // The dialog opens where the user last worked, never in the program's folder.
    const std::optional<QString> path = ui.ChooseFileToLoad(kLoadDialogTitle, kLoadDialogFilter, QString());
    if (!path)
        return;
    LoadTreeScript(document, *path, ui);
}

void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui)
{
    if (!AskToExportChanges(document, ui))
        LoadTreeScript(document, path, ui);
}

void ExportTreeCommand(TreeDocument& document, UserInterface& ui)
{
    if (document.NodeCount() < 2) {
        ui.ShowMessage(kNoTreeToExportMessage);
        return;
    }
    const std::optional<QString> folder = ui.ChooseExportFolder(QString());
    if (!folder)
        return;
    ExportTree(document, *folder, false, ui);
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

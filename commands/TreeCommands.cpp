#include "commands/TreeCommands.h"

#include "commands/DocumentPlace.h"
#include "commands/EditSteps.h"
#include "commands/MissingPictures.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "script/UserInterface.h"

#include <QDir>

namespace vi {

namespace {

void ExportInto(TreeDocument& document, const QString& folder, UserInterface& ui, DocumentPlace* place)
{
    if (place && place->ChangedSince(folder)
        && ui.Ask(kScriptChangedQuestion.Text().arg(QDir::toNativeSeparators(DocumentPlace::ScriptIn(folder))),
                  UserInterface::Buttons::YesNoDefaultNo)
               != UserInterface::Answer::Yes)
        return;
    const ExportResult result = ExportTree(document, folder, false, ui);
    if (place && result.Written) {
        place->Remember(DocumentPlace::ScriptIn(folder), result.Script);
        place->Exported(folder, document.NodeCount() - 1, result.Complete());
    }
}

void LoadFile(TreeDocument& document, const QString& path, UserInterface& ui, DocumentPlace* place)
{
    // Taken before the load: a change while it reads counts as a change since.
    const FileFingerprint before = place ? FingerprintOf(path) : FileFingerprint{};
    const LoadResult result = LoadTreeScript(document, path, ui);
    if (!result.Replaced())
        return;
    if (place) {
        place->Remember(path, before);
        place->Loaded(path, result.Outcome == LoadOutcome::Loaded);
    }
    // Said once here, not at every preview and export.
    const QStringList missing = MissingPictures(document);
    if (!missing.isEmpty())
        ui.ShowMessage(MissingPicturesMessage(missing));
}

} // namespace

bool AskToExportChanges(TreeDocument& document, UserInterface& ui, DocumentPlace* place)
{
    if (!document.TreeChanged())
        return false;
    switch (ui.Ask(kExportChangesQuestion, UserInterface::Buttons::YesNoCancel)) {
    case UserInterface::Answer::Yes:
        // As the export command the user would run: into the document's folder when it has one.
        if (place)
            SaveTreeCommand(document, ui, *place);
        else
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

void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history, DocumentPlace* place)
{
    if (AskToExportChanges(document, ui, place))
        return;
    if (history)
        history->NameNextReplace(kNewTreeStep);
    document.NewTree();
}

void LoadTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace* place)
{
    if (AskToExportChanges(document, ui, place))
        return;
    // The dialog opens where the user last worked, never in the program's folder.
    const std::optional<QString> path = ui.ChooseFileToLoad(kLoadDialogTitle, kLoadDialogFilter, QString());
    if (!path)
        return;
    LoadFile(document, *path, ui, place);
}

void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui, DocumentPlace* place)
{
    if (!AskToExportChanges(document, ui, place))
        LoadFile(document, path, ui, place);
}

void ExportTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace* place)
{
    if (document.NodeCount() < 2) {
        ui.ShowMessage(kNoTreeToExportMessage);
        return;
    }
    // A tree with no folder of its own opens the chooser with none chosen.
    const std::optional<QString> folder = ui.ChooseExportFolder(place ? place->Folder() : QString());
    if (!folder)
        return;
    ExportInto(document, *folder, ui, place);
}

void SaveTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace& place)
{
    if (place.Folder().isEmpty() || !FolderExists(place.Folder()) || document.NodeCount() < 2) {
        ExportTreeCommand(document, ui, &place);
        return;
    }
    ExportInto(document, place.Folder(), ui, &place);
}

void EditTreeProperties(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    ui.ProcessPendingEvents();
    TreeSettings edited = document.Settings();
    if (!ui.EditTreeSettings(edited))
        return;
    QString rootStatement = BuildRootStatement(edited);
    Run(document, history, SettingsStep(kTreePropertiesStep, document, std::move(edited), std::move(rootStatement)));
}

} // namespace vi

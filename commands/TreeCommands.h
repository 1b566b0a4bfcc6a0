#pragma once
#include "document/TranslatableText.h"

#include <QString>

namespace vi {

class DocumentFile;
class EditHistory;
class TreeDocument;
class UserInterface;

inline constexpr TranslatableText kExportChangesQuestion{
    "TreeCommands", QT_TRANSLATE_NOOP("TreeCommands", "Do you want to Export any unsaved changes?")};
inline constexpr TranslatableText kNoTreeToExportMessage{
    "TreeCommands", QT_TRANSLATE_NOOP("TreeCommands", "No tree to export.  Please create or load one.")};
inline constexpr TranslatableText kLoadDialogTitle{"TreeCommands",
                                                   QT_TRANSLATE_NOOP("TreeCommands", "Load Custom JavaScript Tree..")};
inline constexpr TranslatableText kLoadDialogFilter{"TreeCommands",
                                                    QT_TRANSLATE_NOOP("TreeCommands", "Custom Tree File (*.js)|*.js")};
inline constexpr TranslatableText kScriptChangedQuestion{
    "TreeCommands", QT_TRANSLATE_NOOP("TreeCommands", "%1 has changed since it was loaded or last exported here, "
                                                      "perhaps by another editor.\rReplace it with this tree?")};

// With a DocumentFile, the commands remember what they loaded and exported,
// and an export asks before it replaces a custom.js that changed on disk
// since (another editor's work); without one nobody is asked.

// Asks whether to export unexported changes before they would be lost. True
// when the caller must stop: the user cancelled, or chose to export and the
// changes are still unexported (chooser cancelled, nothing to export, export failed).
bool AskToExportChanges(TreeDocument& document, UserInterface& ui, DocumentFile* file = nullptr);
// With a history, a new tree keeps the one it replaces as a step (so does a
// load, through the history's watch on the document), and confirmed tree
// properties become a step.
void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr,
                    DocumentFile* file = nullptr);
void LoadTreeCommand(TreeDocument& document, UserInterface& ui, DocumentFile* file = nullptr);
// The load command for a file already chosen (the editor's command line).
void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui, DocumentFile* file = nullptr);
void ExportTreeCommand(TreeDocument& document, UserInterface& ui, DocumentFile* file = nullptr);
// The export command for a folder already chosen (file->Folder() exports
// again where the document belongs). True when the export was complete.
bool ExportTreeToFolder(TreeDocument& document, const QString& folder, UserInterface& ui, DocumentFile* file = nullptr);
void EditTreeProperties(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);

} // namespace vi

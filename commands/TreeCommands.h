#pragma once
#include "document/TranslatableText.h"

#include <QString>

namespace vi {

class DocumentPlace;
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

// With a place, loads and exports give the document its folder (DocumentPlace),
// and an export asks before it replaces a custom.js that changed on disk since
// this editor loaded or exported it (another editor's work); without a place
// nobody is asked, as in the command-line tool.

// Asks whether to export unexported changes before they would be lost; Yes
// exports as SaveTreeCommand does when there is a place. True
// when the caller must stop: the user cancelled, or chose to export and the
// changes are still unexported (chooser cancelled, nothing to export, export failed).
bool AskToExportChanges(TreeDocument& document, UserInterface& ui, DocumentPlace* place = nullptr);
// With a history, a new tree keeps the one it replaces as a step (so does a
// load, through the history's watch on the document), and confirmed tree
// properties become a step.
void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr,
                    DocumentPlace* place = nullptr);
void LoadTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace* place = nullptr);
// The load command for a file already chosen (the command line, recent files).
void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui,
                         DocumentPlace* place = nullptr);
// Exports into a folder the user chooses, always.
void ExportTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace* place = nullptr);
// Exports again into the document's folder; asks for one only when the
// document has none or it is gone.
void SaveTreeCommand(TreeDocument& document, UserInterface& ui, DocumentPlace& place);
void EditTreeProperties(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);

} // namespace vi

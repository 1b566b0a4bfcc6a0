#pragma once
#include "document/TranslatableText.h"

#include <QString>

namespace vi {

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

// Asks whether to export unexported changes before they would be lost. True
// when the caller must stop: the user cancelled, or chose to export and the
// changes are still unexported (chooser cancelled, nothing to export, export failed).
bool AskToExportChanges(TreeDocument& document, UserInterface& ui);
// With a history, a new tree keeps the one it replaces as a step (so does a
// load, through the history's watch on the document), and confirmed tree
// properties become a step.
void NewTreeCommand(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);
void LoadTreeCommand(TreeDocument& document, UserInterface& ui);
// The load command for a file already chosen (the editor's command line).
void LoadTreeFileCommand(TreeDocument& document, const QString& path, UserInterface& ui);
void ExportTreeCommand(TreeDocument& document, UserInterface& ui);
void EditTreeProperties(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);

} // namespace vi

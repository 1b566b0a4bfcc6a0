#include "commands/TreeCommands.h"

#include "document/TreeDocument.h"

// Placeholder until the tree commands land.
namespace vi {
bool AskToExportChanges(TreeDocument& document, UserInterface&) { return document.TreeChanged(); }
void NewTreeCommand(TreeDocument&, UserInterface&) {}
void LoadTreeCommand(TreeDocument&, UserInterface&) {}
void ExportTreeCommand(TreeDocument&, UserInterface&) {}
void EditTreeProperties(TreeDocument&, UserInterface&) {}
} // namespace vi

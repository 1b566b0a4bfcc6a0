#pragma once

namespace vi {

class TreeDocument;
class UserInterface;

// Asks whether to export unexported changes; true when the caller must stop.
bool AskToExportChanges(TreeDocument& document, UserInterface& ui);
void NewTreeCommand(TreeDocument& document, UserInterface& ui);
void LoadTreeCommand(TreeDocument& document, UserInterface& ui);
void ExportTreeCommand(TreeDocument& document, UserInterface& ui);
void EditTreeProperties(TreeDocument& document, UserInterface& ui);

} // namespace vi

#include "commands/ItemCommands.h"

// Placeholder until the item commands land.
namespace vi {
void NewItem(TreeDocument&, UserInterface&) {}
void DeleteItem(TreeDocument&, UserInterface&) {}
void EditItemProperties(TreeDocument&, UserInterface&) {}
void MoveItem(TreeDocument&, bool) {}
} // namespace vi

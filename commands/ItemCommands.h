#pragma once

namespace vi {

class TreeDocument;
class UserInterface;

// The commands that change single items; each works on the selected node.
void NewItem(TreeDocument& document, UserInterface& ui);
void DeleteItem(TreeDocument& document, UserInterface& ui);
void EditItemProperties(TreeDocument& document, UserInterface& ui);
void MoveItem(TreeDocument& document, bool up);

} // namespace vi

#pragma once
#include "document/TranslatableText.h"

#include <QString>

namespace vi {

class EditHistory;
class TreeDocument;
class UserInterface;

inline constexpr TranslatableText kSelectParentMessage{
    "ItemCommands", QT_TRANSLATE_NOOP("ItemCommands", "Please select an item in the tree to create a new item under.")};
inline constexpr TranslatableText kLeafParentMessage{
    "ItemCommands",
    QT_TRANSLATE_NOOP("ItemCommands",
                      "You can not create items under a Leaf item.  You must set the item to Branch first.")};
inline constexpr TranslatableText kSelectToDeleteMessage{
    "ItemCommands", QT_TRANSLATE_NOOP("ItemCommands", "Please select an item in the tree to delete.")};
inline constexpr TranslatableText kDeleteRootMessage{
    "ItemCommands",
    QT_TRANSLATE_NOOP("ItemCommands", "You can not delete the root item.  You must create your tree off of it.")};
inline constexpr TranslatableText kBranchNotEmptyMessage{
    "ItemCommands",
    QT_TRANSLATE_NOOP("ItemCommands", "You must delete the items contained in this branch before you can delete it.")};
inline constexpr TranslatableText kNoPropertiesMessage{
    "ItemCommands", QT_TRANSLATE_NOOP("ItemCommands", "There are no properties for this item.")};

// The commands that change single items; each works on the selected node.
// With a history, each change they make becomes one step of it.

// Adds an item under the selected root or branch and opens its dialog; a
// cancelled dialog takes the new item away again.
void NewItem(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);
// Deletes the selected item, which must hold no sub-items.
void DeleteItem(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);
// Opens the selected item's dialog and stores it on OK.
void EditItemProperties(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);
// Moves the selected item, with its sub-items, one place up or down among its
// siblings; the selection stays on it. Does nothing at either end.
void MoveItem(TreeDocument& document, bool up, EditHistory* history = nullptr);

} // namespace vi

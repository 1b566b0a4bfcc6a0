#pragma once
#include "commands/EditHistory.h"
#include "document/TranslatableText.h"

#include <memory>

namespace vi {

// The names of the steps, as the Edit menu shows them after "Undo " and "Redo ".
inline constexpr TranslatableText kNewItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "New Item")};
inline constexpr TranslatableText kDeleteItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Delete Item")};
inline constexpr TranslatableText kItemPropertiesStep{"EditHistory",
                                                      QT_TRANSLATE_NOOP("EditHistory", "Item Properties")};
inline constexpr TranslatableText kMoveUpStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Up")};
inline constexpr TranslatableText kMoveDownStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Down")};
inline constexpr TranslatableText kMoveItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Item")};
inline constexpr TranslatableText kRenameStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Rename")};
inline constexpr TranslatableText kTreePropertiesStep{"EditHistory",
                                                      QT_TRANSLATE_NOOP("EditHistory", "Tree Properties")};
inline constexpr TranslatableText kNewTreeStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "New Tree")};
inline constexpr TranslatableText kLoadTreeStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Load Tree")};
inline constexpr TranslatableText kCutStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Cut")};
inline constexpr TranslatableText kPasteStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Paste")};
inline constexpr TranslatableText kDropStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Drop")};

// The steps the commands build; Run (or the history) makes each change.

// Puts items in at the positions and Tags they name, and selects the top.
std::unique_ptr<EditStep> InsertItemsStep(const QString& name, Subtree items);
// Removes an item with its record and subtree.
std::unique_ptr<EditStep> RemoveItemStep(const QString& name, const TreeDocument& document, const TreeNode* top);
// Gives an item another record; its label becomes the record's FriendlyName.
std::unique_ptr<EditStep> RecordStep(const QString& name, const TreeDocument& document, const TreeNode* node,
                                     ItemRecord after);
// Gives the tree other settings and root statement.
std::unique_ptr<EditStep> SettingsStep(const QString& name, const TreeDocument& document, TreeSettings after,
                                       QString rootStatementAfter);
// Moves an item with its subtree under a parent at a row counted after the
// move; nothing when the move is not possible or changes nothing.
std::unique_ptr<EditStep> MoveItemStep(const QString& name, const TreeNode* node, const TreeNode* parent, int row);
// A whole tree that New Tree or a load replaced, swapped back by undo and in again by redo.
std::unique_ptr<EditStep> ReplaceTreeStep(const QString& name, std::unique_ptr<TreeDocument::Content> replaced);

} // namespace vi

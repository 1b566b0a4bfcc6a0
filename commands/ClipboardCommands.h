#pragma once
#include <QByteArray>
#include <QString>

namespace vi {

class EditHistory;
class TreeDocument;
class TreeNode;
class UserInterface;

inline const QString kSelectToCopyMessage = QStringLiteral("Please select an item in the tree to copy.");
inline const QString kSelectToCutMessage = QStringLiteral("Please select an item in the tree to cut.");
inline const QString kCopyRootMessage = QStringLiteral("You can not copy or cut the root item.");
inline const QString kNothingToPasteMessage = QStringLiteral("There are no items on the clipboard to paste.");

// The clipboard's format for items of this editor.
inline const QString kItemsMimeType = QStringLiteral("application/x-vuvov-ivoza-items");

// Puts the selected item with its sub-items on the clipboard.
void CopyItem(TreeDocument& document, UserInterface& ui);
// Copies the selected item with its sub-items, then removes them.
void CutItem(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);
// Adds the items on the clipboard as the last child of the selected root or
// branch, under the rules of New Item.
void PasteItem(TreeDocument& document, UserInterface& ui, EditHistory* history = nullptr);

// The items of a subtree in the clipboard format. It holds every value of
// every record, so another running editor can paste it, and names the
// document it came from, so a drop within that document moves instead.
QByteArray EncodeItems(const TreeDocument& document, const TreeNode* top);
// The labels of a subtree, one a line, indented by a tab per level.
QString ItemsAsText(const TreeNode* top);

// Whether items dragged as payload may be dropped under parent before row
// (-1: as its last child): never under a Leaf, never the root, never a
// branch into itself, never past the item limit.
bool CanDropItems(const TreeDocument& document, const QByteArray& payload, const TreeNode* parent, int row);
// Drops them there: items from this document move, with their sub-items, as
// one step and stay selected; items from another editor are added as a copy,
// checked as a paste is (a refusal is told through ui, when given).
bool DropItems(TreeDocument& document, EditHistory* history, const QByteArray& payload, TreeNode* parent, int row,
               UserInterface* ui = nullptr);

} // namespace vi

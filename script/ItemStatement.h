#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

namespace vi {

class TreeDocument;
class TreeNode;
struct ItemRecord;
struct TreeSettings;

// The script path of a node, e.g. menuBase.menuItems[1].subMenu[2]; empty for the root.
QString ItemScriptPath(const TreeNode* node);
// The number, in the pre-order item walk, of the node's parent; 0 under the root.
int ParentItemRow(const TreeDocument& document, const TreeNode* node);

// The path of the child at a 0-based row under a parent whose path is given
// (empty for the root).
QString ChildScriptPath(const QString& parentPath, int row);

// "treePics/" and the file name of a stored picture path; empty for an empty path.
QString PictureReference(const QString& picturePath);

// The whole statement line of an item: path, the menuItemObject call with its
// ten arguments and the marker. Tree-wide values are taken from settings.
QString ItemStatementText(const ItemRecord& record, const TreeSettings& settings, const QString& path, int parentRow);
// The same line as the UTF-8 bytes that custom.js holds.
QByteArray ItemStatementBytes(const ItemRecord& record, const TreeSettings& settings, const QString& path,
                              int parentRow);
// The same bytes in a buffer of the calling thread's, valid until its next call.
QByteArrayView ItemStatementView(const ItemRecord& record, const TreeSettings& settings, const QString& path,
                                 int parentRow);

// Visits every item in the order of its statement (pre-order: a parent before
// its children, a subtree before the next sibling) with its script path and
// its parent's number in that order (0 under the root). Iterative, so a deep
// tree cannot exhaust the stack. The visitor returns false to stop the walk.
// path is the walk's own buffer, rewritten for the next item: copy it to keep it.
using ItemVisitor = std::function<bool(TreeNode* node, const QString& path, int parentRow)>;
void WalkItems(const TreeDocument& document, const ItemVisitor& visit);

} // namespace vi

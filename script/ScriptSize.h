#pragma once
#include <QtGlobal>

namespace vi {

class TreeDocument;
class TreeNode;
struct Subtree;

// The bytes of the custom.js that a user's export would write for the
// document with items (a subtree not in it, its Parent links set) added under
// parent at row, or for the document alone when items holds none. Counted
// without building the file or any item's path, so a tree far too deep to
// write costs no more than its items; the count stops once it passes limit.
qint64 ScriptBytesWith(const TreeDocument& document, const Subtree& items, const TreeNode* parent, int row,
                       qint64 limit);

} // namespace vi

#pragma once
#include <QString>

namespace vi {

class TreeDocument;
class TreeNode;

// The script path of a node, e.g. menuBase.menuItems[1].subMenu[2].
QString ItemScriptPath(const TreeNode* node);
// The number, in the pre-order item walk, of the node's parent; 0 under the root.
int ParentItemRow(const TreeDocument& document, const TreeNode* node);
// Rebuilds the ScriptLine of the record of the node at a collection position.
void BuildItemStatement(TreeDocument& document, int position);

} // namespace vi

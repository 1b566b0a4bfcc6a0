#include "script/ItemStatement.h"

// Placeholder until the statement builders land.
namespace vi {
QString ItemScriptPath(const TreeNode*) { return {}; }
int ParentItemRow(const TreeDocument&, const TreeNode*) { return 0; }
void BuildItemStatement(TreeDocument&, int) {}
} // namespace vi

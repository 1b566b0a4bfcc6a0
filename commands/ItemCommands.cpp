#include "commands/ItemCommands.h"

#include "document/TreeDocument.h"
#include "document/UserInterface.h"
#include "script/ItemStatement.h"

#include <initializer_list>
#include <unordered_set>
#include <vector>

namespace vi {

namespace {

// The item dialog edits a copy, so that only a confirmed dialog reaches the document.
bool EditRecord(TreeDocument& document, UserInterface& ui, int recordIndex)
{
    ItemRecord edited = document.Record(recordIndex);
    if (!ui.EditItemRecord(edited, document.Settings()))
        return false;
    document.Record(recordIndex) = edited;
    return true;
}

// Rebuilds the statements of the items in the given subtrees, in one walk of
// the tree: a statement names its path and its parent's number in the walk,
// and both change for every item inside a moved subtree.
void BuildSubtreeStatements(TreeDocument& document, std::initializer_list<const TreeNode*> tops)
{
    std::unordered_set<const TreeNode*> pending;
    std::vector<const TreeNode*> stack(tops);
    while (!stack.empty()) {
        const TreeNode* node = stack.back();
        stack.pop_back();
        pending.insert(node);
        stack.insert(stack.end(), node->Children().begin(), node->Children().end());
    }
    WalkItems(document, [&](TreeNode* node, const QString& path, int parentRow) {
        if (pending.erase(node) > 0) {
            ItemRecord& record = document.RecordOf(node);
            record.ScriptLine = ItemStatementText(record, document.Settings(), path, parentRow);
        }
        return !pending.empty();
    });
}

} // namespace

void NewItem(TreeDocument& document, UserInterface& ui)
{
    TreeNode* parent = document.SelectedNode();
    if (!parent) {
        ui.ShowMessage(kSelectParentMessage);
        return;
    }
    if (!parent->IsRoot() && document.RecordOf(parent).ItemType == kLeaf) {
        ui.ShowMessage(kLeafParentMessage);
        return;
    }
    if (!document.CanAddItem()) {
        ui.ShowMessage(kTooManyItemsMessage);
        return;
    }
    const std::optional<int> added = document.AddItemRecord();
    if (!added) {
        ui.ShowMessage(kTooManyItemsMessage);
        return;
    }
    const int k = *added;
    TreeNode* node = document.AddNode(parent, kNoneSpecified, k);
    document.SetExpanded(parent, true);
    document.Select(node);
    const int q = node->Position();
    document.InitItemRecord(k);
    ui.ProcessPendingEvents();

    if (!EditRecord(document, ui, k)) {
        // The new record is the last one, so no other Tag needs renumbering.
        document.RemoveItemRecord(k);
        document.RemoveNode(q);
        document.Select(parent);
        return;
    }
    document.SetText(node, document.Record(k).FriendlyName);
    BuildItemStatement(document, q);
    document.SetTreeChanged(true);
}

void DeleteItem(TreeDocument& document, UserInterface& ui)
{
    const int p = document.SelectedNodeIndex();
    if (p == 0) {
        ui.ShowMessage(kSelectToDeleteMessage);
        return;
    }
    if (p == 1) {
        ui.ShowMessage(kDeleteRootMessage);
        return;
    }
    const TreeNode* node = document.Node(p);
    if (node->ChildCount() > 0) {
        ui.ShowMessage(kBranchNotEmptyMessage);
        return;
    }
    const int k = node->Tag();
    document.RemoveItemRecord(k);
    document.RemoveItemNode(p, k);
    document.SetTreeChanged(true);
}

void EditItemProperties(TreeDocument& document, UserInterface& ui)
{
    const int p = document.SelectedNodeIndex();
    if (p <= 1) {
        ui.ShowMessage(kNoPropertiesMessage);
        return;
    }
    ui.ProcessPendingEvents();
    TreeNode* node = document.Node(p);
    const int k = node->Tag();
    if (!EditRecord(document, ui, k))
        return;
    document.SetText(node, document.Record(k).FriendlyName);
    BuildItemStatement(document, p);
    document.SetTreeChanged(true);
}

void MoveItem(TreeDocument& document, bool up)
{
    TreeNode* node = document.SelectedNode();
    if (!node || node->IsRoot())
        return;
    TreeNode* neighbour = up ? node->PreviousSibling() : node->NextSibling();
    if (!neighbour)
        return;
    document.MoveNode(node, neighbour->Row());
    // Both items trade places in the walk, so every path and parent row inside them changes.
    BuildSubtreeStatements(document, {node, neighbour});
    document.Select(node);
    document.SetTreeChanged(true);
}

} // namespace vi

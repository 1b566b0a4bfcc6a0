#include "commands/ItemCommands.h"

#include "commands/EditHistory.h"
#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "script/UserInterface.h"

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

} // namespace

void NewItem(TreeDocument& document, UserInterface& ui, EditHistory* history)
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
    Commit(document, history, history ? InsertStep(kNewItemStep, document, node) : nullptr);
}

void DeleteItem(TreeDocument& document, UserInterface& ui, EditHistory* history)
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
    Subtree removed = history ? document.CaptureSubtree(node) : Subtree{};
    document.RemoveItemRecord(k);
    document.RemoveItemNode(p, k);
    Commit(document, history, history ? RemoveStep(kDeleteItemStep, std::move(removed)) : nullptr);
}

void EditItemProperties(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    const int p = document.SelectedNodeIndex();
    if (p <= 1) {
        ui.ShowMessage(kNoPropertiesMessage);
        return;
    }
    ui.ProcessPendingEvents();
    TreeNode* node = document.Node(p);
    const int k = node->Tag();
    const ItemRecord before = document.Record(k);
    const QString textBefore = node->Text();
    if (!EditRecord(document, ui, k))
        return;
    document.SetText(node, document.Record(k).FriendlyName);
    BuildItemStatement(document, p);
    Commit(document, history, RecordStep(kItemPropertiesStep, document, node, before, textBefore));
}

void MoveItem(TreeDocument& document, bool up, EditHistory* history)
{
    TreeNode* node = document.SelectedNode();
    if (!node || node->IsRoot())
        return;
    TreeNode* neighbour = up ? node->PreviousSibling() : node->NextSibling();
    if (!neighbour)
        return;
    std::unique_ptr<EditStep> step = MoveWithStatements(up ? kMoveUpStep : kMoveDownStep, document, node,
                                                        node->Parent(), neighbour->Row(), neighbour);
    document.Select(node);
    Commit(document, history, std::move(step));
}

} // namespace vi

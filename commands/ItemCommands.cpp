#include "commands/ItemCommands.h"

#include "commands/EditSteps.h"
#include "document/TreeDocument.h"
#include "script/UserInterface.h"

namespace vi {

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
    // The new item shows in the tree while its dialog is open; the step then
    // puts it in for good, as undo and redo will.
    TreeNode* node = document.AddItem(parent, document.NewItemRecord());
    if (!node) {
        ui.ShowMessage(kTooManyItemsMessage);
        return;
    }
    document.SetExpanded(parent, true);
    document.Select(node);
    ui.ProcessPendingEvents();

    // The dialog edits a copy, so that only a confirmed dialog reaches the document.
    ItemRecord edited = document.RecordOf(node);
    const bool confirmed = ui.EditItemRecord(edited, document.Settings());
    Subtree item = document.RemoveItem(node);
    if (!confirmed) {
        document.Select(parent);
        return;
    }
    item.Items.front().Record = std::move(edited);
    item.Items.front().Text = item.Items.front().Record.FriendlyName;
    Run(document, history, InsertItemsStep(kNewItemStep, std::move(item)));
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
    Run(document, history, RemoveItemStep(kDeleteItemStep, document, node));
}

void EditItemProperties(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    const int p = document.SelectedNodeIndex();
    if (p <= 1) {
        ui.ShowMessage(kNoPropertiesMessage);
        return;
    }
    ui.ProcessPendingEvents();
    const TreeNode* node = document.Node(p);
    ItemRecord edited = document.RecordOf(node);
    if (!ui.EditItemRecord(edited, document.Settings()))
        return;
    Run(document, history, RecordStep(kItemPropertiesStep, document, node, std::move(edited)));
}

void MoveItem(TreeDocument& document, bool up, EditHistory* history)
{
    TreeNode* node = document.SelectedNode();
    if (!node || node->IsRoot())
        return;
    const TreeNode* neighbour = up ? node->PreviousSibling() : node->NextSibling();
    if (!neighbour)
        return;
    Run(document, history, MoveItemStep(up ? kMoveUpStep : kMoveDownStep, node, node->Parent(), neighbour->Row()));
}

} // namespace vi

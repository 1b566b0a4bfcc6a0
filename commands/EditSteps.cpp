#include "commands/EditSteps.h"

#include <initializer_list>
#include <utility>

namespace vi {

namespace {

std::size_t TextBytes(const QString& text) { return static_cast<std::size_t>(text.capacity()) * sizeof(QChar); }

// What a record keeps alive: its own size and its texts, counted as if no
// other record shared them.
std::size_t RecordBytes(const ItemRecord& r)
{
    return sizeof(ItemRecord) + TextBytes(r.ItemType) + TextBytes(r.FriendlyName) + TextBytes(r.BNonExpanded)
           + TextBytes(r.BExpanded) + TextBytes(r.MouseOutPic) + TextBytes(r.MouseOverPic) + TextBytes(r.ItemText)
           + TextBytes(r.FontSize) + TextBytes(r.FontColor) + TextBytes(r.LinkHref) + TextBytes(r.LinkTarget)
           + TextBytes(r.LinkDescription);
}

std::size_t SettingsBytes(const TreeSettings& s)
{
    std::size_t bytes = sizeof(TreeSettings);
    for (const QString* text : {&s.TreeLineColor, &s.TreePMColor, &s.TreeBNonExpanded, &s.TreeBExpanded, &s.TreeLeaf,
                                &s.TreeTarget, &s.TreeBackground, &s.TreeFontSize, &s.TreeFontColor})
        bytes += TextBytes(*text);
    return bytes;
}

std::size_t SubtreeBytes(const Subtree& subtree)
{
    std::size_t bytes = sizeof(Subtree);
    for (const Subtree::Item& item : subtree.Items)
        bytes += sizeof(Subtree::Item) + TextBytes(item.Text) + RecordBytes(item.Record) - sizeof(ItemRecord);
    return bytes;
}

// Inserting and removing a subtree are each other's undo.
class ItemsEdit final : public EditStep {
public:
    ItemsEdit(const QString& name, Subtree items, bool inserts)
        : EditStep(name), items_(std::move(items)), inserts_(inserts)
    {
    }
    void Undo(TreeDocument& document) override { inserts_ ? Remove(document) : Insert(document); }
    void Redo(TreeDocument& document) override { inserts_ ? Insert(document) : Remove(document); }
    std::size_t Cost() const override { return sizeof(*this) + SubtreeBytes(items_); }

private:
    void Insert(TreeDocument& document) const
    {
        if (TreeNode* top = document.InsertItems(items_))
            document.Select(top);
    }
    void Remove(TreeDocument& document) const
    {
        TreeNode* top = document.Node(items_.Items.front().Position);
        if (!top)
            return;
        TreeNode* parent = top->Parent();
        document.RemoveItem(top);
        if (!document.SelectedNode())
            document.Select(parent);
    }

    Subtree items_;
    bool inserts_;
};

class RecordEdit final : public EditStep {
public:
    RecordEdit(const QString& name, const TreeDocument& document, const TreeNode* node, ItemRecord after)
        : EditStep(name), position_(node->Position()), before_(document.RecordOf(node)), after_(std::move(after)),
          textBefore_(node->Text())
    {
    }
    void Undo(TreeDocument& document) override { Apply(document, before_, textBefore_); }
    void Redo(TreeDocument& document) override { Apply(document, after_, after_.FriendlyName); }
    std::size_t Cost() const override
    {
        return sizeof(*this) + RecordBytes(before_) + RecordBytes(after_) + TextBytes(textBefore_);
    }

private:
    void Apply(TreeDocument& document, const ItemRecord& record, const QString& text) const
    {
        TreeNode* node = document.Node(position_);
        if (!node || !document.HasRecord(node->Tag()))
            return;
        document.RecordOf(node) = record;
        document.SetText(node, text);
        document.Select(node);
    }

    int position_;
    ItemRecord before_, after_;
    QString textBefore_;
};

class SettingsEdit final : public EditStep {
public:
    SettingsEdit(const QString& name, const TreeDocument& document, TreeSettings after, QString rootAfter)
        : EditStep(name), before_(document.Settings()), after_(std::move(after)), rootBefore_(document.RootStatement()),
          rootAfter_(std::move(rootAfter))
    {
    }
    void Undo(TreeDocument& document) override
    {
        document.Settings() = before_;
        document.SetRootStatement(rootBefore_);
    }
    void Redo(TreeDocument& document) override
    {
        document.Settings() = after_;
        document.SetRootStatement(rootAfter_);
    }
    std::size_t Cost() const override
    {
        return sizeof(*this) + SettingsBytes(before_) + SettingsBytes(after_) + TextBytes(rootBefore_)
               + TextBytes(rootAfter_);
    }

private:
    TreeSettings before_, after_;
    QString rootBefore_, rootAfter_;
};

// An item moved with its subtree; undo puts its nodes back at their positions.
class MoveEdit final : public EditStep {
public:
    MoveEdit(const QString& name, const TreeNode* node, const TreeNode* parent, int row)
        : EditStep(name), positionBefore_(node->Position()), toParentBefore_(parent->Position()), toRow_(row)
    {
    }

    void Redo(TreeDocument& document) override
    {
        TreeNode* node = document.Node(positionBefore_);
        TreeNode* parent = document.Node(toParentBefore_);
        if (!node || !parent || node->IsRoot())
            return;
        TreeNode* from = node->Parent();
        fromRow_ = node->Row();
        oldPositions_ = from == parent ? std::vector<int>{} : document.SubtreePositions(node);
        if (!document.MoveItem(node, parent, toRow_))
            return;
        positionAfter_ = node->Position();
        fromParentAfter_ = from->Position();
        document.Select(node);
    }

    void Undo(TreeDocument& document) override
    {
        TreeNode* node = document.Node(positionAfter_);
        TreeNode* from = document.Node(fromParentAfter_);
        if (!node || !from)
            return;
        document.MoveItem(node, from, fromRow_, oldPositions_);
        document.Select(node);
    }

    std::size_t Cost() const override { return sizeof(*this) + oldPositions_.capacity() * sizeof(int); }

private:
    int positionBefore_, toParentBefore_, toRow_;
    int positionAfter_ = 0, fromParentAfter_ = 0, fromRow_ = 0;
    std::vector<int> oldPositions_; // the subtree's positions before a change of parent, in pre-order
};

class ReplaceTree final : public EditStep {
public:
    ReplaceTree(const QString& name, std::unique_ptr<TreeDocument::Content> other)
        : EditStep(name), other_(std::move(other)), newTree_(name == kNewTreeStep)
    {
        cost_ = sizeof(*this) + sizeof(TreeDocument::Content) + SettingsBytes(other_->Settings)
                + TextBytes(other_->RootStatement);
        for (const ItemRecord& r : other_->Records)
            cost_ += RecordBytes(r);
        for (const TreeNode* node : other_->Nodes)
            cost_ += sizeof(TreeNode) + sizeof(TreeNode*) + TextBytes(node->Text())
                     + node->Children().capacity() * sizeof(TreeNode*);
    }
    void Undo(TreeDocument& document) override { document.SwapContent(other_); }
    void Redo(TreeDocument& document) override { document.SwapContent(other_); }
    std::size_t Cost() const override { return cost_; }
    bool MakesNewTree() const override { return newTree_; }

private:
    std::unique_ptr<TreeDocument::Content> other_;
    bool newTree_;
    std::size_t cost_ = 0;
};

} // namespace

std::unique_ptr<EditStep> InsertItemsStep(const QString& name, Subtree items)
{
    if (items.Items.empty())
        return nullptr;
    return std::make_unique<ItemsEdit>(name, std::move(items), true);
}

std::unique_ptr<EditStep> RemoveItemStep(const QString& name, const TreeDocument& document, const TreeNode* top)
{
    Subtree items = document.CaptureSubtree(top);
    if (items.Items.empty())
        return nullptr;
    return std::make_unique<ItemsEdit>(name, std::move(items), false);
}

std::unique_ptr<EditStep> RecordStep(const QString& name, const TreeDocument& document, const TreeNode* node,
                                     ItemRecord after)
{
    if (!node || node->IsRoot())
        return nullptr;
    return std::make_unique<RecordEdit>(name, document, node, std::move(after));
}

std::unique_ptr<EditStep> SettingsStep(const QString& name, const TreeDocument& document, TreeSettings after,
                                       QString rootStatementAfter)
{
    return std::make_unique<SettingsEdit>(name, document, std::move(after), std::move(rootStatementAfter));
}

std::unique_ptr<EditStep> MoveItemStep(const QString& name, const TreeNode* node, const TreeNode* parent, int row)
{
    if (!node || node->IsRoot() || !parent || parent->IsInside(node))
        return nullptr;
    const bool sameParent = parent == node->Parent();
    if (row < 0 || row > parent->ChildCount() - (sameParent ? 1 : 0) || (sameParent && row == node->Row()))
        return nullptr;
    return std::make_unique<MoveEdit>(name, node, parent, row);
}

std::unique_ptr<EditStep> ReplaceTreeStep(const QString& name, std::unique_ptr<TreeDocument::Content> replaced)
{
    return std::make_unique<ReplaceTree>(name, std::move(replaced));
}

} // namespace vi

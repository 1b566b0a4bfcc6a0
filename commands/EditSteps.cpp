#include "commands/EditSteps.h"

#include "script/ItemStatement.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <utility>

namespace vi {

namespace {

std::size_t TextBytes(const QString& text) { return static_cast<std::size_t>(text.capacity()) * sizeof(QChar); }
std::size_t TextBytes(const QByteArray& text) { return static_cast<std::size_t>(text.capacity()); }

// What a record keeps alive: its own size and its texts, counted as if no
// other record shared them.
std::size_t RecordBytes(const ItemRecord& r)
{
    return sizeof(ItemRecord) + TextBytes(r.ScriptLine) + TextBytes(r.ItemType) + TextBytes(r.FriendlyName)
           + TextBytes(r.BNonExpanded) + TextBytes(r.BExpanded) + TextBytes(r.MouseOutPic) + TextBytes(r.MouseOverPic)
           + TextBytes(r.ItemText) + TextBytes(r.FontSize) + TextBytes(r.FontColor) + TextBytes(r.LinkHref)
           + TextBytes(r.LinkTarget) + TextBytes(r.LinkDescription);
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

// The Tags of the items in the subtrees under the given tops.
std::vector<int> SubtreeTags(const std::vector<const TreeNode*>& tops)
{
    std::vector<int> tags;
    std::vector<const TreeNode*> stack;
    for (const TreeNode* top : tops)
        if (top && !top->IsRoot())
            stack.push_back(top);
    while (!stack.empty()) {
        const TreeNode* node = stack.back();
        stack.pop_back();
        tags.push_back(node->Tag());
        stack.insert(stack.end(), node->Children().begin(), node->Children().end());
    }
    return tags;
}

// Visits the items with the given Tags in one walk, with their place in it;
// the walk ends after the last of them.
void WalkTags(TreeDocument& document, const std::vector<int>& tags,
              const std::function<void(int, ItemRecord&, const QString&, int)>& visit)
{
    std::vector<bool> wanted(static_cast<std::size_t>(document.UpperBound()) + 1, false);
    std::size_t left = 0;
    for (int tag : tags)
        if (document.HasRecord(tag) && !wanted[static_cast<std::size_t>(tag)]) {
            wanted[static_cast<std::size_t>(tag)] = true;
            ++left;
        }
    if (left == 0)
        return;
    WalkItems(document, [&](TreeNode* node, const QString& path, int parentRow) {
        const auto tag = static_cast<std::size_t>(node->Tag());
        if (tag < wanted.size() && wanted[tag]) {
            visit(node->Tag(), document.Record(node->Tag()), path, parentRow);
            --left;
        }
        return left > 0;
    });
}

// Rebuilds the statements of the items with the given Tags, in one walk.
void RebuildStatements(TreeDocument& document, const std::vector<int>& tags)
{
    WalkTags(document, tags, [&](int, ItemRecord& record, const QString& path, int parentRow) {
        record.ScriptLine = ItemStatementBytes(record, document.Settings(), path, parentRow);
    });
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
        TreeNode* top = document.InsertItems(items_);
        if (!top)
            return;
        if (inserts_)
            RebuildStatements(document, SubtreeTags({top}));
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

// An item moved with its subtree. The statements of the items whose place
// changed are rebuilt; those that were out of date before come back on undo.
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
        const std::vector<int> moved = Moved(node, parent, toRow_);
        if (first_) {
            first_ = false;
            const TreeSettings& settings = document.Settings();
            WalkTags(document, moved, [&](int tag, ItemRecord& record, const QString& path, int parentRow) {
                if (record.ScriptLine != ItemStatementBytes(record, settings, path, parentRow))
                    stale_.emplace_back(tag, record.ScriptLine);
            });
        }
        if (!document.MoveItem(node, parent, toRow_))
            return;
        positionAfter_ = node->Position();
        fromParentAfter_ = from->Position();
        RebuildStatements(document, moved);
        document.Select(node);
    }

    void Undo(TreeDocument& document) override
    {
        TreeNode* node = document.Node(positionAfter_);
        TreeNode* from = document.Node(fromParentAfter_);
        if (!node || !from)
            return;
        const std::vector<int> moved = Moved(node, from, fromRow_);
        document.MoveItem(node, from, fromRow_, oldPositions_);
        RebuildStatements(document, moved);
        for (const auto& [tag, line] : stale_)
            if (document.HasRecord(tag))
                document.Record(tag).ScriptLine = line;
        document.Select(node);
    }

    std::size_t Cost() const override
    {
        std::size_t bytes = sizeof(*this) + oldPositions_.capacity() * sizeof(int);
        for (const auto& entry : stale_)
            bytes += sizeof(entry) + TextBytes(entry.second);
        return bytes;
    }

private:
    // The items whose place a move of node under parent changes: its subtree,
    // and within one parent the siblings it passes.
    static std::vector<int> Moved(const TreeNode* node, const TreeNode* parent, int row)
    {
        std::vector<const TreeNode*> tops{node};
        if (parent == node->Parent()) {
            const int lo = std::min(node->Row(), row), hi = std::max(node->Row(), row);
            for (int r = lo; r <= hi && r < parent->ChildCount(); ++r)
                if (parent->Child(r) != node)
                    tops.push_back(parent->Child(r));
        }
        return SubtreeTags(tops);
    }

    int positionBefore_, toParentBefore_, toRow_;
    int positionAfter_ = 0, fromParentAfter_ = 0, fromRow_ = 0;
    std::vector<int> oldPositions_; // the subtree's positions before a change of parent, in pre-order
    bool first_ = true;
    std::vector<std::pair<int, QByteArray>> stale_;
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

#include "commands/EditHistory.h"

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

std::size_t SubtreeBytes(const Subtree& subtree)
{
    std::size_t bytes = sizeof(Subtree);
    for (const Subtree::Item& item : subtree.Items)
        bytes += sizeof(Subtree::Item) + TextBytes(item.Text) + RecordBytes(item.Record) - sizeof(ItemRecord);
    return bytes;
}

class RecordEdit final : public EditStep {
public:
    RecordEdit(const QString& name, const TreeDocument& document, const TreeNode* node, const ItemRecord& before,
               const QString& textBefore)
        : EditStep(name), position_(node->Position()), before_(before), after_(document.RecordOf(node)),
          textBefore_(textBefore), textAfter_(node->Text())
    {
    }
    void Undo(TreeDocument& document) override { Apply(document, before_, textBefore_); }
    void Redo(TreeDocument& document) override { Apply(document, after_, textAfter_); }
    std::size_t Cost() const override { return sizeof(*this) + RecordBytes(before_) + TextBytes(textBefore_); }

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
    QString textBefore_, textAfter_;
};

class SettingsEdit final : public EditStep {
public:
    SettingsEdit(const QString& name, const TreeDocument& document, const TreeSettings& before,
                 const QString& rootBefore)
        : EditStep(name), before_(before), after_(document.Settings()), rootBefore_(rootBefore),
          rootAfter_(document.RootStatement())
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
    std::size_t Cost() const override { return sizeof(*this) + 2 * TextBytes(rootBefore_); }

private:
    TreeSettings before_, after_;
    QString rootBefore_, rootAfter_;
};

// Inserting and removing a subtree are each other's undo.
class SubtreeEdit final : public EditStep {
public:
    SubtreeEdit(const QString& name, Subtree subtree, bool inserted)
        : EditStep(name), subtree_(std::move(subtree)), inserted_(inserted)
    {
    }
    void Undo(TreeDocument& document) override { inserted_ ? Remove(document) : Insert(document); }
    void Redo(TreeDocument& document) override { inserted_ ? Insert(document) : Remove(document); }
    std::size_t Cost() const override { return sizeof(*this) + SubtreeBytes(subtree_); }

private:
    void Insert(TreeDocument& document) const
    {
        if (TreeNode* top = document.InsertSubtree(subtree_))
            document.Select(top);
    }
    void Remove(TreeDocument& document) const
    {
        TreeNode* top = document.Node(subtree_.Items.front().Position);
        if (!top)
            return;
        TreeNode* parent = top->Parent();
        document.RemoveSubtree(top);
        if (!document.SelectedNode())
            document.Select(parent);
    }

    Subtree subtree_;
    bool inserted_;
};

// A whole tree swapped out by New Tree or a load; undo and redo swap it back.
class ReplaceTree final : public EditStep {
public:
    ReplaceTree(const QString& name, std::unique_ptr<TreeDocument::Content> other)
        : EditStep(name), other_(std::move(other)), newTree_(name == kNewTreeStep)
    {
        cost_ = sizeof(*this) + sizeof(TreeDocument::Content) + TextBytes(other_->RootStatement);
        for (const ItemRecord& r : other_->Records)
            cost_ += RecordBytes(r) + sizeof(TreeNode) + sizeof(TreeNode*);
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

// The Tags of the items in the subtrees under the given tops.
std::vector<int> SubtreeTags(std::initializer_list<const TreeNode*> tops)
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

// A node moved with its subtree; the statements of the items that moved (the
// node's, and a neighbour's that traded places with it) are rebuilt.
class MoveEdit final : public EditStep {
public:
    using EditStep::EditStep;

    void Undo(TreeDocument& document) override
    {
        TreeNode* node = document.Node(positionAfter_);
        if (!node)
            return;
        document.MoveNode(node, document.Node(fromParentAfter_), fromRow_);
        if (!oldPositions_.empty())
            document.SetSubtreePositions(node, oldPositions_);
        RebuildStatements(document, SubtreeTags({node, document.Node(neighbour_)}));
        // Statements that were out of date before the move come back as they were.
        for (const auto& [tag, line] : stale_)
            if (document.HasRecord(tag))
                document.Record(tag).ScriptLine = line;
        document.Select(node);
    }

    void Redo(TreeDocument& document) override
    {
        TreeNode* node = document.Node(positionBefore_);
        if (!node)
            return;
        document.MoveNode(node, document.Node(toParentBefore_), toRow_);
        RebuildStatements(document, SubtreeTags({node, document.Node(neighbour_)}));
        document.Select(node);
    }

    std::size_t Cost() const override
    {
        std::size_t bytes = sizeof(*this) + oldPositions_.capacity() * sizeof(int);
        for (const auto& entry : stale_)
            bytes += sizeof(entry) + TextBytes(entry.second);
        return bytes;
    }

    int positionBefore_ = 0, positionAfter_ = 0;
    int toParentBefore_ = 0, fromParentAfter_ = 0;
    int fromRow_ = 0, toRow_ = 0;
    int neighbour_ = 0;             // position of a sibling that traded places, which a move keeps
    std::vector<int> oldPositions_; // the subtree's positions before a change of parent, in pre-order
    std::vector<std::pair<int, QByteArray>> stale_;
};

} // namespace

EditHistory::EditHistory(TreeDocument& document) : document_(document), clean_(document.TreeChanged() ? -1 : 0)
{
    document_.SetReplacedTreeHandler([this](std::unique_ptr<TreeDocument::Content> replaced) {
        // A tree is replaced by New Tree, which names its step, or by a load.
        const QString name = replaceName_.isEmpty() ? kLoadTreeStep : replaceName_;
        replaceName_.clear();
        if (replaced->Nodes.size() > 1 || !(replaced->Settings == TreeSettings{})) {
            Push(std::make_unique<ReplaceTree>(name, std::move(replaced)));
            return;
        }
        // An empty tree with the defaults (the one at start-up) is not worth
        // bringing back; the steps that led to it belong to a tree now gone.
        steps_.clear();
        index_ = 0;
        cost_ = 0;
        clean_ = -1;
    });
}

EditHistory::~EditHistory() { document_.SetReplacedTreeHandler({}); }

QString EditHistory::UndoName() const { return CanUndo() ? steps_[index_ - 1]->Name() : QString(); }

QString EditHistory::RedoName() const { return CanRedo() ? steps_[index_]->Name() : QString(); }

// The document's flag tells when the present state was loaded or exported.
// A new tree is unchanged too, but it is no export: the clean state stays.
void EditHistory::NoteCleanState()
{
    if (!document_.TreeChanged() && !InNewTree())
        clean_ = static_cast<std::ptrdiff_t>(index_);
}

void EditHistory::FollowCleanState()
{
    document_.SetTreeChanged(clean_ != static_cast<std::ptrdiff_t>(index_) && !InNewTree());
}

void EditHistory::Undo()
{
    if (!CanUndo())
        return;
    NoteCleanState();
    steps_[--index_]->Undo(document_);
    FollowCleanState();
}

void EditHistory::Redo()
{
    if (!CanRedo())
        return;
    NoteCleanState();
    steps_[index_++]->Redo(document_);
    FollowCleanState();
}

void EditHistory::Push(std::unique_ptr<EditStep> step)
{
    if (!step)
        return;
    NoteCleanState();
    if (clean_ > static_cast<std::ptrdiff_t>(index_))
        clean_ = -1; // the clean state was among the steps undone: it cannot come back
    while (steps_.size() > index_) {
        cost_ -= steps_.back()->Cost();
        steps_.pop_back();
    }
    cost_ += step->Cost();
    steps_.push_back(std::move(step));
    ++index_;
    FollowCleanState();
    Trim();
}

void EditHistory::SetMemoryLimit(std::size_t bytes)
{
    limit_ = bytes;
    Trim();
}

void EditHistory::Trim()
{
    // The newest step always stays, however large.
    while (cost_ > limit_ && index_ > 1) {
        cost_ -= steps_.front()->Cost();
        steps_.pop_front();
        --index_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
}

std::unique_ptr<EditStep> RecordStep(const QString& name, const TreeDocument& document, const TreeNode* node,
                                     const ItemRecord& before, const QString& textBefore)
{
    return std::make_unique<RecordEdit>(name, document, node, before, textBefore);
}

std::unique_ptr<EditStep> SettingsStep(const QString& name, const TreeDocument& document, const TreeSettings& before,
                                       const QString& rootStatementBefore)
{
    return std::make_unique<SettingsEdit>(name, document, before, rootStatementBefore);
}

std::unique_ptr<EditStep> InsertStep(const QString& name, const TreeDocument& document, const TreeNode* top)
{
    return std::make_unique<SubtreeEdit>(name, document.CaptureSubtree(top), true);
}

std::unique_ptr<EditStep> RemoveStep(const QString& name, Subtree removed)
{
    return std::make_unique<SubtreeEdit>(name, std::move(removed), false);
}

std::unique_ptr<EditStep> MoveWithStatements(const QString& name, TreeDocument& document, TreeNode* node,
                                             TreeNode* parent, int row, TreeNode* neighbour)
{
    if (!node || node->IsRoot() || !parent || parent->IsInside(node))
        return nullptr;
    TreeNode* oldParent = node->Parent();
    const bool sameParent = parent == oldParent;
    if (row < 0 || row > parent->ChildCount() - (sameParent ? 1 : 0) || (sameParent && row == node->Row()))
        return nullptr;
    if (neighbour && neighbour->Parent() != oldParent)
        neighbour = nullptr;

    auto step = std::make_unique<MoveEdit>(name);
    step->positionBefore_ = node->Position();
    step->toParentBefore_ = parent->Position();
    step->fromRow_ = node->Row();
    step->toRow_ = row;
    step->neighbour_ = neighbour && sameParent ? neighbour->Position() : 0;
    if (!sameParent)
        step->oldPositions_ = document.SubtreePositions(node);

    // A statement that was already out of date where the item stood is kept
    // for undo; the others are rebuilt there.
    const std::vector<int> moved = SubtreeTags({node, step->neighbour_ ? neighbour : nullptr});
    const TreeSettings& settings = document.Settings();
    WalkTags(document, moved, [&](int tag, ItemRecord& record, const QString& path, int parentRow) {
        if (record.ScriptLine != ItemStatementBytes(record, settings, path, parentRow))
            step->stale_.emplace_back(tag, record.ScriptLine);
    });

    document.MoveNode(node, parent, row);
    step->positionAfter_ = node->Position();
    step->fromParentAfter_ = oldParent->Position();
    RebuildStatements(document, moved);
    return step;
}

void BuildSubtreeStatements(TreeDocument& document, const TreeNode* top)
{
    RebuildStatements(document, SubtreeTags({top}));
}

void Commit(TreeDocument& document, EditHistory* history, std::unique_ptr<EditStep> step)
{
    if (history && step)
        history->Push(std::move(step));
    else
        document.SetTreeChanged(true);
}

} // namespace vi
